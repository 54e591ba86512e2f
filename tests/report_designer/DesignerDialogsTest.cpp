// Every command that opens one of the program's own dialogs, answered as a user would: the
// edit reaches the layout and the canvas, and "Annulla" takes it back.
#include "output/report/ui/designer/DesignerDocument.h"
#include "output/report/ui/dialogs/HighlightDialog.h"
#include "output/report/ui/dialogs/PageOptionsDialog.h"
#include "output/report/ui/dialogs/PictureDialog.h"
#include "output/report/ui/dialogs/ReportOptionsDialog.h"
#include "output/report/ui/dialogs/TemplateDialogs.h"
#include "output/report/ui/dialogs/TemplateFile.h"
#include "output/report/ui/dialogs/TextEditorDialog.h"
#include "output/report/ui/dialogs/VariablesDialog.h"
#include "output/report/ui/dialogs/WizardDialog.h"
#include "output/report/file/LayoutWriter.h"
#include "tests/report_designer/DesignerTestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

using namespace designertest;

namespace {

class DesignerDialogsTest : public DesignerFixture {
protected:
    // Runs the command with the dialog answered by `answer`; then "Annulla" must give back the
    // layout as it was, and the canvas must show a page of the layout.
    template <typename D>
    void runAndUndo(const QString &command, std::function<void(D &)> answer, const std::function<void()> &check)
    {
        TqnDesignerWindow &designer = *m_designer;
        const QByteArray before = designer.document().snapshot();
        QAction *action = designer.action(command);
        ASSERT_TRUE(action) << command.toStdString();
        ASSERT_TRUE(action->isEnabled()) << command.toStdString();
        answerDialog<D>(std::move(answer));
        action->trigger();
        check();
        EXPECT_NE(designer.document().snapshot(), before) << command.toStdString();
        EXPECT_EQ(designer.canvas()->page(), &m_report->layout().Pages[size_t(designer.currentPage())]);
        designer.canvas()->grab();
        designer.action(QStringLiteral("Annulla"))->trigger();
        EXPECT_EQ(designer.document().snapshot(), before) << command.toStdString();
    }
};

TEST_F(DesignerDialogsTest, FileMenuDialogsEditTheLayoutAndUndo)
{
    makeSuppliedList();
    m_report->TemplateDir = path(QStringLiteral("modelli"));
    QDir().mkpath(m_report->TemplateDir);
    TqnLayout blank;
    ASSERT_TRUE(writeTemplate(m_report->TemplateDir + QStringLiteral("/vuoto.qnt"),
                              TqnTemplate{QStringLiteral("Un foglio bianco"), QByteArray(), writeLayout(blank, QString())}));
    TqnDesignerWindow &designer = openDesigner();

    runAndUndo<ReportOptionsDialog>(QStringLiteral("Opzioni report..."), [](ReportOptionsDialog &d) {
        d.twoPass()->setChecked(!d.twoPass()->isChecked());
        d.accept();
    }, [] {});

    const int widthBefore = designer.canvas()->sizeHint().width();
    runAndUndo<PageOptionsDialog>(QStringLiteral("Opzioni pagina..."), [](PageOptionsDialog &d) {
        d.landscape()->setChecked(true);
        d.accept();
    }, [&] { EXPECT_GT(designer.canvas()->sizeHint().width(), widthBefore); });
    EXPECT_EQ(designer.canvas()->sizeHint().width(), widthBefore);

    runAndUndo<VariablesDialog>(QStringLiteral("Lista variabili..."), [](VariablesDialog &d) {
        d.addVariable(QStringLiteral("Ente"));
        d.binding()->setCurrentIndex(VariablesDialog::Expression);
        d.expression()->setText(QStringLiteral("'Comune'"));
        d.accept();
    }, [&] { EXPECT_TRUE(m_report->layout().Values.find(QStringLiteral("Ente"))); });

    runAndUndo<NewFromTemplateDialog>(QStringLiteral("Nuovo da modello..."), [](NewFromTemplateDialog &d) {
        d.templates()->setCurrentRow(0);
        d.accept();
    }, [&] {
        EXPECT_TRUE(m_report->layout().Pages.front().Objects.empty());
        EXPECT_EQ(designer.windowTitle(), QStringLiteral("Modellatore"));
    });
    EXPECT_EQ(designer.windowTitle(), QStringLiteral("Modellatore - elenco_capofamiglia"));

    runAndUndo<WizardDialog>(QStringLiteral("Nuovo da autocomposizione..."), [](WizardDialog &d) {
        d.dataSet()->setCurrentIndex(std::max(0, d.dataSet()->findText(QStringLiteral("frm_main.Anagrafica"))));
        d.fields()->item(0)->setCheckState(Qt::Checked);
        d.title()->setText(QStringLiteral("Elenco di prova"));
        d.accept();
    }, [&] {
        QStringList texts;
        for (const auto &o : m_report->layout().Pages.front().Objects)
            texts += o->Memo;
        EXPECT_TRUE(texts.contains(QStringLiteral("Elenco di prova"))) << texts.join(QLatin1Char('|')).toStdString();
    });
}

TEST_F(DesignerDialogsTest, ObjectDialogsEditTheSelectionAndUndo)
{
    makeSuppliedList();
    TqnDesignerWindow &designer = openDesigner();
    click(QPoint(60, 55));   // "Titolo"
    runAndUndo<TextEditorDialog>(QStringLiteral("Modifica..."), [](TextEditorDialog &d) {
        d.editor()->setPlainText(QStringLiteral("Assistiti"));
        d.accept();
    }, [&] { EXPECT_EQ(object(QStringLiteral("Titolo"))->Memo, QStringList{QStringLiteral("Assistiti")}); });

    click(QPoint(60, 55));
    runAndUndo<HighlightDialog>(QStringLiteral("Attributi evidenziatura"), [](HighlightDialog &d) {
        d.condition()->setText(QStringLiteral("[PAGE#] = 1"));
        d.style(fsBold)->setChecked(true);
        d.accept();
    }, [&] {
        EXPECT_EQ(static_cast<TqnMemoView *>(object(QStringLiteral("Titolo")))->HighlightCondition, QStringLiteral("[PAGE#] = 1"));
    });

    // "Inserisci immagine", then its content from a file through "Modifica...".
    QImage logo(30, 30, QImage::Format_RGB32);
    logo.fill(Qt::darkGreen);
    ASSERT_TRUE(logo.save(path(QStringLiteral("logo.png"))));
    designer.action(QStringLiteral("Inserisci immagine"))->trigger();
    drag(QPoint(500, 45), QPoint(560, 75));
    ASSERT_EQ(designer.canvas()->selection().size(), 1u);
    ASSERT_EQ(designer.canvas()->selection().front()->kind(), TqnViewKind::vkPicture);
    const QString file = path(QStringLiteral("logo.png"));
    runAndUndo<PictureDialog>(QStringLiteral("Modifica..."), [file](PictureDialog &d) {
        d.setFile(file);
        d.accept();
    }, [&] {
        const auto &picture = static_cast<const TqnPictureView &>(*m_report->layout().Pages.front().Objects.back());
        EXPECT_FALSE(picture.Data.isEmpty());
    });
}

} // namespace
