// The grid's enter and exit follow the focus between the controls of its own window only:
// a modal box or the application losing activation leave the grid entered.

#include "TExDBGridTestSupport.h"

#include <QDialog>
#include <QTimer>

using namespace gridtest;

namespace {

class GridFocusTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureApplication(); }

    // A modal box as an error box is: opened, then closed by the user.
    static void showModalBox(QWidget *owner)
    {
        QDialog box(owner);
        box.setModal(true);
        QTimer::singleShot(0, &box, [&box] {
            EXPECT_TRUE(box.isVisible());
            box.reject();
        });
        box.exec();
        // The window manager gives the activation back to the owner.
        QApplication::setActiveWindow(owner);
        QApplication::processEvents();
    }
};

} // namespace

// The card grid's enter posts the card; when another user changed the card the post fails and
// an error box opens. Closing it must not enter the grid again and fail again, for ever.
TEST_F(GridFocusTest, AFailingPostInEnterShowsOneBoxAndEntersOnce)
{
    GridRig rig(3);
    rig.other->setFocus();
    QApplication::processEvents();
    int enters = 0;
    int exits = 0;
    rig.grid->OnEnter = [&](TCustomDBGrid &) {
        if (++enters > 5)
            return;   // the loop this test is about: stop it
        rig.data.failPosts = 1;
        rig.data.edit();
        try {
            rig.data.post();
        } catch (const std::exception &) {
            showModalBox(rig.window.get());
        }
    };
    rig.grid->OnExit = [&](TCustomDBGrid &) { ++exits; };

    rig.grid->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(exits, 0);

    rig.other->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(exits, 1);
    rig.data.cancel();
}

TEST_F(GridFocusTest, LosingAndRegainingActivationNeitherExitsNorEnters)
{
    GridRig rig(3);
    int enters = 0;
    int exits = 0;
    rig.grid->OnEnter = [&](TCustomDBGrid &) { ++enters; };
    rig.grid->OnExit = [&](TCustomDBGrid &) { ++exits; };
    QWidget elsewhere;
    elsewhere.show();
    QApplication::setActiveWindow(&elsewhere);
    QApplication::processEvents();
    QApplication::setActiveWindow(rig.window.get());
    QApplication::processEvents();
    EXPECT_EQ(enters, 0);
    EXPECT_EQ(exits, 0);
    EXPECT_TRUE(rig.grid->hasFocus());
}

// Tab typed in an open editor follows the grid's rules (without dgTabs: to the next control),
// and what was typed reaches the field on the way out.
TEST_F(GridFocusTest, TabInTheOpenEditorsReachesTheGridsKeys)
{
    GridRig rig(0, {{QStringLiteral("Nome"), TFieldType::ftString, 30, false, QString()},
                    {QStringLiteral("Note"), TFieldType::ftMemo, 0, false, QString()}});
    rig.data.close();
    rig.data.addRow({"Rossi", "Prima"});
    rig.data.open();
    QList<int> keys;
    rig.grid->OnKeyDown = [&](TCustomDBGrid &, int &pressed, Qt::KeyboardModifiers) { keys << pressed; };

    type(rig.grid, "Anna");
    ASSERT_TRUE(rig.grid->editorMode());
    keys.clear();
    key(rig.grid, Qt::Key_Tab);
    EXPECT_EQ(keys, QList<int>{Qt::Key_Tab});
    EXPECT_TRUE(rig.other->hasFocus());
    EXPECT_EQ(rig.current("Nome"), "Anna");

    rig.grid->setFocus(Qt::OtherFocusReason);
    key(rig.grid, Qt::Key_Right);
    key(rig.grid, Qt::Key_F2);
    ASSERT_TRUE(rig.grid->memoEditor() && rig.grid->memoEditor()->isVisible());
    rig.grid->memoEditor()->setPlainText("Seconda");
    key(rig.grid, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(keys.last(), int(Qt::Key_Backtab));
    EXPECT_TRUE(rig.other->hasFocus());
    EXPECT_EQ(rig.current("Note"), "Seconda");
}
