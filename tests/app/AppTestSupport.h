#pragma once
// Helpers for the window tests: a working folder of its own per test, keyboard input, and a
// script of actions for the modal windows that open while the code under test runs.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

namespace apptest {

// Makes a fresh folder the working folder and puts the process-wide values back to their
// start-of-run state; undoes both at the end.
class WorkingFolder final {
public:
    WorkingFolder();
    ~WorkingFolder();
    WorkingFolder(const WorkingFolder &) = delete;
    WorkingFolder &operator=(const WorkingFolder &) = delete;

    // Full path of a file in the folder.
    QString file(const QString &name) const;
    // The folder as the program names it: with a trailing "/".
    QString folder() const;

private:
    QString m_previous;
    QTemporaryDir m_dir;
};

// What reaches the error box, kept instead of shown: in a list of its own, or in one it
// shares with other messages so that their order shows. The real box is back when it goes,
// whether the test passed or not.
class ErrorBoxRecorder final {
public:
    ErrorBoxRecorder() : ErrorBoxRecorder(m_own) {}
    explicit ErrorBoxRecorder(QStringList &into);
    ~ErrorBoxRecorder();
    ErrorBoxRecorder(const ErrorBoxRecorder &) = delete;
    ErrorBoxRecorder &operator=(const ErrorBoxRecorder &) = delete;

    const QStringList &texts() const { return m_texts; }

private:
    QStringList m_own;
    QStringList &m_texts;
};

QByteArray readAll(const QString &path);
void writeFile(const QString &path, const QByteArray &content);

// Key presses as the user makes them, delivered to the widget that has the focus in its
// window (or to the widget itself).
void typeText(QWidget *widget, const QString &text);
void pressKey(QWidget *widget, int key);

// Every modal window that opens is handed to the next action of the script, which must close
// it. A window left open, or one opening when no action is left, is closed with "reject" and
// counts as a test failure, so no test can hang on a modal loop.
class ModalScript final {
public:
    using Action = std::function<void(QWidget *modal)>;

    explicit ModalScript(std::deque<Action> actions);
    ~ModalScript();
    ModalScript(const ModalScript &) = delete;
    ModalScript &operator=(const ModalScript &) = delete;

    int handled() const { return m_handled; }
    bool finished() const { return m_actions.empty(); }

private:
    void poll();

    std::deque<Action> m_actions;
    int m_handled = 0;
    QTimer m_timer;
};

} // namespace apptest
