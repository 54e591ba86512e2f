#include "store/BackgroundCount.h"

#include "engine/SelectionCount.h"

#include <QElapsedTimer>

namespace {

// A step should be short enough that a key pressed meanwhile still echoes at once.
constexpr qint64 kFirstSpan = 1024;
constexpr qint64 kQuickStepNs = 2'000'000;
constexpr qint64 kSlowStepNs = 8'000'000;
constexpr qint64 kSmallestSpan = 64;

} // namespace

BackgroundCount::BackgroundCount(std::unique_ptr<dao::SelectionCount> count, int rowsPerStep,
                                 std::function<void(int)> done)
    : m_count(std::move(count)), m_adaptive(rowsPerStep <= 0), m_span(rowsPerStep > 0 ? rowsPerStep : kFirstSpan),
      m_done(std::move(done))
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, [this] { step(); });
    m_timer.start();
}

BackgroundCount::~BackgroundCount() = default;

// A failed step ends the count without one: the dataset counts when next asked, as it did
// before counting in the background, and reports a failure then.
void BackgroundCount::step()
{
    QElapsedTimer took;
    took.start();
    bool complete = false;
    try {
        complete = m_count->Step(m_span);
    } catch (const std::exception &) {
        m_timer.stop();
        return;
    }
    if (complete) {
        m_timer.stop();
        // The handler may drop this object: nothing of it is used after the call.
        const auto done = m_done;
        done(int(m_count->Count()));
        return;
    }
    if (!m_adaptive)
        return;
    const qint64 ns = took.nsecsElapsed();
    if (ns < kQuickStepNs)
        m_span *= 2;
    else if (ns > kSlowStepNs)
        m_span = std::max(kSmallestSpan, m_span / 2);
}
