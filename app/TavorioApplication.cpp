#include "app/TavorioApplication.h"

#include "forms/ErrorBox.h"

TavorioApplication::TavorioApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TavorioApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        reportUnhandled(activeWindow(), error);
    }
    return false;
}
