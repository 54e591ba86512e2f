#include "output/report/ui/dialogs/ListLayoutBuilder.h"

#include "output/report/ComponentDirectory.h"
#include "output/report/TqnReport.h"
#include "output/report/ui/dialogs/ReportSources.h"

namespace {

constexpr int kBandGap = 8;

class PageFiller {
public:
    explicit PageFiller(TqnPage &page)
        : m_page(page), m_left(int(page.marginPx(page.Paper.Left))),
          m_width(int(page.widthPx() - page.marginPx(page.Paper.Left) - page.marginPx(page.Paper.Right)))
    {
    }

    int width() const { return m_width; }

    TqnBandView &band(TqnBandType type, int height, const QString &name)
    {
        auto band = std::make_unique<TqnBandView>();
        band->BandType = type;
        band->Name = name;
        band->X = 0;
        band->Y = m_y;
        band->Width = int(m_page.widthPx());
        band->Height = height;
        m_bandY = m_y;
        m_y += height + kBandGap;
        TqnBandView &ref = *band;
        m_page.Objects.push_back(std::move(band));
        return ref;
    }

    // A text inside the band placed last, `x` and `width` from the left margin.
    TqnMemoView &text(const QString &line, int x, int width, int height, quint16 style = 0, int size = 10)
    {
        auto memo = std::make_unique<TqnMemoView>();
        memo->Name = QStringLiteral("Testo%1").arg(++m_texts);
        memo->X = m_left + x;
        memo->Y = m_bandY + 1;
        memo->Width = width;
        memo->Height = height - 2;
        memo->Memo = QStringList{line};
        memo->FontStyle = style;
        memo->FontSize = size;
        memo->Alignment = 0;   // one line each: a long value is cut, not wrapped over the next
        TqnMemoView &ref = *memo;
        m_page.Objects.push_back(std::move(memo));
        return ref;
    }

private:
    TqnPage &m_page;
    int m_left;
    int m_width;
    int m_y = 0;
    int m_bandY = 0;
    int m_texts = 0;
};

} // namespace

void buildListLayout(TqnReport &report, const ListLayoutChoice &choice)
{
    using report::dialogs::fieldReference;
    report.ResetLayout();
    TqnLayout &layout = report.layout();
    layout.TwoPass = 1;   // "di [TOTALPAGES]" needs the page count
    TqnPage &page = layout.Pages.front();
    page.Paper.Orientation = choice.landscape ? 1 : 0;
    PageFiller fill(page);

    fill.band(TqnBandType::btReportTitle, 40, QStringLiteral("Titolo"));
    fill.text(choice.title, 0, fill.width(), 40, fsBold, 14);

    const int columns = qMax(1, int(choice.fields.size()));
    const int columnWidth = fill.width() / columns;
    TqnBandView &header = fill.band(TqnBandType::btPageHeader, 22, QStringLiteral("Intestazione"));
    for (int i = 0; i < choice.fields.size(); ++i)
        fill.text(choice.fields[i], i * columnWidth, columnWidth, 22, fsBold).FrameLines = flBottom;
    (void)header;

    if (!choice.groupField.isEmpty()) {
        TqnBandView &group = fill.band(TqnBandType::btGroupHeader, 24, QStringLiteral("Gruppo"));
        group.GroupCondition = fieldReference(choice.dataSet, choice.groupField);
        fill.text(choice.groupField + QStringLiteral(": ") + fieldReference(choice.dataSet, choice.groupField), 0,
                  fill.width(), 24, fsBold);
    }

    TqnBandView &data = fill.band(TqnBandType::btMasterData, 22, QStringLiteral("Dati"));
    for (int i = 0; i < choice.fields.size(); ++i)
        fill.text(fieldReference(choice.dataSet, choice.fields[i]), i * columnWidth, columnWidth, 22);

    fill.band(TqnBandType::btPageFooter, 22, QStringLiteral("PiePagina"));
    fill.text(QStringLiteral("Pagina [PAGE#] di [TOTALPAGES]"), 0, fill.width(), 22).Alignment = taRight;

    // The data band walks the chosen dataset through a bound entry named after it.
    auto *entry = new TqnDBDataSet(layout.DataSets.holder());
    entry->ComponentText = choice.dataSet.contains(QLatin1Char('.'))
                               ? choice.dataSet
                               : report.windowName() + QLatin1Char('.') + choice.dataSet;
    entry->setDataSet(qobject_cast<TDataSet *>(ComponentDirectory::instance().find(entry->ComponentText)));
    entry->setName(data.Name + QStringLiteral("_DataSet"));
    layout.DataSets.add(entry);
    data.FormatText = entry->name();
}
