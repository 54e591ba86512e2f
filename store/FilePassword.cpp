#include "store/FilePassword.h"

#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Workspace.h"
#include "platform/FileOps.h"

namespace store {

bool changeFilePassword(const QString &path, const QString &oldPassword, const QString &newPassword)
{
    if (!platform::fileExists(path))
        return false;
    try {
        dao::DBEngine engine;
        auto workspace = engine.CreateWorkspace(QStringLiteral("DaoWorkspace"), QStringLiteral("Admin"), QString(),
                                                dao::dbUseJet);
        auto database = workspace->OpenDatabase(path, true, false,
                                                QStringLiteral(";UID=Admin;PWD=%1;").arg(oldPassword));
        database->NewPassword(oldPassword, newPassword);
        database->Close();
        return true;
    } catch (const dao::EngineError &) {
        return false;
    }
}

} // namespace store
