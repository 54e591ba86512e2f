#pragma once
// The clock behind a held navigator button. It is a seam of its own so that tests can
// fire it by hand instead of waiting for real time.

#include <functional>
#include <memory>

class NavRepeatTimer {
public:
    virtual ~NavRepeatTimer() = default;
    // (Re)starts counting `milliseconds` from now; fires repeatedly until stopped.
    virtual void start(int milliseconds) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;

    std::function<void()> onTimeout;
};

std::unique_ptr<NavRepeatTimer> makeNavRepeatTimer();
