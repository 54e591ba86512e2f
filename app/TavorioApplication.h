#pragma once
// The application object. Errors that escape an event handler land here and are shown in
// the error box; the program then goes back to its message loop.

#include <QApplication>

class TavorioApplication final : public QApplication {
    Q_OBJECT
public:
    TavorioApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
