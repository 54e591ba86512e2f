#pragma once
// The definition of one field as the open dataset found it in its source.

#include "db/DbTypes.h"

#include <QString>
#include <vector>

struct TFieldDef {
    QString name;
    TFieldType dataType = TFieldType::ftUnknown;
    int size = 0;
    bool required = false;
    int fieldNo = 0;     // 1-based position in the definition list
};

class TFieldDefs {
public:
    void clear() { m_defs.clear(); }
    TFieldDef &add(const QString &name, TFieldType type, int size, bool required);
    int count() const { return int(m_defs.size()); }
    const TFieldDef &at(int index) const { return m_defs.at(size_t(index)); }
    int indexOf(const QString &name) const;   // case-insensitive; -1 when absent

private:
    std::vector<TFieldDef> m_defs;
};
