#include "controls/NavRepeatTimer.h"

#include <QBasicTimer>
#include <QObject>
#include <QTimerEvent>

namespace {

// A timer event rather than a signal, so that an error thrown by the repeated operation
// travels the ordinary event path to the application's error display.
class QtRepeatTimer final : public QObject, public NavRepeatTimer {
public:
    void start(int milliseconds) override { m_timer.start(milliseconds, Qt::PreciseTimer, this); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

protected:
    void timerEvent(QTimerEvent *event) override
    {
        if (event->timerId() != m_timer.timerId()) {
            QObject::timerEvent(event);
            return;
        }
        if (onTimeout)
            onTimeout();
    }

private:
    QBasicTimer m_timer;
};

} // namespace

std::unique_ptr<NavRepeatTimer> makeNavRepeatTimer() { return std::make_unique<QtRepeatTimer>(); }
