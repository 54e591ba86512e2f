// What the designer is given is what the file and the printed page keep: letters of every
// alphabet through preview, undo, redo, the clipboard, saving and printing; an object never
// moved to another page; "Modifica..." acting on every object it is offered for.
#include "output/report/print/PdfOutput.h"
#include "output/report/ui/designer/DesignerDocument.h"
#include "output/report/ui/designer/ObjectInspector.h"
#include "output/report/ui/dialogs/BandOptionsDialog.h"
#include "output/report/ui/dialogs/TextEditorDialog.h"
#include "tests/report_designer/DesignerTestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTabBar>

using namespace designertest;

namespace {

class DesignerFidelityTest : public DesignerFixture {
protected:
    void TearDown() override
    {
        TqnReport::previewHook() = nullptr;
        DesignerFixture::TearDown();
    }
};

// Romanian, Polish, Ukrainian, Greek and Arabic: none of them fits the file's Western code page.
const QStringList kLines = {QStringLiteral("Ștefan Țăranu"), QStringLiteral("Łódź Żółć"),
                            QStringLiteral("Бондаренко Їжак"), QStringLiteral("Ελλάδα Αθήνα"),
                            QStringLiteral("مرحبا بالعالم")};

const TqnView *named(const TqnLayout &layout, const QString &name)
{
    for (const TqnPage &page : layout.Pages)
        for (const auto &object : page.Objects)
            if (object->Name == name)
                return object.get();
    return nullptr;
}

TEST_F(DesignerFidelityTest, EveryLetterSurvivesPreviewUndoClipboardSavingAndPrinting)
{
    // A title band with a text box tall enough for five lines.
    m_report->ResetLayout();
    TqnPage &page = m_report->layout().Pages.front();
    reporttest::addBand(page, TqnBandType::btReportTitle, 20, 200);
    reporttest::addMemo(page, 40, 30, 500, 180, QStringLiteral("Titolo"), QStringLiteral("Titolo"));
    m_report->StoreLayout(m_app + QStringLiteral("/stampe/titolo.qnf"));
    m_report->OpenLayout(m_app + QStringLiteral("/stampe/titolo.qnf"));
    TqnDesignerWindow &designer = openDesigner();
    click(QPoint(60, 55));
    answerDialog<TextEditorDialog>([](TextEditorDialog &editor) {
        editor.editor()->setPlainText(kLines.join(QLatin1Char('\n')));
        editor.accept();
    });
    designer.action(QStringLiteral("Modifica..."))->trigger();
    designer.inspector()->nameEdit()->setText(QStringLiteral("Σύνολο"));
    emit designer.inspector()->nameEdit()->editingFinished();
    ASSERT_TRUE(object(QStringLiteral("Σύνολο")));
    ASSERT_EQ(object(QStringLiteral("Σύνολο"))->Memo, kLines);

    // The preview sees every word and leaves the designed layout as it was.
    QStringList shown;
    TqnReport::previewHook() = [&](TqnReport &report) { shown = reporttest::textsOf(report.preparedPages()); };
    designer.action(QStringLiteral("Anteprima"))->trigger();
    for (const QString &line : kLines)
        EXPECT_TRUE(shown.contains(line)) << line.toStdString();
    EXPECT_EQ(object(QStringLiteral("Σύνολο"))->Memo, kLines);

    // A copy pasted, undone and redone keeps its letters, and the original keeps its own.
    click(QPoint(60, 55));
    designer.action(QStringLiteral("Copia"))->trigger();
    designer.action(QStringLiteral("Incolla"))->trigger();
    ASSERT_EQ(designer.canvas()->selection().size(), 1u);
    const QString pastedName = designer.canvas()->selection().front()->Name;
    EXPECT_EQ(designer.canvas()->selection().front()->Memo, kLines);
    designer.action(QStringLiteral("Annulla"))->trigger();
    EXPECT_FALSE(object(pastedName));
    designer.action(QStringLiteral("Ripristina"))->trigger();
    ASSERT_TRUE(object(pastedName));
    EXPECT_EQ(object(pastedName)->Memo, kLines);
    EXPECT_EQ(object(QStringLiteral("Σύνολο"))->Memo, kLines);

    m_dialogs.fileName = m_app + QStringLiteral("/lingue");
    designer.action(QStringLiteral("Salva con nome..."))->trigger();
    closeDesigner();
    // Other readers of the file see a plain '?' for each letter the code page lacks.
    EXPECT_TRUE(fileBytes(m_app + QStringLiteral("/lingue.qnf")).contains("?tefan ?"));

    TqnReport reread(m_window.get());
    reread.setMessages(&m_messages);
    reread.OpenLayout(m_app + QStringLiteral("/lingue.qnf"));
    const TqnView *again = named(reread.layout(), QStringLiteral("Σύνολο"));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->Memo, kLines);
    ASSERT_TRUE(reread.BuildPages());
    ASSERT_EQ(reread.preparationError(), QString());
    const QString pdf = path(QStringLiteral("lingue.pdf"));
    ASSERT_TRUE(writePdf(reread.preparedPages(), pdf, reread.Title));
    // pdftotext gives Arabic letters in their joined forms between direction marks: compatibility
    // normalisation turns them back into the letters typed.
    QString printed = reporttest::pdfText(pdf).normalized(QString::NormalizationForm_KC);
    printed.remove(QRegularExpression(QStringLiteral("[\\x{200E}\\x{200F}\\x{202A}-\\x{202E}]")));
    for (const QString &line : kLines)
        for (const QString &word : line.split(QLatin1Char(' ')))
            EXPECT_TRUE(printed.contains(word)) << word.toStdString() << " in " << printed.toStdString();
}

TEST_F(DesignerFidelityTest, AddingAPageBeyondWhatTheFileNumbersIsRefusedAndNothingMoves)
{
    TqnDesignerWindow &designer = openDesigner();
    for (int n = 1; n < 256; ++n)
        designer.action(QStringLiteral("Aggiungi pagina"))->trigger();
    ASSERT_EQ(m_report->layout().Pages.size(), 256u);
    EXPECT_TRUE(m_dialogs.messages.empty());

    designer.action(QStringLiteral("Aggiungi pagina"))->trigger();
    EXPECT_EQ(m_report->layout().Pages.size(), 256u);
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(m_dialogs.messages[0].text,
              QStringLiteral("   Il report ha già 256 pagine, il massimo che il file può contenere: "
                             "non se ne possono aggiungere altre.   "));
    // A sub-report would bring a page of its own: refused alike.
    designer.insertObject(DesignerCanvas::Tool::SubReport, QRect(40, 40, 200, 40));
    EXPECT_EQ(m_report->layout().Pages.size(), 256u);
    EXPECT_EQ(m_dialogs.messages.size(), 2u);

    // The last page's objects are saved and read back on it.
    designer.showPage(255);
    designer.insertObject(DesignerCanvas::Tool::Memo, QRect(40, 40, 200, 20));
    const QString name = designer.canvas()->selection().front()->Name;
    m_dialogs.fileName = m_app + QStringLiteral("/lunghe");
    designer.action(QStringLiteral("Salva con nome..."))->trigger();
    closeDesigner();
    TqnReport reread(m_window.get());
    reread.setMessages(&m_messages);
    reread.OpenLayout(m_app + QStringLiteral("/lunghe.qnf"));
    ASSERT_EQ(reread.layout().Pages.size(), 256u);
    const TqnView *kept = named(reread.layout(), name);
    ASSERT_TRUE(kept);
    EXPECT_EQ(reread.layout().pageOf(kept), 255);
}

TEST_F(DesignerFidelityTest, ModificaOpensTheBandsOptionsOrIsNotOffered)
{
    TqnDesignerWindow &designer = openDesigner();
    designer.insertBand(TqnBandType::btPageHeader);
    QAction *edit = designer.action(QStringLiteral("Modifica..."));
    ASSERT_TRUE(edit->isEnabled());
    answerDialog<BandOptionsDialog>([](BandOptionsDialog &dialog) {
        // A page header may keep to the first page; growing is not for it.
        EXPECT_EQ(dialog.box(TqnBandView::boStretch), nullptr);
        dialog.box(TqnBandView::boKeepOnFirstPage)->setChecked(true);
        dialog.accept();
    });
    edit->trigger();
    const auto &header = static_cast<const TqnBandView &>(*designer.canvas()->selection().front());
    EXPECT_TRUE(header.BandOptions & TqnBandView::boKeepOnFirstPage);
    EXPECT_TRUE(designer.document().canUndo());

    // The overlay has nothing of its own to edit: neither the command nor a double click acts.
    designer.insertBand(TqnBandType::btOverlay);
    EXPECT_FALSE(edit->isEnabled());
    const QByteArray before = designer.document().snapshot();
    emit designer.canvas()->editRequested();
    EXPECT_EQ(designer.document().snapshot(), before);
}

} // namespace
