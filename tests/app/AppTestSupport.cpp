#include "AppTestSupport.h"

#include "forms/ErrorBox.h"
#include "session/ProcessValues.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QPointer>
#include <gtest/gtest.h>

namespace apptest {

WorkingFolder::WorkingFolder() : m_previous(QDir::currentPath())
{
    EXPECT_TRUE(m_dir.isValid());
    QDir::setCurrent(m_dir.path());
    ProcessValues::reset();
}

WorkingFolder::~WorkingFolder()
{
    QDir::setCurrent(m_previous);
    ProcessValues::reset();
}

QString WorkingFolder::file(const QString &name) const { return m_dir.filePath(name); }

QString WorkingFolder::folder() const { return m_dir.path() + u'/'; }

ErrorBoxRecorder::ErrorBoxRecorder(QStringList &into) : m_texts(into)
{
    setErrorBoxHook([this](const QString &text) { m_texts << text; });
}

ErrorBoxRecorder::~ErrorBoxRecorder()
{
    setErrorBoxHook({});
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(content);
}

namespace {

QWidget *keyTarget(QWidget *widget)
{
    QWidget *focused = widget->window()->focusWidget();
    return focused ? focused : widget;
}

void sendKey(QWidget *widget, int key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(keyTarget(widget), &press);
    // The press may have closed the window; the release then goes nowhere, as for a user.
    if (widget->isVisible()) {
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(keyTarget(widget), &release);
    }
}

} // namespace

void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        sendKey(widget, c.toUpper().unicode(), QString(c));
}

void pressKey(QWidget *widget, int key) { sendKey(widget, key, {}); }

ModalScript::ModalScript(std::deque<Action> actions) : m_actions(std::move(actions))
{
    m_timer.setInterval(5);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start();
}

ModalScript::~ModalScript() { m_timer.stop(); }

void ModalScript::poll()
{
    const QPointer<QWidget> modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    if (m_actions.empty()) {
        ADD_FAILURE() << "unexpected modal window " << modal->windowTitle().toStdString();
    } else {
        const Action action = std::move(m_actions.front());
        m_actions.pop_front();
        ++m_handled;
        action(modal);
        if (modal && modal->isVisible())
            ADD_FAILURE() << "the script left " << modal->windowTitle().toStdString() << " open";
    }
    if (modal && modal->isVisible()) {
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }
}

} // namespace apptest
