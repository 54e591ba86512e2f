#pragma once
// The captions of the six bodies that may also assist a household (fields G1..G6 of the
// cards): the first six rows of Gruppi in the table's own order. A table of fewer than six
// rows repeats its last caption; an empty one gives six empty captions.

#include <QStringList>

class TDataSet;

// Walks `gruppi` from its current row, as the window labels its check boxes after opening
// it; the dataset is left on its first row.
QStringList bodyCaptions(TDataSet &gruppi);
