#pragma once
// The import of an Access archive from the program's windows: the Access file's password
// asked when it has one (it becomes the new archive's password too), the import in a
// progress window that can be cancelled, and its report at the end. The start-up's side: an
// Access file where the archive belongs is recognised and, on the user's word, replaced by
// the imported archive, the Access file kept beside it.

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace app {

// Asks for the Access file's password; nullopt when the user cancels.
using AccessPasswordPrompt = std::function<std::optional<QString>(QWidget *parent, const QString &accessFile)>;

// Imports `accessFile` into a new archive file `target`. Returns the report's text; throws
// std::runtime_error with an Italian reason (cancelled, refused, wrong password), leaving
// no `target` behind and the Access file as it was.
QString importAccessArchive(QWidget *parent, const QString &accessFile, const QString &target,
                            const AccessPasswordPrompt &prompt = {});

// The working folder's tavorio.mdb is an Access file: says so and offers the import. After a
// successful import the Access file is tavorio_access.mdb and the new archive tavorio.mdb.
// Returns the exit status when the program must end (the offer declined, the import
// failed); nullopt when the start-up goes on, also when the archive is no Access file.
std::optional<int> offerAccessImportAtStart(const AccessPasswordPrompt &prompt = {});

} // namespace app
