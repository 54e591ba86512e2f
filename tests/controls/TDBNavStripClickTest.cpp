// What a press on a navigator button does: when the operation runs, the repeat of prior
// and next, the events around it, delete confirmation, bookmarks and the keyboard.

#include "TDBNavStripTestSupport.h"

#include "controls/TMessageBox.h"
#include "db/DatabaseError.h"

#include <QKeyEvent>

namespace {

using Kind = TNavStripBtn;
using namespace navtest;

class NavStripClick : public testing::Test {
protected:
    static void SetUpTestSuite() { ensureApplication(); }
    void SetUp() override { m_rig.data.open(); }

    NavRig m_rig{10};
    TNavStripButton *m_next = m_rig.button(Kind::nbNext);
};

TEST_F(NavStripClick, ReleaseOverTheButtonRunsItOnce)
{
    clickOn(m_next);
    EXPECT_EQ(m_rig.current(), 2);
}

TEST_F(NavStripClick, ReleaseOffTheButtonRunsNothing)
{
    press(m_next, centre(m_next));
    dragTo(m_next, outside(m_next));
    release(m_next, outside(m_next));
    EXPECT_EQ(m_rig.current(), 1);
    EXPECT_FALSE(m_next->isDown());
}

TEST_F(NavStripClick, PointerBackOverTheButtonBeforeReleaseStillRuns)
{
    press(m_next, centre(m_next));
    dragTo(m_next, outside(m_next));
    dragTo(m_next, centre(m_next));
    release(m_next, centre(m_next));
    EXPECT_EQ(m_rig.current(), 2);
}

TEST_F(NavStripClick, HoldingNextMovesAfterThePauseThenAtTheRepeatPace)
{
    FakeRepeatTimer *timer = installFakeTimer(m_next);
    press(m_next, centre(m_next));
    EXPECT_EQ(m_rig.current(), 1) << "the press alone moves nothing";
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 400);

    timer->fire();
    EXPECT_EQ(m_rig.current(), 2);
    EXPECT_EQ(timer->interval(), 100);
    timer->fire();
    timer->fire();
    EXPECT_EQ(m_rig.current(), 4);

    release(m_next, centre(m_next));
    EXPECT_EQ(m_rig.current(), 5) << "the release over the button moves once more";
    EXPECT_FALSE(timer->isActive());
}

TEST_F(NavStripClick, HeldRepeatWaitsWhileThePointerIsOff)
{
    FakeRepeatTimer *timer = installFakeTimer(m_next);
    press(m_next, centre(m_next));
    dragTo(m_next, outside(m_next));
    timer->fire();
    timer->fire();
    EXPECT_EQ(m_rig.current(), 1);

    dragTo(m_next, centre(m_next));
    timer->fire();
    EXPECT_EQ(m_rig.current(), 2);

    release(m_next, outside(m_next));
    EXPECT_EQ(m_rig.current(), 2);
    EXPECT_FALSE(timer->isActive());
}

TEST_F(NavStripClick, HoldingPriorRepeatsBackwards)
{
    m_rig.data.last();
    TNavStripButton *prior = m_rig.button(Kind::nbPrior);
    FakeRepeatTimer *timer = installFakeTimer(prior);
    press(prior, centre(prior));
    timer->fire();
    timer->fire();
    release(prior, centre(prior));
    EXPECT_EQ(m_rig.current(), 7);
}

TEST_F(NavStripClick, OtherButtonsDoNotRepeat)
{
    TNavStripButton *last = m_rig.button(Kind::nbLast);
    FakeRepeatTimer *timer = installFakeTimer(last);
    press(last, centre(last));
    EXPECT_FALSE(timer->isActive());
    release(last, centre(last));
    EXPECT_EQ(m_rig.current(), 10);
}

TEST_F(NavStripClick, ReachingTheEndStopsTheRepeat)
{
    m_rig.data.moveBy(7);   // record 8 of 10
    FakeRepeatTimer *timer = installFakeTimer(m_next);
    press(m_next, centre(m_next));
    timer->fire();
    timer->fire();   // onto the last record
    EXPECT_FALSE(m_rig.data.eof());
    timer->fire();   // finds the end: next turns disabled and lets the mouse go
    EXPECT_TRUE(m_rig.data.eof());
    EXPECT_FALSE(m_next->isEnabled());
    EXPECT_FALSE(timer->isActive());
}

TEST_F(NavStripClick, DisabledNavigatorIgnoresPresses)
{
    int before = 0;
    m_rig.nav.BeforeAction = [&](TDBNavStrip &, Kind) { ++before; };
    m_rig.nav.setEnabled(false);
    FakeRepeatTimer *timer = installFakeTimer(m_next);
    press(m_next, centre(m_next));
    EXPECT_FALSE(timer->isActive());
    release(m_next, centre(m_next));
    clickOn(m_rig.button(Kind::nbLast));
    EXPECT_EQ(m_rig.current(), 1);
    EXPECT_EQ(before, 0);
}

TEST_F(NavStripClick, EventsSurroundTheOperation)
{
    QStringList log;
    m_rig.nav.BeforeAction = [&](TDBNavStrip &, Kind kind) {
        log << QStringLiteral("before %1 at %2").arg(navIndex(kind)).arg(m_rig.current());
    };
    m_rig.nav.OnClick = [&](TDBNavStrip &, Kind kind) {
        log << QStringLiteral("click %1 at %2").arg(navIndex(kind)).arg(m_rig.current());
    };
    clickOn(m_rig.button(Kind::nbLast));
    EXPECT_EQ(log, QStringList({"before 3 at 1", "click 3 at 10"}));
}

TEST_F(NavStripClick, ButtonEventReplacesItsOperation)
{
    QStringList log;
    m_rig.nav.BeforeAction = [&](TDBNavStrip &, Kind) { log << "before"; };
    m_rig.nav.OnBtnNext = [&](TDBNavStrip &) { log << "own"; };
    m_rig.nav.OnClick = [&](TDBNavStrip &, Kind) { log << "click"; };
    clickOn(m_next);
    EXPECT_EQ(m_rig.current(), 1);
    EXPECT_EQ(log, QStringList({"before", "own", "click"}));
}

TEST_F(NavStripClick, WithoutAnOpenDataSetNothingHappens)
{
    int events = 0;
    m_rig.nav.BeforeAction = [&](TDBNavStrip &, Kind) { ++events; };
    m_rig.nav.OnClick = [&](TDBNavStrip &, Kind) { ++events; };
    m_rig.nav.OnBtnSearch = [&](TDBNavStrip &) { ++events; };
    m_rig.data.close();
    m_rig.nav.btnClick(Kind::nbSearch);
    m_rig.nav.setDataSource(nullptr);
    m_rig.nav.btnClick(Kind::nbSearch);
    EXPECT_EQ(events, 0);
}

TEST_F(NavStripClick, FailedPostPassesOnAndSkipsOnClick)
{
    int clicks = 0;
    m_rig.nav.OnClick = [&](TDBNavStrip &, Kind) { ++clicks; };
    m_rig.nav.btnClick(Kind::nbEdit);
    m_rig.data.failPosts = 1;
    EXPECT_THROW(m_rig.nav.btnClick(Kind::nbPost), EDatabaseError);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(m_rig.data.state(), TDataSetState::dsEdit);
    EXPECT_TRUE(m_rig.enabled(Kind::nbPost));
}

TEST_F(NavStripClick, AbortFromTheDataSetEndsThePressQuietly)
{
    m_rig.data.BeforeDelete = [](TDataSet &) { throw EAbort(); };
    m_rig.nav.setConfirmDelete(false);
    EXPECT_THROW(m_rig.nav.btnClick(Kind::nbDelete), EAbort);
    EXPECT_EQ(m_rig.data.recordCount(), 10);
}

TEST_F(NavStripClick, BookmarkTakesTheStripBackToTheMarkedRecord)
{
    m_rig.nav.btnClick(Kind::nbGotoBookMark);   // none yet: stays put
    EXPECT_EQ(m_rig.current(), 1);

    m_rig.data.moveBy(3);
    m_rig.nav.btnClick(Kind::nbSetBookmark);
    EXPECT_EQ(m_rig.nav.bookmark(), m_rig.data.getBookmark());
    m_rig.nav.btnClick(Kind::nbLast);
    m_rig.nav.btnClick(Kind::nbGotoBookMark);
    EXPECT_EQ(m_rig.current(), 4);
}

struct DeleteCase {
    const char *name;
    bool confirm;
    bool answer;
    bool asked;
    bool deleted;
};

std::ostream &operator<<(std::ostream &out, const DeleteCase &c) { return out << c.name; }

class NavStripDelete : public testing::TestWithParam<DeleteCase> {
protected:
    static void SetUpTestSuite() { ensureApplication(); }
};

TEST_P(NavStripDelete, ConfirmationDecides)
{
    const DeleteCase &c = GetParam();
    NavRig rig(3);
    rig.data.open();
    if (!c.confirm)   // a new navigator asks by default
        rig.nav.setConfirmDelete(false);
    QStringList asked;
    const TMessageBox::ScopedExecHook hook([&](const TMessageBox::Request &request) {
        asked << request.text;
        return c.answer;
    });
    rig.nav.btnClick(Kind::nbDelete);
    EXPECT_EQ(asked, c.asked ? QStringList{"Delete record?"} : QStringList{});
    EXPECT_EQ(rig.data.recordCount(), c.deleted ? 2 : 3);
}

INSTANTIATE_TEST_SUITE_P(Answers, NavStripDelete,
                         testing::Values(DeleteCase{"NewNavigatorAsksAndDeletesOnYes", true, true, true, true},
                                         DeleteCase{"NoKeepsTheRecord", true, false, true, false},
                                         DeleteCase{"FormNavigatorsDeleteWithoutAsking", false, false, false, true}),
                         [](const testing::TestParamInfo<DeleteCase> &info) { return std::string(info.param.name); });

class NavStripKeyboard : public NavStripClick {
protected:
    void key(int code)
    {
        QKeyEvent event(QEvent::KeyPress, code, Qt::NoModifier);
        QApplication::sendEvent(&m_rig.nav, &event);
    }
};

TEST_F(NavStripKeyboard, ArrowsMoveTheFrameAndSpaceClicksIt)
{
    m_rig.nav.setTabStop(true);
    m_rig.nav.setVisibleButtons({Kind::nbFirst, Kind::nbNext, Kind::nbLast});
    key(Qt::Key_Right);
    EXPECT_EQ(m_rig.nav.focusedButton(), navIndex(Kind::nbNext)) << "hidden prior is skipped";
    key(Qt::Key_Space);
    EXPECT_EQ(m_rig.current(), 2);
    key(Qt::Key_Right);
    key(Qt::Key_Right);   // no further visible button
    EXPECT_EQ(m_rig.nav.focusedButton(), navIndex(Kind::nbLast));
    key(Qt::Key_Left);
    EXPECT_EQ(m_rig.nav.focusedButton(), navIndex(Kind::nbNext));
}

TEST_F(NavStripKeyboard, WithoutTabStopKeysDoNothing)
{
    key(Qt::Key_Right);
    key(Qt::Key_Space);
    EXPECT_EQ(m_rig.nav.focusedButton(), 0);
    EXPECT_EQ(m_rig.current(), 1);
    EXPECT_EQ(m_rig.nav.focusPolicy(), Qt::NoFocus);
}

TEST_F(NavStripKeyboard, PressWithTabStopFramesThePressedButton)
{
    m_rig.nav.setTabStop(true);
    m_rig.nav.activateWindow();
    press(m_next, centre(m_next));
    EXPECT_EQ(m_rig.nav.focusedButton(), navIndex(Kind::nbNext));
    release(m_next, centre(m_next));
    EXPECT_EQ(m_rig.current(), 2);
}

} // namespace
