#pragma once
// A search's record count taken from the event loop in short steps, so that typing in the
// search box never waits for it: the first screen of cards shows at once, and each turn of
// the event loop counts one more span of rows, sized to take a few milliseconds, until the
// count is complete and handed over. Dropping the object drops the count where it stands;
// a newer search does just that to the count of the older one.

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

namespace dao {
class SelectionCount;
}

class BackgroundCount final : public QObject {
public:
    // rowsPerStep 0: the span of each step adapts to how long the last one took.
    BackgroundCount(std::unique_ptr<dao::SelectionCount> count, int rowsPerStep, std::function<void(int)> done);
    ~BackgroundCount() override;

private:
    void step();

    std::unique_ptr<dao::SelectionCount> m_count;
    bool m_adaptive;
    qint64 m_span;
    std::function<void(int)> m_done;
    QTimer m_timer;
};
