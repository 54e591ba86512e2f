// The designer's file commands and its save question, as the user meets them.
#include "output/report/file/LayoutWriter.h"
#include "output/report/ui/designer/DesignerDocument.h"
#include "output/report/ui/designer/DesignerFiles.h"
#include "output/report/ui/dialogs/TemplateDialogs.h"
#include "output/report/ui/dialogs/TemplateFile.h"
#include "tests/report_designer/DesignerTestSupport.h"

#include <QAction>
#include <QDir>

using namespace designertest;
using Answer = DesignerDialogs::Answer;

namespace {

class DesignerFilesTest : public DesignerFixture {
protected:
    void TearDown() override
    {
        DesignerFixture::TearDown();
    }
};

TEST_F(DesignerFilesTest, BeforeAnyLoadCaptionIsPlainAndSaveAsksForAName)
{
    TqnDesignerWindow &designer = openDesigner();
    EXPECT_EQ(designer.windowTitle(), QStringLiteral("Modellatore"));
    ASSERT_EQ(m_report->layout().Pages.size(), 1u);

    m_dialogs.fileName = path(QStringLiteral("out/Nuovo.elenco"));
    QDir().mkpath(path(QStringLiteral("out")));
    designer.action(QStringLiteral("Salva"))->trigger();
    EXPECT_EQ(m_dialogs.filter, QStringLiteral("Quarnel form (*.qnf)|*.qnf|Modello Quarnel (*.qnt)|*.qnt"));
    // The chosen name's extension becomes ".qnf"; the caption shows it up to its first point.
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("out/Nuovo.qnf"))));
    EXPECT_EQ(m_report->layout().FileName, QStringLiteral("Nuovo.qnf"));
    EXPECT_EQ(designer.windowTitle(), QStringLiteral("Modellatore - Nuovo"));
    EXPECT_EQ(DesignerFiles::caption(QStringLiteral("lista.v2.QNF")), QStringLiteral("Modellatore - lista"));
    EXPECT_EQ(DesignerFiles::caption(QStringLiteral("lista.dat")), QStringLiteral("Modellatore - lista.dat"));
}

TEST_F(DesignerFilesTest, SaveAfterLoadFromLayoutFolderWritesIntoCurrentFolder)
{
    const QString supplied = makeSuppliedList();
    const QByteArray original = fileBytes(supplied);
    TqnDesignerWindow &designer = openDesigner();
    EXPECT_EQ(designer.windowTitle(), QStringLiteral("Modellatore - elenco_capofamiglia"));

    click(QPoint(60, 105));
    ASSERT_EQ(designer.canvas()->selection().size(), 1u);
    designer.action(QStringLiteral("Grassetto"))->trigger();
    designer.action(QStringLiteral("Salva"))->trigger();

    EXPECT_EQ(fileBytes(supplied), original);
    const QString written = m_app + QStringLiteral("/elenco_capofamiglia.qnf");
    ASSERT_TRUE(QFile::exists(written));
    EXPECT_EQ(fileBytes(written), designer.document().snapshot());
    EXPECT_FALSE(designer.document().modified());
}

TEST_F(DesignerFilesTest, NoOnCloseRestoresTheLayoutTheReportThenHolds)
{
    makeSuppliedList();
    const QByteArray before = openDesigner().document().snapshot();
    drag(QPoint(60, 105), QPoint(140, 105));
    ASSERT_TRUE(m_designer->document().modified());

    m_dialogs.saveAnswers = {Answer::Cancel};
    EXPECT_FALSE(m_designer->close());
    EXPECT_EQ(m_dialogs.questions.value(0), QStringLiteral("Si desidera salvare i cambiamenti a elenco_capofamiglia.qnf ?"));
    ASSERT_TRUE(m_designer->isVisible());

    m_dialogs.saveAnswers = {Answer::No};
    EXPECT_TRUE(m_designer->close());
    m_designer.reset();
    EXPECT_EQ(writeLayout(m_report->layout(), m_report->selectedPrinter()), before);
}

TEST_F(DesignerFilesTest, SaveQuestionGuardsNewAndOpenAndYesSavesFirst)
{
    TqnDesignerWindow &designer = openDesigner();
    designer.insertBand(TqnBandType::btReportTitle);
    // Yes with no name goes through "Salva con nome..."; cancelling that abandons "Nuovo report".
    m_dialogs.saveAnswers = {Answer::Yes};
    designer.action(QStringLiteral("Nuovo report"))->trigger();
    EXPECT_EQ(m_dialogs.questions.value(0), QStringLiteral("Si desidera salvare i cambiamenti al report corrente?"));
    EXPECT_EQ(m_report->layout().Pages.front().Objects.size(), 1u);

    m_dialogs.saveAnswers = {Answer::Yes};
    m_dialogs.fileName = m_app + QStringLiteral("/titolo.qnf");
    designer.action(QStringLiteral("Nuovo report"))->trigger();
    EXPECT_TRUE(QFile::exists(m_app + QStringLiteral("/titolo.qnf")));
    EXPECT_TRUE(m_report->layout().Pages.front().Objects.empty());
    EXPECT_EQ(designer.windowTitle(), QStringLiteral("Modellatore"));

    // Open reloads it; it joins the recent files and "Riapri" goes through the question.
    m_dialogs.fileName = m_app + QStringLiteral("/titolo.qnf");
    designer.action(QStringLiteral("Apri..."))->trigger();
    EXPECT_EQ(m_dialogs.filter, QStringLiteral("Quarnel form (*.qnf)|*.qnf"));
    EXPECT_EQ(m_report->layout().Pages.front().Objects.size(), 1u);
    EXPECT_EQ(DesignerFiles::recentFiles().value(0), m_app + QStringLiteral("/titolo.qnf"));
    designer.selectionLabel();
    designer.canvas()->selectAll();
    designer.action(QStringLiteral("Cancella"))->trigger();
    m_dialogs.saveAnswers = {Answer::No};
    designer.files().reopen(DesignerFiles::recentFiles().value(0));
    EXPECT_EQ(m_report->layout().Pages.front().Objects.size(), 1u);
}

TEST_F(DesignerFilesTest, MissingFileIsReportedAndTheLayoutStays)
{
    makeSuppliedList();
    TqnDesignerWindow &designer = openDesigner();
    const QByteArray before = designer.document().snapshot();
    m_dialogs.fileName = m_app + QStringLiteral("/manca.qnf");
    designer.action(QStringLiteral("Apri..."))->trigger();
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(m_dialogs.messages[0].caption, QStringLiteral("Attenzione"));
    EXPECT_EQ(m_dialogs.messages[0].icon, TqnMessageIcon::Error);
    EXPECT_TRUE(m_dialogs.messages[0].text.startsWith(QStringLiteral("Si è tentato di caricare da disco il report '")));
    EXPECT_TRUE(m_dialogs.messages[0].text.endsWith(QStringLiteral("manca.qnf' è inesistente")));
    EXPECT_EQ(designer.document().snapshot(), before);
    EXPECT_EQ(designer.windowTitle(), QStringLiteral("Modellatore - elenco_capofamiglia"));
}

TEST_F(DesignerFilesTest, ReportFolderListsItsLayoutsAndAsksBeforeOverwriting)
{
    makeSuppliedList(QStringLiteral("uno.qnf"));
    makeSuppliedList(QStringLiteral("due.qnf"));
    m_report->ReportDir = m_app + QStringLiteral("/stampe");
    TqnDesignerWindow &designer = openDesigner();
    m_dialogs.name = QStringLiteral("uno.qnf");
    designer.action(QStringLiteral("Apri..."))->trigger();
    EXPECT_EQ(m_dialogs.folderNames, (QStringList{QStringLiteral("due.qnf"), QStringLiteral("uno.qnf")}));
    EXPECT_EQ(m_report->layout().FileName, QStringLiteral("uno.qnf"));

    designer.insertBand(TqnBandType::btReportTitle);
    const QByteArray due = fileBytes(m_app + QStringLiteral("/stampe/due.qnf"));
    m_dialogs.name = QStringLiteral("due");
    m_dialogs.confirmAnswers = {false};
    designer.action(QStringLiteral("Salva con nome..."))->trigger();
    EXPECT_EQ(m_dialogs.questions.value(0),
              QStringLiteral("Attenzione:Esiste già un report con questo nome.\r\nSi desidera sovrascriverlo?"));
    EXPECT_EQ(fileBytes(m_app + QStringLiteral("/stampe/due.qnf")), due);
    m_dialogs.confirmAnswers = {true};
    designer.action(QStringLiteral("Salva con nome..."))->trigger();
    EXPECT_EQ(fileBytes(m_app + QStringLiteral("/stampe/due.qnf")), designer.document().snapshot());
}

TEST_F(DesignerFilesTest, FailedSaveKeepsLayoutInMemoryAndFileOnDisk)
{
    const QString supplied = makeSuppliedList();
    TqnDesignerWindow &designer = openDesigner();
    designer.insertBand(TqnBandType::btReportTitle);
    const QByteArray edited = designer.document().snapshot();
    const QByteArray onDisk = fileBytes(supplied);
    // A folder where the file should go: nothing can be written under that name.
    QDir().mkpath(m_app + QStringLiteral("/elenco_capofamiglia.qnf"));
    designer.action(QStringLiteral("Salva"))->trigger();
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(m_dialogs.messages[0].text, QStringLiteral("Si è verificato un errore durante la fase di salvataggio del report"));
    EXPECT_EQ(fileBytes(supplied), onDisk);
    EXPECT_EQ(designer.document().snapshot(), edited);
    EXPECT_TRUE(designer.document().modified());
}

TEST_F(DesignerFilesTest, UndoingATemplateGivesTheFileNameBackToCaptionAndSave)
{
    const QString supplied = makeSuppliedList();
    const QByteArray blank = [] {
        TqnLayout empty;
        return writeLayout(empty, QString());
    }();
    DesignerExtensions::instance().newFromTemplate = [&](TqnReport &report, QWidget *) {
        report.ResetLayout();
        report.loadFromMemory(blank);
        return true;
    };
    TqnDesignerWindow &designer = openDesigner();
    designer.action(QStringLiteral("Nuovo da modello..."))->trigger();
    EXPECT_EQ(designer.windowTitle(), QStringLiteral("Modellatore"));
    designer.action(QStringLiteral("Annulla"))->trigger();
    EXPECT_EQ(designer.windowTitle(), QStringLiteral("Modellatore - elenco_capofamiglia"));
    EXPECT_FALSE(designer.document().modified());
    designer.action(QStringLiteral("Ripristina"))->trigger();
    EXPECT_EQ(designer.windowTitle(), QStringLiteral("Modellatore"));
    designer.action(QStringLiteral("Annulla"))->trigger();
    // "Salva" writes under the name again, without asking for one.
    designer.action(QStringLiteral("Salva"))->trigger();
    EXPECT_TRUE(m_dialogs.filter.isEmpty());
    EXPECT_EQ(fileBytes(m_app + QStringLiteral("/elenco_capofamiglia.qnf")), fileBytes(supplied));
}

TEST_F(DesignerFilesTest, YesToTheQuestionSavesTheLayoutAndTemplatesGoToTheTemplateFolder)
{
    m_report->TemplateDir = path(QStringLiteral("modelli"));
    TqnDesignerWindow &designer = openDesigner();
    designer.insertBand(TqnBandType::btReportTitle);
    // The dialog was pointed elsewhere: the template still goes where "Nuovo da modello..."
    // lists them, made on first use.
    QDir().mkpath(path(QStringLiteral("altrove")));
    m_dialogs.fileName = path(QStringLiteral("altrove/testata"));
    m_dialogs.saveFilterIndex = 1;
    answerDialog<SaveTemplateDialog>([](SaveTemplateDialog &dialog) { dialog.accept(); });
    designer.action(QStringLiteral("Salva con nome..."))->trigger();
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("altrove/testata.qnt"))));
    const std::optional<TqnTemplate> saved = readTemplate(path(QStringLiteral("modelli/testata.qnt")));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->layout, designer.document().snapshot());
    EXPECT_TRUE(designer.document().modified());

    // Closing: Yes offers only the layout entry and writes the layout.
    m_dialogs.saveAnswers = {Answer::Yes};
    m_dialogs.fileName = path(QStringLiteral("altrove/testata"));
    EXPECT_TRUE(designer.close());
    EXPECT_EQ(m_dialogs.filter, QStringLiteral("Quarnel form (*.qnf)|*.qnf"));
    EXPECT_EQ(fileBytes(path(QStringLiteral("altrove/testata.qnf"))), designer.document().snapshot());
}

TEST_F(DesignerFilesTest, RecentFilesKeepTheirFoldersAndComeBackNextRun)
{
    const QString supplied = makeSuppliedList();
    m_report->ResetLayout();
    {
        TqnDesignerWindow &designer = openDesigner();
        designer.files().openFile(supplied);                    // as the printed lists load it
        designer.insertBand(TqnBandType::btReportTitle);
        designer.action(QStringLiteral("Salva"))->trigger();   // into the current folder
        EXPECT_EQ(DesignerFiles::recentFiles(),
                  (QStringList{QDir(QDir::currentPath()).filePath(QStringLiteral("elenco_capofamiglia.qnf")), supplied}));
        closeDesigner();
    }
    const QStringList remembered = DesignerFiles::recentFiles();
    DesignerFiles::recentFiles().clear();
    QDir::setCurrent(path(QString()));
    TqnDesignerWindow &again = openDesigner();
    EXPECT_EQ(DesignerFiles::recentFiles(), remembered);
    // The one from the layout folder opens from there, whatever the current folder.
    again.files().reopen(remembered.value(1));
    EXPECT_TRUE(m_dialogs.messages.empty());
    EXPECT_EQ(m_report->layout().Pages.front().Objects.size(), 6u);
}

} // namespace
