#include "forms/ErrorText.h"

#include "db/DatabaseError.h"
#include "engine/EngineError.h"

QString errorText(const std::exception &error)
{
    if (const auto *database = dynamic_cast<const EDatabaseError *>(&error))
        return database->message();
    if (const auto *engine = dynamic_cast<const dao::EngineError *>(&error))
        return engine->description();
    return QString::fromUtf8(error.what());
}
