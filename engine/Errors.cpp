#include "engine/Errors.h"

namespace dao {

const EngineError &Errors::record(const EngineError &error)
{
    m_items.clear();
    m_items.push_back({error.number(), error.source(), error.description(), QString(), 0});
    return error;
}

} // namespace dao
