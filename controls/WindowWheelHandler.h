#pragma once
// A window that wants the mouse wheel before the controls inside it. A grid offers the wheel
// to its window first and moves its records only when the window leaves it alone.

class QWheelEvent;

class WindowWheelHandler {
public:
    virtual ~WindowWheelHandler() = default;
    // True when the window took the wheel.
    virtual bool windowWheel(QWheelEvent &event) = 0;

protected:
    WindowWheelHandler() = default;
    WindowWheelHandler(const WindowWheelHandler &) = default;
    WindowWheelHandler &operator=(const WindowWheelHandler &) = default;
};
