#include "ListTyping.h"

#include "BenchSupport.h"

#include "controls/TExDBGrid.h"
#include "forms/main/ListPage.h"

#include <QLineEdit>

namespace bench {

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

} // namespace bench
