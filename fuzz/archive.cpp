// Fuzz target of opening an archive file, as one copied from a colleague's machine or a
// shared folder: the input is the file. It is opened as the program opens it (with the
// password "segreta" when it is not a plain file), every value of every table is read, the
// integrity check runs, and a plain file is also read as the companion's "verifica" reads
// it. An engine error is a fine answer; a crash, a hang or another exception is a fault.
// The seed corpus holds small archives made by the program, plain and encrypted.

#include "FuzzSupport.h"
#include "archive/CliError.h"
#include "engine/ArchiveFormat.h"
#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "tools/cli/ArchiveCheck.h"

#include <QFile>
#include <cstdint>
#include <cstdlib>

namespace {

const QString &archivePath()
{
    static const QString path = fuzz::scratchFile(QStringLiteral("tavorio.mdb"));
    return path;
}

void readEverything(const QString &password)
{
    dao::DBEngine engine;
    auto workspace = engine.CreateWorkspace(QStringLiteral("fuzz"), QStringLiteral("Admin"), {}, dao::dbUseJet);
    auto database = workspace->OpenDatabase(archivePath(), false, false, QStringLiteral(";UID=Admin;PWD=%1;").arg(password));
    for (const dao::TableDefInfo &table : database->TableDefs()) {
        auto rows = database->OpenRecordset(table.name, dao::dbOpenDynaset);
        for (rows->MoveFirst(); !rows->IsEOF(); rows->MoveNext())
            for (int i = 0; i < rows->fieldCount(); ++i)
                rows->field(i).value().asText();
        rows->Close();
    }
    database->integrityProblems();
    database->Close();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    {
        QFile file(archivePath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
            std::abort();
    }
    QFile::remove(archivePath() + QStringLiteral("-journal"));
    const bool plain = size >= 16 && QByteArray(reinterpret_cast<const char *>(data), 16) == QByteArray(dao::format::kPlainHeader, 16);
    fuzz::refusable<dao::EngineError>([&] { readEverything(plain ? QString() : QStringLiteral("segreta")); });
    if (plain)
        fuzz::refusable<cli::CliError>([] { cli::ArchiveCheck(archivePath(), QString()).run(); });
    return 0;
}
