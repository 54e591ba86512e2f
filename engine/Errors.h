#pragma once
// The engine's Errors collection: the details of the latest failed call, shared by the
// engine and every object made from it.

#include "engine/EngineError.h"

#include <memory>
#include <vector>

namespace dao {

struct ErrorRecord {
    int number = 0;
    QString source;
    QString description;
    QString helpFile;
    int helpContext = 0;
};

class Errors {
public:
    int Count() const { return int(m_items.size()); }
    const ErrorRecord &Item(int index) const { return m_items.at(size_t(index)); }
    void Refresh() {}
    void clear() { m_items.clear(); }
    // Records the failure as the only entry and returns it for throwing.
    const EngineError &record(const EngineError &error);

private:
    std::vector<ErrorRecord> m_items;
};

using ErrorsPtr = std::shared_ptr<Errors>;

} // namespace dao
