// "Stampa elenchi" through the real main window: the selection window, the list's order and
// layout, the print criteria while the preview runs, and what is left afterwards.

#include "CardPageTestSupport.h"

#include "controls/GridColumn.h"
#include "controls/GridDataLink.h"
#include "controls/TExDBGrid.h"
#include "db/TField.h"
#include "forms/main/ConfigPage.h"
#include "forms/main/ListPage.h"
#include "forms/selezione/ReferenceDateDialog.h"
#include "forms/selezione/Tfrm_stampa.h"
#include "platform/ScrollLock.h"
#include "session/PrintedListRun.h"
#include "session/ProcessValues.h"
#include "tests/support/SuppliedLayouts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QScrollBar>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

namespace {

using cardtest::household;

// What the preview or the designer found while it was open.
struct Seen {
    int calls = 0;
    bool printMode = false;
    QStringList sortedBy;
    QStringList protocols;   // the cards on the prepared pages, in order
    QString layoutFile;
};

class PrintListTest : public cardtest::WindowTest {
protected:
    void SetUp() override
    {
        const auto card = [](const char *protocollo, const char *head, const char *band, const char *country) {
            cli::Household h = household(QString::fromLatin1(protocollo), QString::fromUtf8(head));
            h.fascia = QString::fromLatin1(band);
            h.paeseDiOrigine = QString::fromUtf8(country);
            return h;
        };
        cardtest::createArchive(archive(), {card("P1", "ROSSI MARIO", "B", "Marocco"), card("P2", "Bianchi Anna", "A", "Perù"),
                                            card("P3", "Verdi Luca", "B", "marocco"), card("P4", "Azzurri Nina", "C", "Marocco"),
                                            card("P5", "Neri Paolo", "B", "Tunisia")});
        ASSERT_TRUE(testsupport::copySuppliedLayouts(m_folder.folder()));
        TqnReport::previewHook() = [this](TqnReport &report) { look(report, m_preview); };
        TqnReport::designerHook() = [this](TqnReport &report) {
            look(report, m_designer);
            if (m_inDesigner)
                m_inDesigner(report);
        };
    }
    void TearDown() override
    {
        TqnReport::previewHook() = nullptr;
        TqnReport::designerHook() = nullptr;
        platform::scrollLockOverride() = nullptr;
    }

    void look(TqnReport &report, Seen &seen)
    {
        ++seen.calls;
        seen.printMode = ProcessValues::printFilterMode();
        seen.sortedBy = m_window->data().Anagrafica().SortedBy();
        seen.layoutFile = report.layout().FileName;
        seen.protocols.clear();
        static const QRegularExpression protocol(QStringLiteral("^P\\d$"));
        for (const PreparedPage &page : report.preparedPages())
            for (const DrawRecord &r : page.Records)
                if (r.kind == DrawRecord::Text && protocol.match(r.text).hasMatch())
                    seen.protocols << r.text;
    }

    void startWindow()
    {
        m_window = start();
        showActive(*m_window);
        m_window->barButton(Tfrm_main::cmdLista)->click();
    }

    Tfrm_stampa &selection() { return *m_window->printCommand().selectionWindow(); }

    // "Stampa elenchi", the selection made by `choose`, then "Stampa".
    void print(const std::function<void(Tfrm_stampa &)> &choose = {})
    {
        apptest::ModalScript script({[&](QWidget *modal) {
            auto *window = qobject_cast<Tfrm_stampa *>(modal);
            ASSERT_NE(window, nullptr);
            if (choose)
                choose(*window);
            window->bt_stampa()->click();
        }});
        m_window->barButton(Tfrm_main::cmdStampa)->click();
        EXPECT_EQ(script.handled(), 1);
    }

    void search(const QString &typed)
    {
        QLineEdit *box = m_window->listPage()->cerca();
        box->setFocus();
        apptest::typeText(box, typed);
    }

    void setCatalogue(const char *field, const QString &value)
    {
        cardtest::ArchiveAccess(archive()).set(QStringLiteral("Stampe"), QStringLiteral("[ID] = 1"),
                                               QString::fromLatin1(field), dao::Value(value));
    }

    std::unique_ptr<Tfrm_main> m_window;
    Seen m_preview, m_designer;
    std::function<void(TqnReport &)> m_inDesigner;
};

TEST_F(PrintListTest, SelectionWindowAsLaidOutAndEnterPrintsEscCancels)
{
    startWindow();
    Tfrm_stampa &window = selection();
    EXPECT_EQ(window.objectName(), QStringLiteral("frm_stampa"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Selezione"));
    EXPECT_EQ(window.size(), QSize(268, 273));
    EXPECT_EQ(window.sel_fascia()->maxVisibleItems(), 8);
    EXPECT_EQ(window.cerca()->text(), QStringLiteral("utilizza anche l'attuale filtro di ricerca"));
    EXPECT_TRUE(window.bt_stampa()->isDefault());

    apptest::ModalScript script({
        [](QWidget *modal) {
            auto &w = *qobject_cast<Tfrm_stampa *>(modal);
            QStringList bands;
            for (int i = 0; i < w.sel_fascia()->count(); ++i)
                bands << w.sel_fascia()->itemText(i);
            EXPECT_EQ(bands, (QStringList{"Tutti", "A", "B", "C", "D"}));
            EXPECT_EQ(w.sel_fascia()->currentText(), QStringLiteral("Tutti"));
            w.grid_stampe()->setFocus();
            apptest::pressKey(w.grid_stampe(), Qt::Key_Escape);
        },
        [](QWidget *modal) { apptest::pressKey(modal->focusWidget(), Qt::Key_Return); },
    });
    m_window->barButton(Tfrm_main::cmdStampa)->click();
    EXPECT_EQ(m_preview.calls, 0);
    m_window->barButton(Tfrm_main::cmdStampa)->click();
    EXPECT_EQ(script.handled(), 2);
    // The catalogue's first list, the first time.
    EXPECT_EQ(m_preview.layoutFile, QStringLiteral("elenco_capofamiglia.qnf"));
    EXPECT_EQ(m_preview.protocols, (QStringList{"P4", "P2", "P5", "P1", "P3"}));
}

TEST_F(PrintListTest, BandBPrintsItsCardsInTheListsOrderAndTheChoicesStay)
{
    startWindow();
    print([](Tfrm_stampa &w) { w.sel_fascia()->setCurrentText(QStringLiteral("B")); });
    EXPECT_EQ(m_preview.calls, 1);
    EXPECT_TRUE(m_preview.printMode);
    EXPECT_EQ(m_preview.sortedBy, QStringList{"Capofamiglia"});
    EXPECT_EQ(m_preview.protocols, (QStringList{"P5", "P1", "P3"}));
    EXPECT_FALSE(ProcessValues::printFilterMode());
    // Never sorted before: the list page keeps the list's order, all cards back, on screen too.
    EXPECT_EQ(m_window->data().Anagrafica().SortedBy(), QStringList{"Capofamiglia"});
    EXPECT_EQ(m_window->listPage()->grid_anagrafica()->dataLink().recordCount(), 5);
    EXPECT_EQ(cardtest::visibleValues(m_window->data().Anagrafica(), QStringLiteral("Protocollo")),
              (QStringList{"P4", "P2", "P5", "P1", "P3"}));

    print([](Tfrm_stampa &w) { EXPECT_EQ(w.sel_fascia()->currentText(), QStringLiteral("B")); });
    EXPECT_EQ(m_preview.protocols, (QStringList{"P5", "P1", "P3"}));
}

TEST_F(PrintListTest, CountryComparesExactlyAndTuttiWithNoCountryCoversEveryCard)
{
    startWindow();
    print([](Tfrm_stampa &w) { w.sel_paese()->setText(QStringLiteral("Marocco")); });
    EXPECT_EQ(m_preview.protocols, (QStringList{"P4", "P1"}));
    print([](Tfrm_stampa &w) { w.sel_paese()->setText(QStringLiteral("MAROCCO")); });
    EXPECT_EQ(m_preview.protocols, QStringList());
    print([](Tfrm_stampa &w) { w.sel_paese()->setText(QStringLiteral("Maro")); });
    EXPECT_EQ(m_preview.protocols, QStringList());
    print([](Tfrm_stampa &w) {
        w.sel_paese()->clear();
        w.sel_fascia()->setCurrentText(QStringLiteral("Tutti"));
    });
    EXPECT_EQ(m_preview.protocols, (QStringList{"P4", "P2", "P5", "P1", "P3"}));
}

TEST_F(PrintListTest, SearchCountsOnlyWithATextAndTheBoxChecked)
{
    startWindow();
    print([](Tfrm_stampa &w) {
        EXPECT_FALSE(w.cerca()->isEnabled());
        w.cerca()->setChecked(true);   // checked but disabled: no effect
    });
    EXPECT_EQ(m_preview.protocols.size(), 5);

    search(QStringLiteral("ROSSI"));
    print([](Tfrm_stampa &w) {
        EXPECT_TRUE(w.cerca()->isEnabled());
        EXPECT_TRUE(w.cerca()->isChecked());
    });
    EXPECT_EQ(m_preview.protocols, QStringList{"P1"});
    // Back on the list page the search applies again, in the list's order.
    EXPECT_EQ(cardtest::visibleValues(m_window->data().Anagrafica(), QStringLiteral("Protocollo")), QStringList{"P1"});

    print([](Tfrm_stampa &w) { w.cerca()->setChecked(false); });
    EXPECT_EQ(m_preview.protocols.size(), 5);
}

TEST_F(PrintListTest, SortItemsFromCommasAndTheSavedSortComesBackWithItsBlanks)
{
    setCatalogue("Ordine", QStringLiteral("Fascia,\"[Capofamiglia] DESC\""));
    startWindow();
    TArcTable &cards = m_window->data().Anagrafica();
    cards.SortedByList() = QStringList{QStringLiteral("[Protocollo] DESC")};
    cards.ReopenRecordset();

    print();
    EXPECT_EQ(m_preview.sortedBy, (QStringList{"Fascia", "[Capofamiglia] DESC"}));
    EXPECT_EQ(m_preview.protocols, (QStringList{"P2", "P3", "P1", "P5", "P4"}));
    EXPECT_EQ(cards.SortedBy(), QStringList{"[Protocollo] DESC"});
    EXPECT_EQ(cardtest::visibleValues(cards, QStringLiteral("Protocollo")), (QStringList{"P5", "P4", "P3", "P2", "P1"}));
}

TEST(PrintedListOrder, SplitsAtCommasAndAtBlanksOutsideQuotes)
{
    EXPECT_EQ(printedListOrder(QStringLiteral("Fascia,Capofamiglia")), (QStringList{"Fascia", "Capofamiglia"}));
    EXPECT_EQ(printedListOrder(QStringLiteral("[Scad_ISEE] DESC")), (QStringList{"[Scad_ISEE]", "DESC"}));
    EXPECT_EQ(printedListOrder(QStringLiteral("\"[Scad_ISEE] DESC\", Capofamiglia")),
              (QStringList{"[Scad_ISEE] DESC", "Capofamiglia"}));
    EXPECT_EQ(printedListOrder(QString()), QStringList());
}

TEST_F(PrintListTest, MissingLayoutLeavesModeOffTheListsOrderAndThePreviousLayout)
{
    startWindow();
    print();
    ASSERT_EQ(m_window->qnReport1().layout().FileName, QStringLiteral("elenco_capofamiglia.qnf"));
    TArcTable &cards = m_window->data().Anagrafica();
    cards.SortedByList() = QStringList{QStringLiteral("Protocollo")};
    cards.ReopenRecordset();

    QFile::remove(file("stampe/elenco_capofamiglia.qnf"));
    print();
    EXPECT_EQ(m_preview.calls, 1);
    ASSERT_EQ(m_messages.errors().size(), 1);
    EXPECT_TRUE(m_messages.errors().front().contains(QStringLiteral("Ma il file")));
    EXPECT_FALSE(ProcessValues::printFilterMode());
    EXPECT_EQ(cards.SortedBy(), QStringList{"Capofamiglia"});
    EXPECT_FALSE(m_window->qnReport1().layout().Pages.front().Objects.empty());
    EXPECT_EQ(m_window->qnReport1().layout().FileName, QStringLiteral("elenco_capofamiglia.qnf"));
}

TEST_F(PrintListTest, AnErrorInThePreviewLeavesModeOffAndTheSortBack)
{
    startWindow();
    TArcTable &cards = m_window->data().Anagrafica();
    cards.SortedByList() = QStringList{QStringLiteral("Protocollo")};
    cards.ReopenRecordset();
    TqnReport::previewHook() = [](TqnReport &) { throw std::runtime_error("anteprima fallita"); };
    print();
    EXPECT_EQ(m_messages.errors(), QStringList{"anteprima fallita"});
    EXPECT_FALSE(ProcessValues::printFilterMode());
    EXPECT_EQ(cards.SortedBy(), QStringList{"Protocollo"});
    EXPECT_EQ(cardtest::visibleValues(cards, QStringLiteral("Protocollo")).size(), 5);
}

TEST_F(PrintListTest, ScrollLockOpensTheDesignerOnTheListWithPrintCriteria)
{
    platform::scrollLockOverride() = [] { return true; };
    startWindow();
    print([](Tfrm_stampa &w) { w.sel_fascia()->setCurrentText(QStringLiteral("A")); });
    EXPECT_EQ(m_preview.calls, 0);
    EXPECT_EQ(m_designer.calls, 1);
    EXPECT_TRUE(m_designer.printMode);
    EXPECT_EQ(m_designer.layoutFile, QStringLiteral("elenco_capofamiglia.qnf"));
    EXPECT_FALSE(ProcessValues::printFilterMode());
}

TEST_F(PrintListTest, ConfigButtonOpensTheDesignerOnTheHeldLayoutWithoutPrintCriteria)
{
    startWindow();
    m_window->configPage()->bt_tracciati()->click();
    EXPECT_EQ(m_designer.calls, 1);
    EXPECT_FALSE(m_designer.printMode);
    EXPECT_EQ(m_designer.layoutFile, QString());

    print();
    m_window->configPage()->bt_tracciati()->click();
    EXPECT_EQ(m_designer.calls, 2);
    EXPECT_FALSE(m_designer.printMode);
    EXPECT_EQ(m_designer.layoutFile, QStringLiteral("elenco_capofamiglia.qnf"));
}

// The designer saves under the bare name into the current folder; the catalogue still loads
// the layout folder's copy.
TEST_F(PrintListTest, DesignerSaveGoesToTheApplicationFolderNotTheLayoutFolder)
{
    startWindow();
    print();
    const QByteArray supplied = apptest::readAll(file("stampe/elenco_capofamiglia.qnf"));
    m_inDesigner = [](TqnReport &report) {
        report.layout().Pages.front().Objects.clear();
        report.StoreLayout(report.layout().FileName);
    };
    m_window->configPage()->bt_tracciati()->click();
    EXPECT_TRUE(QFile::exists(file("elenco_capofamiglia.qnf")));
    EXPECT_EQ(apptest::readAll(file("stampe/elenco_capofamiglia.qnf")), supplied);

    print();
    EXPECT_EQ(m_preview.protocols.size(), 5);
}

} // namespace

namespace {

TEST_F(PrintListTest, AnOrderNamingAMissingFieldGivesTheEngineErrorAndTheCardsBack)
{
    setCatalogue("Ordine", QStringLiteral("[Campo_che_non_esiste]"));
    startWindow();
    TArcTable &cards = m_window->data().Anagrafica();
    cards.SortedByList() = QStringList{QStringLiteral("Protocollo")};
    cards.ReopenRecordset();
    print();
    EXPECT_EQ(m_preview.calls, 0);
    ASSERT_EQ(m_messages.errors().size(), 1);
    EXPECT_TRUE(m_messages.errors().front().contains(QStringLiteral("Campo_che_non_esiste")))
        << m_messages.errors().front().toStdString();
    EXPECT_FALSE(ProcessValues::printFilterMode());
    EXPECT_TRUE(cards.active());
    EXPECT_EQ(cards.SortedBy(), QStringList{"Protocollo"});
    EXPECT_EQ(cardtest::visibleValues(cards, QStringLiteral("Protocollo")),
              (QStringList{"P1", "P2", "P3", "P4", "P5"}));
}

TEST_F(PrintListTest, ATracciatoOutsideTheLayoutFolderIsRefused)
{
    QFile::copy(file("stampe/elenco_capofamiglia.qnf"), file("fuori.qnf"));
    startWindow();
    int refused = 0;
    for (const QString &name : {QStringLiteral("../fuori.qnf"), QStringLiteral("sotto/elenco.qnf"),
                                QStringLiteral("..\\fuori.qnf")}) {
        setCatalogue("Tracciato", name);
        m_window->data().stampe().ReopenRecordset();
        print();
        ASSERT_EQ(m_messages.errors().size(), ++refused) << name.toStdString();
        EXPECT_TRUE(m_messages.errors().back().contains(QStringLiteral("non è il nome di un file")));
    }
    EXPECT_EQ(m_preview.calls, 0);
    EXPECT_TRUE(isLayoutFileName(QStringLiteral("elenco_fascia.qnf")));
}

} // namespace

// The statistics list asks its date in a window of the selection's look, counts the cards the
// selection accepts at that date, and remembers the date; "Annulla" there prints nothing.
TEST_F(PrintListTest, StatisticsAskTheirDateAndCountTheSelectedCards)
{
    startWindow();
    m_window->printCommand().setClock([] { return QDate(2026, 3, 1); });
    QStringList texts;
    TqnReport::previewHook() = [&](TqnReport &report) {
        ++m_preview.calls;
        for (const PreparedPage &page : report.preparedPages())
            for (const DrawRecord &r : page.Records)
                if (r.kind == DrawRecord::Text)
                    texts << r.text;
    };
    const auto chooseStatistics = [this](QWidget *modal) {
        auto *w = qobject_cast<Tfrm_stampa *>(modal);
        ASSERT_NE(w, nullptr);
        // Seven lists, six rows in view: the catalogue scrolls, so the seventh can be reached.
        auto *grid = w->findChild<TExDBGrid *>(QStringLiteral("grid_stampe"));
        ASSERT_NE(grid, nullptr);
        EXPECT_LT(grid->visibleRowCount(), m_window->data().stampe().recordCount());
        EXPECT_EQ(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        EXPECT_LE(grid->columns().at(0)->width() + grid->verticalScrollBar()->sizeHint().width(), 246);
        TDataSet &catalogue = m_window->data().stampe();
        for (catalogue.first(); catalogue.fieldByName(QStringLiteral("Nome"))->asString() != "Statistiche";)
            catalogue.next();
        w->sel_fascia()->setCurrentText(QStringLiteral("B"));
        w->bt_stampa()->click();
    };
    apptest::ModalScript script({
        chooseStatistics,
        [](QWidget *modal) {
            auto *d = qobject_cast<ReferenceDateDialog *>(modal);
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(d->windowTitle(), QStringLiteral("Selezione"));
            EXPECT_EQ(d->sel_data()->text(), QStringLiteral("01/03/2026"));
            // What is typed replaces the date shown; a date that does not exist is refused.
            apptest::typeText(d->sel_data(), QStringLiteral("31/02/2025"));
            d->bt_stampa()->click();
            EXPECT_TRUE(d->isVisible());
            EXPECT_EQ(d->lb_errore()->text(), QStringLiteral("La data \"31/02/2025\" non esiste."));
            EXPECT_FALSE(d->lb_errore()->isHidden());
            apptest::typeText(d->sel_data(), QStringLiteral("31/12/2025"));
            EXPECT_TRUE(d->lb_errore()->isHidden());
            apptest::pressKey(d->sel_data(), Qt::Key_Return);
        },
        chooseStatistics,
        [](QWidget *modal) {
            auto *d = qobject_cast<ReferenceDateDialog *>(modal);
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(d->sel_data()->text(), QStringLiteral("31/12/2025"));
            d->bt_annulla()->click();
        },
    });
    m_window->barButton(Tfrm_main::cmdStampa)->click();
    m_window->barButton(Tfrm_main::cmdStampa)->click();
    EXPECT_EQ(script.handled(), 4);
    EXPECT_EQ(m_preview.calls, 1);
    EXPECT_TRUE(texts.contains(QStringLiteral("Alla data del 31/12/2025"))) << texts.join(", ").toStdString();
    // The header says which cards were counted.
    EXPECT_TRUE(texts.contains(QStringLiteral("Fascia B"))) << texts.join(", ").toStdString();
    const qsizetype households = texts.indexOf(QStringLiteral("Nuclei familiari"));
    ASSERT_GE(households, 0);
    EXPECT_EQ(texts.value(households + 1), QStringLiteral("3"));
    EXPECT_FALSE(ProcessValues::printFilterMode());
}
