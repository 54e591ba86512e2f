#pragma once
// A search term typed into the card list letter by letter, each keystroke timed from the
// changed text to the repainted list: the median over `rounds` typings, in milliseconds.
// And the count that follows a search: from the typed term to the count known, the event
// loop turning meanwhile, with the longest single turn (what a key pressed during the count
// may wait before it is seen).

#include "forms/main/ListPage.h"
#include "session/TMainData.h"
#include "store/TArcDatabase.h"

#include <QString>

namespace bench {

// The card list as a desk shows it: the archive opened, its card table open under the list
// page, the page shown at a desk's size. Closed again when it goes.
struct ShownList {
    ShownList(const QString &archive, const QString &password);
    ~ShownList();

    TArcDatabase database;
    TMainData data{database};
    ListPage page{data};
};

double keystrokeMs(ListPage &page, const QString &term, int rounds);

struct CountTiming {
    double countMs = 0;      // median, term typed to count known
    double longestTurnMs = 0; // the longest turn of the event loop over every round
    int count = 0;
};
CountTiming countAfterKeystroke(ListPage &page, const QString &term, int rounds);

} // namespace bench
