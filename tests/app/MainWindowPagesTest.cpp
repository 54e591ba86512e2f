// The main window's frame and its bar: page changes with the posting of pending edits, the
// card navigator on the configuration page, the manual and the banner, the layout store.

#include "AppTestSupport.h"

#include "controls/TDBNavStrip.h"
#include "controls/TMessageBox.h"
#include "db/TField.h"
#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "forms/main/GradientPanel.h"
#include "forms/main/Tfrm_main.h"
#include "tests/support/TestArchive.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDesktopServices>
#include <QSettings>
#include <QStackedWidget>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace {

// What the desktop was asked to open, per URL scheme, instead of opening it.
class OpenedUrls final : public QObject {
    Q_OBJECT
public:
    OpenedUrls()
    {
        for (const char *scheme : {"file", "http", "https"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    ~OpenedUrls() override
    {
        for (const char *scheme : {"file", "http", "https"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls << url; }
};

// Another user's change of one card, made on the archive behind the window's back.
void changeCardElsewhere(const QString &archive, qint64 card, const QString &field, const QString &value)
{
    dao::DBEngine engine;
    auto workspace = engine.CreateWorkspace(QStringLiteral("altro"), QStringLiteral("Admin"), {}, dao::dbUseJet);
    auto db = workspace->OpenDatabase(archive, false, false, QStringLiteral(";UID=Admin;PWD=;"));
    auto rs = db->OpenRecordset(QStringLiteral("Select * From [Anagrafica] Where [ID_SCHEDA] = %1;").arg(card));
    rs->Edit();
    rs->field(field).setValue(dao::Value(value));
    rs->Update();
    rs->Close();
    db->Close();
    workspace->Close();
}

class MainWindowPagesTest : public testing::Test {
protected:
    MainWindowPagesTest() = default;

    QString file(const char *name) const { return m_folder.file(QString::fromLatin1(name)); }

    std::unique_ptr<Tfrm_main> start()
    {
        testsupport::createArchive(file("tavorio.mdb"));
        auto window = std::make_unique<Tfrm_main>();
        EXPECT_FALSE(window->endRequested());
        return window;
    }

    static void click(Tfrm_main &window, int command) { window.barButton(command)->click(); }

    apptest::WorkingFolder m_folder;
    QStringList m_errors;
    apptest::ErrorBoxRecorder m_errorBox{m_errors};
    const TMessageBox::ScopedExecHook m_noBoxes{[](const TMessageBox::Request &request) {
        ADD_FAILURE() << "unexpected message " << request.text.toStdString();
        return false;
    }};
};

TEST_F(MainWindowPagesTest, FirstStartShowsTheDesignedFrameOnTheCardPage)
{
    const auto window = start();
    window->show();

    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tavorio"));
    EXPECT_EQ(window->geometry().size(), QSize(597, 643));
    EXPECT_EQ(window->font().pixelSize(), 11);
    EXPECT_EQ(window->pages()->currentWidget(), window->tb_scheda());
    EXPECT_EQ(window->pages()->count(), 3);

    EXPECT_EQ(window->topBar()->height(), 41);
    EXPECT_EQ(window->topBar()->steps(), 120);
    EXPECT_EQ(window->topBar()->bandColor(0), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(window->topBar()->bandColor(119), QColor(192, 192, 192));

    const QStringList hints{"Gestione scheda", "Lista schede", "Stampa elenchi", "Produce documento Word",
                            "Configurazione", "Manuale"};
    for (int command = 0; command < Tfrm_main::kBarCommands; ++command) {
        QAbstractButton *button = window->barButton(command);
        EXPECT_EQ(button->toolTip(), hints[command]);
        EXPECT_EQ(button->geometry(), QRect(40 * command, 0, 40, 40));
        EXPECT_EQ(button->iconSize(), QSize(24, 24));
    }
    // The banner stays at the right edge whatever the window's width.
    for (const int width : {597, 900}) {
        window->resize(width, 643);
        QApplication::processEvents();
        EXPECT_EQ(window->bannerButton()->geometry(), QRect(window->topBar()->width() - 180, 0, 180, 40));
    }

    TDBNavStrip *nav = window->nav_anagrafica();
    EXPECT_EQ(nav->dataSource(), &window->data().ds_anagrafica());
    EXPECT_EQ(nav->glyphSize(), TNavGlyphSize::gsLarge);
    EXPECT_EQ(nav->geometry().bottom(), window->centralWidget()->height() - 1);
    EXPECT_EQ(nav->width(), window->centralWidget()->width());
    EXPECT_TRUE(nav->isEnabled());
    EXPECT_TRUE(m_errors.isEmpty());
}

struct PageCase {
    const char *name;
    int command;
    bool navigatorEnabled;
};

void PrintTo(const PageCase &c, std::ostream *os) { *os << c.name; }

class MainWindowPageCommandTest : public MainWindowPagesTest, public testing::WithParamInterface<PageCase> {};

// The configuration page disables the card navigator, and only the card and list commands
// enable it again.
TEST_P(MainWindowPageCommandTest, ShowsItsPageAndSetsTheNavigator)
{
    const auto window = start();
    // The Word command's template chooser is cancelled: no document, no page change.
    window->wordCommand().setChooser([](QWidget *, const QString &) { return QString(); });
    click(*window, Tfrm_main::cmdConfig);
    ASSERT_FALSE(window->nav_anagrafica()->isEnabled());
    click(*window, Tfrm_main::cmdConfig);
    ASSERT_FALSE(window->nav_anagrafica()->isEnabled());

    // "Stampa elenchi" opens the print selection window: cancelled, nothing is printed.
    std::optional<apptest::ModalScript> cancelSelection;
    if (GetParam().command == Tfrm_main::cmdStampa)
        cancelSelection.emplace(std::deque<apptest::ModalScript::Action>{
            [](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); }});
    click(*window, GetParam().command);

    const std::map<int, QWidget *> pageOf{{Tfrm_main::cmdScheda, window->tb_scheda()},
                                          {Tfrm_main::cmdLista, window->tb_lista()},
                                          {Tfrm_main::cmdConfig, window->tb_config()}};
    const auto page = pageOf.find(GetParam().command);
    EXPECT_EQ(window->pages()->currentWidget(), page == pageOf.end() ? window->tb_config() : page->second);
    EXPECT_EQ(window->nav_anagrafica()->isEnabled(), GetParam().navigatorEnabled);
}

INSTANTIATE_TEST_SUITE_P(Commands, MainWindowPageCommandTest,
                         testing::Values(PageCase{"Scheda", Tfrm_main::cmdScheda, true},
                                         PageCase{"Lista", Tfrm_main::cmdLista, true},
                                         PageCase{"Stampa", Tfrm_main::cmdStampa, false},
                                         PageCase{"Word", Tfrm_main::cmdWord, false},
                                         PageCase{"Config", Tfrm_main::cmdConfig, false}),
                         [](const testing::TestParamInfo<PageCase> &info) { return std::string(info.param.name); });

struct PendingEdit {
    const char *dataset;
    const char *field;
    bool posted;
};

void PrintTo(const PendingEdit &e, std::ostream *os) { *os << e.dataset; }

class MainWindowPendingEditTest : public MainWindowPagesTest, public testing::WithParamInterface<PendingEdit> {};

TEST_P(MainWindowPendingEditTest, PageChangePostsOnlyTheCardAndTheLookupTables)
{
    const PendingEdit &e = GetParam();
    const auto window = start();
    TMainData &data = window->data();
    TDataSet *table = nullptr;
    for (TArcTable *candidate : {&data.Anagrafica(), &data.Nucleo(), &data.Fascia(), &data.Ruolo(),
                                 &data.Occupazione(), &data.stampe(), &data.Gruppi()}) {
        if (candidate->name() == QLatin1String(e.dataset))
            table = candidate;
    }
    ASSERT_NE(table, nullptr);
    ASSERT_FALSE(table->isEmpty());
    const QString edited = QStringLiteral("Nuovo %1").arg(QLatin1String(e.dataset)).left(10);
    table->edit();
    table->fieldByName(QString::fromLatin1(e.field))->setAsString(edited);

    click(*window, Tfrm_main::cmdLista);

    EXPECT_EQ(window->pages()->currentWidget(), window->tb_lista());
    EXPECT_EQ(table->state(), e.posted ? TDataSetState::dsBrowse : TDataSetState::dsEdit);
    EXPECT_EQ(table->fieldByName(QString::fromLatin1(e.field))->asString(), edited);
    // A posted role or occupation is offered at once in the member grid.
    EXPECT_EQ(window->listaRuolo().contains(edited), QLatin1String(e.dataset) == QLatin1String("Ruolo"));
    EXPECT_EQ(window->listaOccupazione().contains(edited), QLatin1String(e.dataset) == QLatin1String("Occupazione"));
    EXPECT_TRUE(m_errors.isEmpty());
    if (!e.posted)
        table->cancel();
}

INSTANTIATE_TEST_SUITE_P(Datasets, MainWindowPendingEditTest,
                         testing::Values(PendingEdit{"Anagrafica", "Capofamiglia", true},
                                         PendingEdit{"Fascia", "Fascia", true},
                                         PendingEdit{"Ruolo", "Ruolo", true},
                                         PendingEdit{"Occupazione", "Occupazione", true},
                                         PendingEdit{"Nucleo", "Nome", false},
                                         PendingEdit{"Gruppi", "Gruppo", false},
                                         PendingEdit{"stampe", "Nome", false}),
                         [](const testing::TestParamInfo<PendingEdit> &info) { return std::string(info.param.dataset); });

// A card another user changed meanwhile cannot be posted: the error is shown, the card stays
// in edit with what was typed, and the page does not change.
TEST_F(MainWindowPagesTest, RefusedPostKeepsThePageAndTheEdit)
{
    const auto window = start();
    TArcTable &cards = window->data().Anagrafica();
    TField *head = cards.fieldByName(QStringLiteral("Capofamiglia"));
    cards.edit();
    head->setAsString(QStringLiteral("Scritto qui"));
    changeCardElsewhere(file("tavorio.mdb"), cards.fieldByName(QStringLiteral("ID_SCHEDA"))->asInteger(),
                        QStringLiteral("Capofamiglia"), QStringLiteral("Scritto altrove"));

    click(*window, Tfrm_main::cmdLista);

    EXPECT_EQ(m_errors.size(), 1);
    EXPECT_EQ(window->pages()->currentWidget(), window->tb_scheda());
    EXPECT_EQ(cards.state(), TDataSetState::dsEdit);
    EXPECT_EQ(head->asString(), QStringLiteral("Scritto qui"));
    cards.cancel();
}

TEST_F(MainWindowPagesTest, ManualAndBannerAreHandedToTheDesktop)
{
    const auto window = start();
    OpenedUrls opened;

    click(*window, Tfrm_main::cmdManuale);
    window->bannerButton()->click();

    ASSERT_EQ(opened.urls.size(), 2);
    EXPECT_EQ(opened.urls[0], QUrl::fromLocalFile(file("manuale.pdf")));
    EXPECT_EQ(opened.urls[1], QUrl(Tfrm_main::makerAddress()));
    EXPECT_TRUE(m_errors.isEmpty());
}

QVariant iniValue(const QString &path, const char *key)
{
    QSettings ini(path, QSettings::IniFormat);
    return ini.value(QStringLiteral("Tfrm_main/") + QLatin1String(key));
}

TEST_F(MainWindowPagesTest, LayoutIsRestoredAtStartAndSavedOnClose)
{
    apptest::writeFile(file("tavorio.ini"), "[Tfrm_main]\r\nNormPos=100,120,700,620\r\n");
    const auto window = start();
    EXPECT_EQ(window->size(), QSize(600, 500));

    window->show();
    window->resize(640, 480);
    window->close();

    EXPECT_EQ(iniValue(file("tavorio.ini"), "Visible").toString(), QStringLiteral("0"));
    // left, top, right, bottom of the window as it was closed.
    const QStringList normPos = iniValue(file("tavorio.ini"), "NormPos").toStringList();
    ASSERT_EQ(normPos.size(), 4);
    EXPECT_EQ(normPos[2].toInt() - normPos[0].toInt(), 640);
    EXPECT_EQ(normPos[3].toInt() - normPos[1].toInt(), 480);
    EXPECT_TRUE(m_errors.isEmpty());
}

// Ending the program during start-up closes nothing: the window's destruction saves.
TEST_F(MainWindowPagesTest, DestructionWithoutCloseSavesTheLayout)
{
    start().reset();
    EXPECT_EQ(iniValue(file("tavorio.ini"), "Visible").toString(), QStringLiteral("1"));
    EXPECT_TRUE(m_errors.isEmpty());
}

} // namespace

#include "MainWindowPagesTest.moc"
