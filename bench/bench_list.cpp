// The card list as the user has it, over an archive of 100 000 cards: the list page's grid
// (with its four memo columns) on the table dataset and its record filter. From a changed
// search text to the repainted list, as each key typed in the search box does, for a term
// most cards hold and for one about 1% hold; and Page Down through the list, repainted.
// Both must feel instant to a typist: well under the 50 ms a keystroke's echo may take.
// The count of a search's cards follows its first screen, counted a step per turn of the
// event loop: from the term typed to the count known, and the longest turn meanwhile (what
// a key pressed during the count may wait).

#include "BenchSupport.h"
#include "ListTyping.h"

#include "controls/TExDBGrid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <string>
#include <utility>

namespace {

constexpr int kRuns = 15;
constexpr int kPageDowns = 200;

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString archive = bench::cachedArchive(100000);

    bench::ShownList list(archive, QString());
    ListPage &page = list.page;
    TMainData &data = list.data;
    TExDBGrid *grid = page.grid_anagrafica();

    bench::report("list_keystroke_ms", bench::keystrokeMs(page, QStringLiteral("VIA"), kRuns), "ms");
    bench::report("list_keystroke_rare_ms", bench::keystrokeMs(page, QStringLiteral("HUAM"), kRuns), "ms");
    // The count each search's first screen no longer waits for, taken between keystrokes.
    for (const auto &[name, term] : {std::pair{"list_count", QStringLiteral("VIA")}, std::pair{"list_count_rare", QStringLiteral("HUAM")}}) {
        const bench::CountTiming count = bench::countAfterKeystroke(page, term, 5);
        bench::report((std::string(name) + "_ms").c_str(), count.countMs, "ms");
        bench::report((std::string(name) + "_longest_turn_ms").c_str(), count.longestTurnMs, "ms");
        std::printf("# %s: %d cards\n", qPrintable(term), count.count);
    }

    data.Anagrafica().first();
    grid->setFocus();
    const double pageDown = bench::medianMs(kPageDowns, [] {}, [&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(grid, &press);
        grid->viewport()->repaint();
    });
    if (data.Anagrafica().recNo() < kPageDowns * grid->visibleRowCount() / 2)
        qFatal("Page Down did not move through the cards");
    bench::report("list_pagedown_ms", pageDown, "ms");
    std::printf("# %d rows visible, %d memo columns\n", grid->visibleRowCount(), 4);
    return 0;
}
