// The password change window: its layout and keyboard order, what it hands back, and that
// nothing typed in it survives its closing (it is reused for the whole run).

#include "AppTestSupport.h"

#include "forms/pass2/Tfrm_pass2.h"

#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

TEST(PasswordChangeWindow, OpensOnOldPassTabsInOrderAndIgnoresEnter)
{
    Tfrm_pass2 dialog;
    QStringList visited;
    bool openAfterEnter = false;
    apptest::ModalScript script({[&](QWidget *) {
        for (int step = 0; step < 6; ++step) {
            visited << dialog.focusWidget()->objectName();
            apptest::pressKey(&dialog, Qt::Key_Tab);
        }
        // With the new edits empty, an Enter taken as "OK" would remove the password.
        apptest::pressKey(dialog.old_pass(), Qt::Key_Return);
        openAfterEnter = dialog.isVisible();
        dialog.reject();
    }});
    dialog.ask();

    EXPECT_EQ(visited, (QStringList{"old_pass", "pass1", "pass2", "annulla", "ok", "old_pass"}));
    EXPECT_TRUE(openAfterEnter);
    EXPECT_EQ(dialog.size(), QSize(336, 292));
}

struct CloseCase {
    const char *name;
    std::function<void(Tfrm_pass2 &)> close;
    bool accepted;
};

void PrintTo(const CloseCase &c, std::ostream *os) { *os << c.name; }

class PasswordChangeWindowCloseTest : public testing::TestWithParam<CloseCase> {};

// The next person to open the window finds nothing, not even through undo.
TEST_P(PasswordChangeWindowCloseTest, HandsBackTheTextsOnlyAfterOkAndEmptiesItsEdits)
{
    Tfrm_pass2 dialog;
    QStringList atSecondOpen;
    apptest::ModalScript script({
        [&](QWidget *) {
            for (const QString &text : {QStringLiteral("Vecchia 1"), QStringLiteral("Nuova 2"), QStringLiteral("Nuova 3")}) {
                apptest::typeText(&dialog, text);
                apptest::pressKey(&dialog, Qt::Key_Tab);
            }
            GetParam().close(dialog);
        },
        [&](QWidget *) {
            for (QLineEdit *edit : {dialog.old_pass(), dialog.pass1(), dialog.pass2()}) {
                edit->undo();
                atSecondOpen << edit->displayText();
            }
            dialog.reject();
        },
    });

    const std::optional<Tfrm_pass2::Entries> first = dialog.ask();
    ASSERT_EQ(first.has_value(), GetParam().accepted);
    if (first) {
        EXPECT_EQ((QStringList{first->oldPassword, first->newPassword, first->repeated}),
                  (QStringList{"Vecchia 1", "Nuova 2", "Nuova 3"}));
    }
    EXPECT_EQ(dialog.ask(), std::nullopt);
    EXPECT_EQ(script.handled(), 2);
    EXPECT_EQ(atSecondOpen, QStringList(3, QString()));
}

INSTANTIATE_TEST_SUITE_P(
    Ways, PasswordChangeWindowCloseTest,
    testing::Values(CloseCase{"Ok", [](Tfrm_pass2 &d) { d.ok()->click(); }, true},
                    CloseCase{"Annulla", [](Tfrm_pass2 &d) { d.annulla()->click(); }, false},
                    CloseCase{"Escape", [](Tfrm_pass2 &d) { apptest::pressKey(d.pass2(), Qt::Key_Escape); }, false},
                    CloseCase{"TitleBarClose", [](Tfrm_pass2 &d) { d.close(); }, false},
                    CloseCase{"Hidden", [](Tfrm_pass2 &d) { d.hide(); }, false}),
    [](const testing::TestParamInfo<CloseCase> &info) { return std::string(info.param.name); });

} // namespace
