#pragma once
// A macro-enabled Word package (.docm, .dotm) turned into an ordinary one: the macro project
// and the parts that only macros use are dropped with every relationship and content-type
// entry naming them, and the main part becomes a plain document's. Word refuses a .docx
// that still declares macros, so a document made from such a template must not keep them.

#include "output/word/ZipPackage.h"

namespace word {

// True when the package declared macros (and was changed). Throws AutomationError when an
// XML part it must rewrite cannot be read.
bool makeMacroFree(ZipPackage &package);

} // namespace word
