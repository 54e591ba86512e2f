#include "tools/layouts/LayoutKit.h"

namespace layouts {

namespace {

// A box one line of `points` fits in, with the renderer's padding; a longer text wraps and
// its second line falls outside, so a text never runs into the next column.
int lineBoxHeight(int points) { return points * 165 / 100 + 5; }

} // namespace

TqnBandView &PageKit::band(TqnBandType type, int height, const QString &source)
{
    auto band = std::make_unique<TqnBandView>();
    band->BandType = type;
    band->X = 0;
    band->Y = m_nextY;
    band->Width = kRight + kLeft;
    band->Height = height;
    band->FormatText = source;
    band->Name = QStringLiteral("Banda%1").arg(m_page.Objects.size() + 1);
    m_bandY = m_nextY;
    m_nextY += height + 8;   // the designer's gap between bands
    TqnBandView &ref = *band;
    m_page.Objects.push_back(std::move(band));
    return ref;
}

TqnMemoView &PageKit::text(int x, int y, int width, const QString &text, int points, quint16 style, quint16 align)
{
    auto memo = std::make_unique<TqnMemoView>();
    memo->X = x;
    memo->Y = m_bandY + y;
    memo->Width = width;
    memo->Height = lineBoxHeight(points);
    memo->Memo = QStringList{text};
    memo->FontSize = points;
    memo->FontStyle = style;
    memo->Alignment = align | taWordWrap;
    memo->Name = QStringLiteral("Testo%1").arg(m_page.Objects.size() + 1);
    TqnMemoView &ref = *memo;
    m_page.Objects.push_back(std::move(memo));
    return ref;
}

void PageKit::rule(int y, int x, int width)
{
    TqnMemoView &line = text(x, y, width, QString());
    line.Height = 1;
    line.FrameLines = flTop;
}

void boundSource(TqnLayout &layout, const QString &table, const QString &name)
{
    auto *entry = new TqnDBDataSet(layout.DataSets.holder());
    entry->setName(name);
    entry->ComponentText = QStringLiteral("frm_main.") + table;
    layout.DataSets.add(entry);
}

// Empty until a printed-list run states the criteria (a preview from the designer has none).
void declareCriteria(TqnLayout &layout)
{
    layout.Values.set({QStringLiteral("CRITERI"), TqnVariableKind::vkOther, {}, {}, QStringLiteral("''")});
}

void listHead(PageKit &kit, const QString &title, const ListColumns &columns)
{
    kit.band(TqnBandType::btPageHeader, 60);
    kit.text(kLeft, 0, 480, title, 14, fsBold);
    kit.text(kRight - 200, 8, 200, QStringLiteral("Stampato il [DATE]"), 8, 0, taRight);
    // Under the date, clear of the title and the column titles.
    kit.text(kRight - 300, 21, 300, QStringLiteral("[CRITERI]"), 7, fsItalic, taRight);
    for (const ListColumn &c : columns)
        kit.text(c.x, 35, c.width, c.caption, 8, fsBold);
    kit.rule(55);
}

TqnMemoView &listRow(PageKit &kit, const ListColumns &columns, int y, int points, quint16 style)
{
    TqnMemoView *first = nullptr;
    for (const ListColumn &c : columns) {
        TqnMemoView &memo = kit.text(c.x, y, c.width, c.value, points, style);
        if (!first)
            first = &memo;
    }
    return *first;
}

void listFoot(PageKit &kit)
{
    kit.band(TqnBandType::btPageFooter, 26);
    kit.rule(2);
    kit.text(kRight - 200, 6, 200, QStringLiteral("Pagina [PAGE#] di [TOTALPAGES]"), 8, 0, taRight);
}

} // namespace layouts
