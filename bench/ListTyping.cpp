#include "ListTyping.h"

#include "BenchSupport.h"

#include "controls/TExDBGrid.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>

#include <algorithm>

namespace bench {

ShownList::ShownList(const QString &archive, const QString &password)
{
    database.setDatabase(archive);
    database.setDatabasePassword(password);
    database.Open();
    data.Anagrafica().open();
    page.resize(1000, 600);
    page.show();
    QCoreApplication::processEvents();
}

ShownList::~ShownList()
{
    data.Anagrafica().close();
    database.Close();
}

double keystrokeMs(ListPage &page, const QString &term, int rounds)
{
    int typed = 0;
    const double median = medianMs(
        rounds * int(term.size()),
        [&] {
            if (typed % term.size() == 0)
                page.cerca()->clear();
        },
        [&] {
            page.cerca()->setText(term.left(typed % term.size() + 1));
            page.grid_anagrafica()->viewport()->repaint();
            ++typed;
        });
    page.cerca()->clear();
    return median;
}

CountTiming countAfterKeystroke(ListPage &page, const QString &term, int rounds)
{
    // Far more turns than any count takes: a count that never lands stops the benchmark.
    constexpr int kTurnLimit = 1000000;
    TDataSet &cards = *page.grid_anagrafica()->dataSource()->dataSet();
    CountTiming timing;
    const double median = medianMs(
        rounds, [&] { page.cerca()->clear(); },
        [&] {
            page.cerca()->setText(term);
            page.grid_anagrafica()->viewport()->repaint();
            int turns = 0;
            while (cards.recordCountComing()) {
                if (++turns > kTurnLimit)
                    qFatal("the count did not arrive");
                QElapsedTimer turn;
                turn.start();
                QCoreApplication::processEvents();
                timing.longestTurnMs = std::max(timing.longestTurnMs, double(turn.nsecsElapsed()) / 1e6);
            }
            timing.count = cards.recordCount();   // known by now, or known in the keyset
        });
    page.cerca()->clear();
    timing.countMs = median;
    return timing;
}

} // namespace bench
