// The data grid over a large filtered table: repainting 30 visible rows after the table is
// moved to its first record (what every keystroke in the list's search box does), and Page
// Down through the cards. The grid reads only its window of record buffers, so neither
// figure may grow with the table.

#include "BenchSupport.h"

#include "../tests/db/MemoryDataSet.cpp"
#include "controls/GridColumn.h"
#include "controls/TExDBGrid.h"
#include "db/TDataSource.h"
#include "db/TField.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

namespace {

constexpr int kCards = 100000;
constexpr int kVisibleRows = 30;
constexpr int kPageDowns = 1000;

const QStringList kBands{"A", "B", "C", "D"};
const QStringList kCities{"Roma", "Milano", "Torino", "Napoli", "Bari", "Genova", "Lecce"};

std::vector<MemoryDataSet::Column> cardColumns()
{
    const auto text = [](const char *name, int size) {
        return MemoryDataSet::Column{QString::fromLatin1(name), TFieldType::ftString, size, false, QString()};
    };
    const auto typed = [](const char *name, TFieldType type) {
        return MemoryDataSet::Column{QString::fromLatin1(name), type, 0, false, QString()};
    };
    return {typed("Protocollo", TFieldType::ftInteger), text("Fascia", 10), text("Referente", 40),
            text("Capofamiglia", 50), text("Indirizzo", 60), text("Citta", 30), text("Telefono", 20),
            text("Cellulare", 20), text("Email", 40), text("Paese_di_origine", 30), text("Figli_in_patria", 20),
            typed("Scad_ISEE", TFieldType::ftDate), typed("Nucleo", TFieldType::ftMemo), text("Abitazione", 40),
            typed("Inizio", TFieldType::ftDate), typed("Necessita_alimentari", TFieldType::ftMemo),
            typed("Note", TFieldType::ftMemo), typed("Ascolto", TFieldType::ftMemo)};
}

void fillCards(MemoryDataSet &cards)
{
    for (int i = 1; i <= kCards; ++i) {
        const QString n = QString::number(i);
        const QString date = QStringLiteral("%1 0").arg(44000 + i % 900);
        cards.addRow({n, kBands[i % kBands.size()], "Referente " + n, "Famiglia Numero " + n, "Via delle Rose " + n,
                      kCities[i % kCities.size()], "06" + n, "333" + n, "famiglia" + n + "@esempio.it", "Paese " + n,
                      QString::number(i % 4), date, "Mario (Padre,Operaio) 41\rAnna (Madre,Casalinga) 39\r",
                      "Appartamento in affitto", date, "Nessuna", "Nota della scheda " + n, "Colloquio del " + n});
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    MemoryDataSet cards(cardColumns());
    fillCards(cards);
    // The card list's table is always filtered; this filter keeps three cards in four.
    cards.OnFilterRecord = [](TDataSet &ds, bool &accept) { accept = ds.field(1)->asString() != QLatin1String("D"); };
    cards.setFiltered(true);
    TDataSource source;
    source.setDataSet(&cards);

    TExDBGrid grid;
    grid.setFrameShape(QFrame::NoFrame);
    grid.setScrollBars(TScrollStyle::ssHorizontal);
    grid.setTitleButtons(true);
    grid.setReadOnly(true);
    grid.setUseRowColors(true);
    grid.setRowColor1(gridcolor::btnFace());
    grid.setDefaultRowHeight(17);
    for (const auto &column : cardColumns())
        grid.columns().add(column.name).setWidth(90);
    grid.setDataSource(&source);
    cards.open();
    grid.resize(1000, grid.titleRowHeight() + 1 + kVisibleRows * 18);
    grid.show();
    QApplication::processEvents();
    // Room for the horizontal scroll bar below the rows.
    while (grid.visibleRowCount() < kVisibleRows) {
        grid.resize(grid.width(), grid.height() + 1);
        QApplication::processEvents();
    }
    if (grid.visibleRowCount() != kVisibleRows)
        qFatal("the grid shows %d rows instead of %d", grid.visibleRowCount(), kVisibleRows);

    const double repaint = bench::medianMs(
        21, [&] { cards.moveBy(500); },
        [&] {
            cards.first();
            grid.viewport()->repaint();
        });
    bench::report("grid_refilter_repaint_ms", repaint, "ms");

    cards.first();
    grid.setFocus();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kPageDowns; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(&grid, &press);
        grid.viewport()->repaint();
    }
    const double perPress = double(timer.nsecsElapsed()) / 1e3 / kPageDowns;
    if (cards.recNo() < kPageDowns * kVisibleRows / 2)
        qFatal("Page Down did not move through the cards");
    bench::report("grid_pagedown_us", perPress, "us");
    return 0;
}
