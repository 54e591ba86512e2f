#pragma once
// Lists supplied since an archive was made (the statistics, for one) reach its catalogue:
// every supplied list that no row names, by its name or by its layout file, is appended.
// A row the office renamed keeps its layout and is not doubled.

#include <QStringList>

class TDataSet;

namespace app {

// Appends the missing rows to the open catalogue `stampe` and returns their names.
QStringList addMissingLists(TDataSet &stampe);

} // namespace app
