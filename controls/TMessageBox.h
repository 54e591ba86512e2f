#pragma once
// The one box through which the program's windows speak to the user: a notice with an OK
// button or a Yes/No confirmation, warning icon, centred text, the application title as
// caption. Texts are shown exactly as given (their surrounding blanks included).

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

class TMessageBox final {
public:
    enum class Kind { Notice, Confirm };
    struct Request {
        Kind kind;
        QString caption;
        QString text;
    };
    // Stands in for the modal box; the result is the answer "Sì" (ignored for a notice).
    using ExecHook = std::function<bool(const Request &)>;

    explicit TMessageBox(QWidget *owner = nullptr) : m_owner(owner) {}

    void notice(const QString &text) const;
    bool confirm(const QString &text) const;

    // An empty hook brings the real box back.
    static void setExecHook(ExecHook hook);

    // Installs a hook for the lifetime of the guard and restores the previous one after.
    class ScopedExecHook final {
    public:
        explicit ScopedExecHook(ExecHook hook);
        ~ScopedExecHook();
        ScopedExecHook(const ScopedExecHook &) = delete;
        ScopedExecHook &operator=(const ScopedExecHook &) = delete;

    private:
        ExecHook m_previous;
    };

private:
    bool show(Kind kind, const QString &text) const;

    QPointer<QWidget> m_owner;
};
