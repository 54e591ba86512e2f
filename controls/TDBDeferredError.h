#pragma once
// Focus changes cannot be refused once Qt reports them, so an error raised while a control
// writes its value on leaving is raised again from the event loop, where the application
// reports it, after the control took the focus back.

#include <QObject>
#include <QTimer>
#include <exception>

inline void raiseFromEventLoop(QObject *context, std::exception_ptr error)
{
    QTimer::singleShot(0, context, [error] { std::rethrow_exception(error); });
}
