// What counts as an edit: a click or a grabbed handle that is let go where it was changes
// nothing, and a value still being typed in the inspector is an edit that a save or a close
// takes along.
#include "output/report/ui/designer/DesignerDocument.h"
#include "output/report/ui/designer/ObjectInspector.h"
#include "tests/report_designer/DesignerTestSupport.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QLineEdit>

using namespace designertest;
using Answer = DesignerDialogs::Answer;

namespace {

class DesignerEditCountTest : public DesignerFixture {};

TEST_F(DesignerEditCountTest, ClicksAndAGrabbedHandleLeaveAnOffGridLayoutUntouched)
{
    makeSuppliedList();
    TqnDesignerWindow &designer = openDesigner();
    designer.setGrid(8, true);
    const QByteArray opened = designer.document().snapshot();

    click(QPoint(60, 105));                      // the row box, at y 98: off the grid of 8
    ASSERT_EQ(designer.canvas()->selection().size(), 1u);
    click(QPoint(60, 105));                      // again, now on the selected box
    drag(QPoint(340, 118), QPoint(341, 118));    // its bottom-right handle, a tremble
    click(QPoint(60, 55));
    click(QPoint(60, 105), Qt::ShiftModifier);
    click(QPoint(600, 100));                     // the data band
    EXPECT_EQ(object(QStringLiteral("Capofamiglia"))->Y, 98);
    EXPECT_EQ(designer.document().snapshot(), opened);
    EXPECT_FALSE(designer.document().modified());
    EXPECT_FALSE(designer.action(QStringLiteral("Annulla"))->isEnabled());

    EXPECT_TRUE(designer.close());
    EXPECT_TRUE(m_dialogs.questions.isEmpty());
}

TEST_F(DesignerEditCountTest, ValuesStillTypedInTheInspectorAreSavedAndAskedAboutOnClose)
{
    const QString supplied = makeSuppliedList();
    TqnDesignerWindow &designer = openDesigner();
    click(QPoint(60, 105));
    ObjectInspector *inspector = designer.inspector();
    // Typed, with the focus still in the field: nothing has reached the layout yet.
    inspector->nameEdit()->setText(QStringLiteral("Nome"));
    inspector->nameEdit()->setModified(true);
    inspector->boxEdit(0)->findChild<QLineEdit *>()->setText(QStringLiteral("80"));
    ASSERT_EQ(object(QStringLiteral("Capofamiglia"))->X, 40);

    designer.action(QStringLiteral("Salva"))->trigger();
    TqnReport reread(m_window.get());
    reread.setMessages(&m_messages);
    reread.OpenLayout(m_app + QStringLiteral("/elenco_capofamiglia.qnf"));
    const auto &objects = reread.layout().Pages.front().Objects;
    const auto row = std::find_if(objects.begin(), objects.end(), [](const auto &o) { return o->Name == QStringLiteral("Nome"); });
    ASSERT_NE(row, objects.end());
    EXPECT_EQ((*row)->X, 80);

    // A width typed and the window closed: the question comes, and No drops it.
    inspector->boxEdit(2)->findChild<QLineEdit *>()->setText(QStringLiteral("120"));
    m_dialogs.saveAnswers = {Answer::No};
    EXPECT_TRUE(designer.close());
    EXPECT_EQ(m_dialogs.questions.size(), 1);
    EXPECT_EQ(object(QStringLiteral("Nome"))->Width, 300);
}

} // namespace
