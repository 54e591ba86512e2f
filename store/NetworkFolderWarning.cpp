#include "store/NetworkFolderWarning.h"

#include "platform/FileOps.h"
#include "platform/NetworkFileSystem.h"

namespace store {

std::optional<QString> networkFolderWarning(const QString &archivePath)
{
    // Only a file that is there: a server's address is no path.
    if (!platform::fileExists(archivePath))
        return std::nullopt;
    const std::optional<QString> fileSystem = platform::networkFileSystemOf(archivePath);
    if (!fileSystem)
        return std::nullopt;
    return QStringLiteral("L'archivio si trova in una cartella di rete (%1). Se più postazioni lo modificano "
                          "insieme attraverso la rete, l'archivio può danneggiarsi. Per lavorare da più "
                          "postazioni usate un server PostgreSQL: vedete il capitolo \"Più postazioni: "
                          "l'archivio su un server\" del manuale. L'archivio viene aperto comunque.")
        .arg(*fileSystem);
}

} // namespace store
