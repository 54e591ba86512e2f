#pragma once
// What a layout file can hold: a name, a record source's filter and the like in at most 255
// bytes, a text line in at most 1024, a text in at most 65 535 lines. Saving refuses a
// layout that exceeds them rather than write it cut.

#include <QString>

class TqnLayout;

// Empty when the layout fits its file; otherwise the Italian message naming the first text
// that does not fit and the object (or record source, or variable) that holds it.
QString layoutOverLimits(const TqnLayout &layout);
