#pragma once
// The named components the report engine can reach by "window.component": windows (and
// data modules) register their table datasets and report dataset components here. A window
// is found by name without regard to case, open windows before data modules; the component
// then by its name on that window.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

class TDataSet;

class ComponentDirectory final {
public:
    static ComponentDirectory &instance();

    enum class Kind { Window, DataModule };
    // Registers `component` under the window named `windowName` (the window is created on
    // first use); a component that is destroyed drops out by itself.
    void add(const QString &windowName, QObject *component, Kind kind = Kind::Window);
    // Removes the window and everything registered under it.
    void removeWindow(const QString &windowName);

    // "frm_main.Anagrafica": split at the first point; null when there is no point or no
    // such window or component.
    QObject *find(const QString &text) const;
    // The component of that name on the named window, or null.
    QObject *findOn(const QString &windowName, const QString &componentName) const;
    // The table datasets of every registered window as "window.component", in order.
    QStringList dataSetTexts() const;
    // Changes whenever what a find could answer may have changed (a window or component
    // registered or removed, a component renamed or destroyed): a caller that keeps what it
    // found under this stamp need not search again on every record it prints.
    quint64 stamp() const { return m_stamp; }

    // Unregisters the window when destroyed (for stack-held registrations).
    class Registration final {
    public:
        explicit Registration(QString windowName) : m_window(std::move(windowName)) {}
        ~Registration() { ComponentDirectory::instance().removeWindow(m_window); }
        Registration(const Registration &) = delete;
        Registration &operator=(const Registration &) = delete;

    private:
        QString m_window;
    };

private:
    // A component with its name as last set: a search compares names without asking each
    // component for a copy of its own.
    struct Component {
        QPointer<QObject> object;
        QString name;
    };
    struct Window {
        QString name;
        Kind kind;
        QList<Component> components;
    };
    const Window *window(const QString &name) const;
    void follow(QObject *component);
    void changed() { ++m_stamp; }
    QList<Window> m_windows;
    QSet<QObject *> m_followed;   // components whose renaming and end are watched
    quint64 m_stamp = 1;
};
