#pragma once
// A search term typed into the card list letter by letter, each keystroke timed from the
// changed text to the repainted list: the median over `rounds` typings, in milliseconds.

#include <QString>

class ListPage;

namespace bench {

double keystrokeMs(ListPage &page, const QString &term, int rounds);

} // namespace bench
