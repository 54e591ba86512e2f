#pragma once
// Small pieces the supplied lists are put together from, so that each list reads as what
// it prints: texts at a place, bands of a height, the card table as a record source.
// Positions and sizes are layout pixels (96 per inch) on the page, margins included.

#include "output/report/model/TqnLayout.h"

#include <QString>
#include <vector>

namespace layouts {

// The page's printable edges for a list: A4 portrait with 10 mm margins.
constexpr int kLeft = 38;
constexpr int kRight = 756;

class PageKit {
public:
    explicit PageKit(TqnPage &page) : m_page(page) {}

    // Bands follow each other down the designer's page in the order they are added.
    TqnBandView &band(TqnBandType type, int height, const QString &source = {});
    // A text in the band added last, `y` from that band's top.
    TqnMemoView &text(int x, int y, int width, const QString &text, int points = 9, quint16 style = 0,
                      quint16 align = 0);
    // A horizontal rule at `y` in the band added last.
    void rule(int y, int x = kLeft, int width = kRight - kLeft);

private:
    TqnPage &m_page;
    int m_nextY = 0;
    int m_bandY = 0;
};

// A record source bound to "frm_main.<table>" and named `name`.
void boundSource(TqnLayout &layout, const QString &table, const QString &name);

// One column of a list: where it stands, its title and what each row prints in it.
struct ListColumn {
    int x;
    int width;
    QString caption;
    QString value;
};
using ListColumns = std::vector<ListColumn>;

// The head every list shares: title and print date, then the column titles under a rule.
// The header of a list: its title, the print date, the print criteria (the variable CRITERI,
// which the printed-list run fills; declared by declareCriteria) and the column titles.
void listHead(PageKit &kit, const QString &title, const ListColumns &columns);
void declareCriteria(TqnLayout &layout);
// One text per column in the band added last, `y` from its top; the first column's text.
TqnMemoView &listRow(PageKit &kit, const ListColumns &columns, int y = 1, int points = 9, quint16 style = 0);
// The foot "Pagina N di M".
void listFoot(PageKit &kit);

} // namespace layouts
