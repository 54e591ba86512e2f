// Every command that replaces the layout under the open designer (open, recent files, preview,
// undo, redo, "No" to the save question, a template) with a layout that shows a warning while
// it loads: the message runs the event loop, so the canvas may paint and the inspector may
// apply a typed value while the old pages are already gone.
#include "output/report/ComponentDirectory.h"
#include "output/report/file/LayoutWriter.h"
#include "output/report/ui/designer/DesignerDocument.h"
#include "output/report/ui/designer/DesignerFiles.h"
#include "output/report/ui/designer/ObjectInspector.h"
#include "output/report/ui/dialogs/TemplateFile.h"
#include "tests/report_designer/DesignerTestSupport.h"

#include <QAction>
#include <QLineEdit>
#include <QTabBar>

using namespace designertest;
using Answer = DesignerDialogs::Answer;

namespace {

// At each message of a load the designer is painted, as the message box's event loop would,
// and the test looks at what it points to.
class PaintingMessages final : public ReportMessages {
public:
    void show(const QString &text, const QString &, TqnMessageIcon) override
    {
        shown << text;
        if (onShow)
            onShow();
    }
    QStringList shown;
    std::function<void()> onShow;
};

class DesignerReplaceTest : public DesignerFixture {
protected:
    void SetUp() override
    {
        DesignerFixture::SetUp();
        m_report->setMessages(&m_painting);
    }
    void TearDown() override
    {
        TqnReport::previewHook() = nullptr;
        guestWindowCloses();
        m_report->setMessages(&m_messages);
        DesignerFixture::TearDown();
    }

    // The supplied-style list with a second record source on a table of another window,
    // "frm_ospite". Once that window has gone, every load of the layout, from the file or
    // from a copy the designer kept, warns "Non è stato trovato il qnDataset".
    QString makeWarningList(const QString &name = QStringLiteral("avvisa.qnf"))
    {
        ComponentDirectory::instance().add(QStringLiteral("frm_ospite"), &m_data->Nucleo());
        makeSuppliedList(name);
        auto *entry = new TqnDBDataSet(m_report->layout().DataSets.holder());
        entry->setName(QStringLiteral("Ospite"));
        entry->ComponentText = QStringLiteral("frm_ospite.Nucleo");
        entry->setDataSet(&m_data->Nucleo());
        m_report->layout().DataSets.add(entry);
        const QString file = m_app + QStringLiteral("/stampe/") + name;
        m_report->StoreLayout(file);
        return file;
    }
    void guestWindowCloses() { ComponentDirectory::instance().removeWindow(QStringLiteral("frm_ospite")); }

    TqnDesignerWindow &watchedDesigner()
    {
        TqnDesignerWindow &designer = openDesigner();
        m_painting.onShow = [this, &designer] {
            ++m_seen;
            DesignerCanvas *canvas = designer.canvas();
            const auto &pages = m_report->layout().Pages;
            const bool pageHeld = std::any_of(pages.begin(), pages.end(), [&](const TqnPage &p) { return &p == canvas->page(); });
            if (canvas->page() && !pageHeld)
                ++m_dangling;
            if (!canvas->selection().empty() || designer.inspector()->widget()->isEnabled())
                ++m_dangling;
            // A user typing in the inspector when the box appears: its focus moves away.
            designer.inspector()->nameEdit()->setText(QStringLiteral("Digitato"));
            designer.inspector()->nameEdit()->setModified(true);
            designer.inspector()->applyPending();
            canvas->grab();
            designer.grab();
        };
        return designer;
    }

    // Selects the row's text box, as the user does before each command.
    void selectRow() { click(QPoint(60, 105)); }

    PaintingMessages m_painting;
    int m_seen = 0;
    int m_dangling = 0;
};

TEST_F(DesignerReplaceTest, UndoRedoNoOpenAndRecentLetGoOfThePagesWhileTheLoadWarns)
{
    const QString file = makeWarningList();
    TqnDesignerWindow &designer = watchedDesigner();
    guestWindowCloses();

    // Undo and redo read copies back; the selection comes back with them.
    selectRow();
    drag(QPoint(60, 105), QPoint(140, 105));
    designer.action(QStringLiteral("Annulla"))->trigger();
    EXPECT_EQ(m_seen, 1);
    ASSERT_EQ(designer.canvas()->selection().size(), 1u);
    EXPECT_EQ(designer.canvas()->selection().front()->Name, QStringLiteral("Capofamiglia"));
    designer.action(QStringLiteral("Ripristina"))->trigger();
    EXPECT_EQ(m_seen, 2);

    // "Apri...": "No" puts the opened layout back, then the file is read.
    selectRow();
    m_dialogs.saveAnswers = {Answer::No};
    m_dialogs.fileName = file;
    designer.action(QStringLiteral("Apri..."))->trigger();
    EXPECT_EQ(m_seen, 4);
    EXPECT_EQ(m_report->layout().FileName, QStringLiteral("avvisa.qnf"));
    EXPECT_EQ(designer.canvas()->page(), &m_report->layout().Pages.front());

    selectRow();
    designer.files().reopen(DesignerFiles::recentFiles().value(0));
    EXPECT_EQ(m_seen, 5);
    EXPECT_EQ(m_dangling, 0);
    EXPECT_EQ(designer.canvas()->page(), &m_report->layout().Pages.front());
    EXPECT_EQ(m_painting.shown.value(0), QStringLiteral("Non è stato trovato il qnDataset: frm_ospite.Nucleo"));
}

TEST_F(DesignerReplaceTest, PreviewAndTemplateLetGoOfThePagesWhileTheLoadWarns)
{
    makeWarningList();
    const QByteArray templateLayout = writeLayout(m_report->layout(), QString());
    DesignerExtensions::instance().newFromTemplate = [&](TqnReport &report, QWidget *) {
        useTemplate(report, TqnTemplate{QString(), QByteArray(), templateLayout});
        return true;
    };
    TqnDesignerWindow &designer = watchedDesigner();
    guestWindowCloses();
    int previews = 0;
    TqnReport::previewHook() = [&](TqnReport &) { ++previews; };

    selectRow();
    designer.action(QStringLiteral("Anteprima"))->trigger();
    TqnReport::previewHook() = nullptr;
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(m_seen, 1);
    ASSERT_EQ(designer.canvas()->selection().size(), 1u);
    EXPECT_EQ(designer.canvas()->selection().front()->Name, QStringLiteral("Capofamiglia"));

    // The template window replaces the layout while it is still open.
    selectRow();
    designer.action(QStringLiteral("Nuovo da modello..."))->trigger();
    EXPECT_EQ(m_seen, 2);
    EXPECT_EQ(m_dangling, 0);
    EXPECT_EQ(designer.canvas()->page(), &m_report->layout().Pages.front());
}

TEST_F(DesignerReplaceTest, LayoutWithoutPagesOpensAndTakesANewPage)
{
    TqnLayout empty;
    empty.Pages.clear();
    const QString file = m_app + QStringLiteral("/vuoto.qnf");
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(writeLayout(empty, QString()));
    out.close();

    TqnDesignerWindow &designer = openDesigner();
    m_dialogs.fileName = file;
    designer.action(QStringLiteral("Apri..."))->trigger();
    ASSERT_TRUE(m_report->layout().Pages.empty());
    EXPECT_EQ(designer.canvas()->page(), nullptr);
    EXPECT_EQ(designer.pageTabs()->count(), 0);
    designer.action(QStringLiteral("Seleziona oggetto"))->trigger();
    designer.insertBand(TqnBandType::btReportTitle);
    designer.action(QStringLiteral("Anteprima"))->trigger();

    designer.action(QStringLiteral("Aggiungi pagina"))->trigger();
    ASSERT_EQ(m_report->layout().Pages.size(), 1u);
    EXPECT_EQ(designer.canvas()->page(), &m_report->layout().Pages.front());
    designer.action(QStringLiteral("Annulla"))->trigger();
    EXPECT_EQ(designer.canvas()->page(), nullptr);
}

} // namespace
