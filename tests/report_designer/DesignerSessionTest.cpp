// A volunteer's session from start to end, the settings kept between runs, and the
// designer reached through the engine's OpenDesigner.
#include "output/report/ui/designer/DesignerDocument.h"
#include "output/report/ui/designer/DesignerWindows.h"
#include "output/report/ui/designer/ObjectInspector.h"
#include "output/report/ui/dialogs/TextEditorDialog.h"
#include "tests/report_designer/DesignerTestSupport.h"

#include "db/TField.h"
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSettings>
#include <cmath>
#include <QTimer>
#include <QToolBar>

using namespace designertest;

namespace {

class DesignerSessionTest : public DesignerFixture {
protected:
    void TearDown() override
    {
        TqnReport::previewHook() = nullptr;
        TqnReport::designerHook() = nullptr;
        DesignerFixture::TearDown();
    }
};

TEST_F(DesignerSessionTest, VolunteerMovesABoxMakesItBoldAddsABandSavesAndSeesIt)
{
    const QString supplied = makeSuppliedList();
    TqnDesignerWindow &designer = openDesigner();
    designer.action(QStringLiteral("Millimetri"))->trigger();
    designer.action(QStringLiteral("Allinea alla griglia"))->setChecked(false);

    // Drag the row's text box 10 mm to the right.
    const int tenMm = int(std::lround(10 * 96 / 25.4));
    drag(QPoint(60, 105), QPoint(60 + tenMm, 105));
    EXPECT_EQ(object(QStringLiteral("Capofamiglia"))->X, 40 + tenMm);
    EXPECT_TRUE(designer.selectionLabel()->text().startsWith(QStringLiteral("20,6; 25,9")))
        << designer.selectionLabel()->text().toStdString();
    designer.action(QStringLiteral("Grassetto"))->trigger();

    // A report summary band with a text box written in the editor.
    m_dialogs.items = {1};
    designer.action(QStringLiteral("Inserisci banda"))->trigger();
    const TqnView *band = designer.canvas()->selection().front();
    designer.action(QStringLiteral("Inserisci rettangolo"))->trigger();
    drag(QPoint(60, band->Y + 5), QPoint(300, band->Y + 25));
    answerDialog<TextEditorDialog>([](TextEditorDialog &editor) {
        editor.editor()->setPlainText(QStringLiteral("Fine dell'elenco"));
        editor.accept();
    });
    designer.action(QStringLiteral("Modifica..."))->trigger();

    m_dialogs.saveAnswers = {DesignerDialogs::Answer::Yes};
    designer.action(QStringLiteral("Salva"))->trigger();
    closeDesigner();
    ASSERT_FALSE(m_designer);

    // The file in the current folder holds the changes.
    TqnReport reread(m_window.get());
    reread.setMessages(&m_messages);
    reread.OpenLayout(m_app + QStringLiteral("/elenco_capofamiglia.qnf"));
    const auto *row = static_cast<const TqnMemoView *>([&]() -> const TqnView * {
        for (const auto &o : reread.layout().Pages.front().Objects)
            if (o->Name == QStringLiteral("Capofamiglia"))
                return o.get();
        return nullptr;
    }());
    ASSERT_TRUE(row);
    EXPECT_EQ(row->X, 40 + tenMm);
    EXPECT_TRUE(row->FontStyle & fsBold);

    // The preview shows it: the new text at the end and the names in bold, moved.
    QStringList shown;
    bool bold = false;
    double x = 0;
    TqnReport::previewHook() = [&](TqnReport &report) {
        shown = reporttest::textsOf(report.preparedPages());
        for (const PreparedPage &page : report.preparedPages())
            for (const DrawRecord &r : page.Records)
                if (r.kind == DrawRecord::Text && r.text == m_data->Anagrafica().fieldByName(QStringLiteral("Capofamiglia"))->asString()) {
                    bold = r.font >= 0 && (page.Fonts[size_t(r.font)].Style & fsBold);
                    x = r.rect.left();
                }
    };
    reread.RunPreview();
    EXPECT_EQ(reread.preparationError(), QString());
    ASSERT_FALSE(shown.isEmpty());
    const QString lastName = m_data->Anagrafica().fieldByName(QStringLiteral("Capofamiglia"))->asString();
    EXPECT_GT(shown.indexOf(QStringLiteral("Fine dell'elenco")), shown.lastIndexOf(lastName));
    EXPECT_TRUE(bold);
    EXPECT_GE(x, 40 + tenMm);
}

TEST_F(DesignerSessionTest, PreviewFromTheDesignerHidesTheInspectorAndKeepsTheLayout)
{
    makeSuppliedList();
    TqnDesignerWindow &designer = openDesigner();
    click(QPoint(60, 105));
    const QByteArray before = designer.document().snapshot();
    bool inspectorShown = true;
    int previews = 0;
    TqnReport::previewHook() = [&](TqnReport &) {
        ++previews;
        inspectorShown = designer.inspector()->isVisible();
    };
    designer.action(QStringLiteral("Anteprima"))->trigger();
    EXPECT_EQ(previews, 1);
    EXPECT_FALSE(inspectorShown);
    EXPECT_TRUE(designer.inspector()->isVisible());
    EXPECT_EQ(designer.document().snapshot(), before);
    ASSERT_EQ(designer.canvas()->selection().size(), 1u);
    EXPECT_EQ(designer.canvas()->selection().front()->Name, QStringLiteral("Capofamiglia"));
}

TEST_F(DesignerSessionTest, SettingsAreRestoredAfterARestart)
{
    {
        TqnDesignerWindow &designer = openDesigner();
        designer.action(QStringLiteral("19 punti (circa 5 mm)"))->trigger();
        designer.action(QStringLiteral("Allinea alla griglia"))->setChecked(false);
        designer.action(QStringLiteral("Pollici"))->trigger();
        designer.toolBar(QStringLiteral("Testo"))->toggleViewAction()->trigger();
        designer.inspector()->setFloating(true);
        designer.inspector()->setGeometry(QRect(120, 140, 450, 560));
        closeDesigner();
    }
    QSettings stored(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Nessun nome"));
    EXPECT_EQ(stored.value(QStringLiteral("Options/GridSize")).toInt(), 19);
    EXPECT_EQ(stored.value(QStringLiteral("Options/Units")).toInt(), 2);
    EXPECT_FALSE(stored.value(QStringLiteral("ToolBas/Testo")).toBool());
    EXPECT_TRUE(stored.value(QStringLiteral("ToolBas/Predefinito")).toBool());
    EXPECT_EQ(stored.value(QStringLiteral("ObjectInspector/Left")).toInt(), 120);

    TqnDesignerWindow &again = openDesigner();
    EXPECT_EQ(again.canvas()->gridSize(), 19);
    EXPECT_FALSE(again.canvas()->gridAlign());
    EXPECT_EQ(again.unit(), DesignerUnit::Inches);
    EXPECT_TRUE(again.action(QStringLiteral("Pollici"))->isChecked());
    EXPECT_TRUE(again.action(QStringLiteral("19 punti (circa 5 mm)"))->isChecked());
    EXPECT_TRUE(again.toolBar(QStringLiteral("Testo"))->isHidden());
    EXPECT_FALSE(again.toolBar(QStringLiteral("Oggetti"))->isHidden());
    EXPECT_EQ(again.inspector()->geometry().size(), QSize(450, 560));
}

TEST_F(DesignerSessionTest, OpenDesignerShowsOneModalWindowAndTheLayoutStaysInTheReport)
{
    designerwindows::install();
    TqnDesigner component;
    bool modal = false;
    QString caption;
    int windows = 0;
    // OpenDesigner lets pending events run before the window exists: wait for it.
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        TqnDesignerWindow *open = TqnDesignerWindow::instance();
        if (!open)
            return;
        poll.stop();
        modal = open->isModal() || open->windowModality() == Qt::ApplicationModal;
        caption = open->windowTitle();
        m_report->OpenDesigner();            // a second call only brings the open one forward
        for (QWidget *w : QApplication::topLevelWidgets())
            windows += qobject_cast<TqnDesignerWindow *>(w) != nullptr;
        open->setDialogs(&m_dialogs);
        open->insertBand(TqnBandType::btReportTitle);
        m_dialogs.saveAnswers = {DesignerDialogs::Answer::Cancel, DesignerDialogs::Answer::No};
        open->close();                       // Cancel keeps it open
        EXPECT_TRUE(open->isVisible());
        m_report->DesignerOptions = 0;       // without the question the edit stays
        open->close();
    });
    poll.start();
    m_report->OpenDesigner();
    EXPECT_TRUE(modal);
    EXPECT_EQ(caption, QStringLiteral("Modellatore"));
    EXPECT_EQ(windows, 1);
    EXPECT_EQ(TqnDesignerWindow::instance(), nullptr);
    ASSERT_EQ(m_report->layout().Pages.front().Objects.size(), 1u);
    EXPECT_EQ(m_dialogs.questions.size(), 1);
}

} // namespace
