#pragma once
// Where the companion finds a list layout or a document template that the archive's own
// folder lacks: among the files supplied with the installed program, as the program's
// first start would have copied them there.

#include <QString>

namespace cli {

// The layout folder for a catalogued list (with a trailing "/"): the "stampe" folder beside
// the archive (for an archive on a server, in the working folder) when it holds the layout file, else the supplied lists' folder when that
// does; the archive's one otherwise, so a missing layout is reported where it was expected.
QString layoutFolderFor(const QString &archive, const QString &layoutFile);

// A template as given when it exists; otherwise the same name in the "word" folder beside
// the archive, then among the supplied templates; as given when none exists.
QString templatePathFor(const QString &archive, const QString &templatePath);

} // namespace cli
