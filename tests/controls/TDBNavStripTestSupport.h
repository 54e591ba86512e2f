#pragma once
// Helpers of the navigator tests: a Qt application, mouse events sent straight to a
// widget, and a repeat timer fired by hand.

#include "../db/MemoryDataSet.h"
#include "tests/support/QtApplication.h"
#include "controls/NavRepeatTimer.h"
#include "controls/TDBNavStrip.h"
#include "controls/TNavStripButton.h"
#include "db/TDataSource.h"

#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace navtest {

using testsupport::ensureApplication;

inline void sendMouse(QWidget *widget, QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline QPoint centre(QWidget *widget) { return widget->rect().center(); }
inline QPoint outside(QWidget *widget) { return QPoint(widget->width() + 5, widget->height() / 2); }

inline void press(QWidget *widget, QPoint at) { sendMouse(widget, QEvent::MouseButtonPress, at, Qt::LeftButton); }
inline void release(QWidget *widget, QPoint at) { sendMouse(widget, QEvent::MouseButtonRelease, at, Qt::NoButton); }
inline void dragTo(QWidget *widget, QPoint at) { sendMouse(widget, QEvent::MouseMove, at, Qt::LeftButton); }

inline void clickOn(QWidget *widget)
{
    press(widget, centre(widget));
    release(widget, centre(widget));
}

class FakeRepeatTimer final : public NavRepeatTimer {
public:
    void start(int milliseconds) override
    {
        m_interval = milliseconds;
        m_active = true;
    }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }
    int interval() const { return m_interval; }
    // What the real clock does once the interval has passed.
    void fire()
    {
        ASSERT_TRUE(m_active) << "the timer was not running";
        onTimeout();
    }

private:
    int m_interval = 0;
    bool m_active = false;
};

inline FakeRepeatTimer *installFakeTimer(TNavStripButton *button)
{
    auto timer = std::make_unique<FakeRepeatTimer>();
    FakeRepeatTimer *raw = timer.get();
    button->setRepeatTimer(std::move(timer));
    return raw;
}

// A navigator bound to a small table of numbered records ("R1".."Rn").
struct NavRig {
    explicit NavRig(int rows)
    {
        for (int i = 1; i <= rows; ++i)
            data.addRow({QString::number(i), QStringLiteral("R%1").arg(i)});
        source.setDataSet(&data);
        nav.setDataSource(&source);
        nav.show();
    }
    int current() { return data.recNo(); }
    bool enabled(TNavStripBtn kind) const { return nav.button(kind)->isEnabled(); }
    TNavStripButton *button(TNavStripBtn kind) const { return nav.button(kind); }

    MemoryDataSet data{{{QStringLiteral("ID"), TFieldType::ftInteger, 0, false, QString()},
                        {QStringLiteral("NAME"), TFieldType::ftString, 20, false, QString()}}};
    TDataSource source;
    TDBNavStrip nav;
};

} // namespace navtest
