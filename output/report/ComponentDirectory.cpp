#include "output/report/ComponentDirectory.h"

#include "db/TDataSet.h"

ComponentDirectory &ComponentDirectory::instance()
{
    static ComponentDirectory directory;
    return directory;
}

void ComponentDirectory::follow(QObject *component)
{
    // The directory lives as long as the program: the connections end with the component.
    if (m_followed.contains(component))
        return;
    m_followed.insert(component);
    QObject::connect(component, &QObject::destroyed, [this, component] {
        m_followed.remove(component);
        changed();
    });
    QObject::connect(component, &QObject::objectNameChanged, [this, component](const QString &name) {
        for (Window &w : m_windows)
            for (Component &c : w.components)
                if (c.object == component)
                    c.name = name;
        changed();
    });
}

void ComponentDirectory::add(const QString &windowName, QObject *component, Kind kind)
{
    changed();
    Window *target = nullptr;
    for (Window &w : m_windows)
        if (w.kind == kind && w.name.compare(windowName, Qt::CaseInsensitive) == 0) {
            target = &w;
            break;
        }
    if (!target) {
        m_windows.append(Window{windowName, kind, {}});
        target = &m_windows.last();
    }
    if (!component)
        return;
    target->components.append(Component{component, component->objectName()});
    follow(component);
}

void ComponentDirectory::removeWindow(const QString &windowName)
{
    changed();
    m_windows.removeIf([&](const Window &w) { return w.name.compare(windowName, Qt::CaseInsensitive) == 0; });
}

const ComponentDirectory::Window *ComponentDirectory::window(const QString &name) const
{
    for (Kind kind : {Kind::Window, Kind::DataModule})
        for (const Window &w : m_windows)
            if (w.kind == kind && w.name.compare(name, Qt::CaseInsensitive) == 0)
                return &w;
    return nullptr;
}

QObject *ComponentDirectory::findOn(const QString &windowName, const QString &componentName) const
{
    const Window *w = window(windowName);
    if (!w)
        return nullptr;
    // Component names on a window are unique and compared without regard to case.
    for (const Component &component : w->components)
        if (component.object && component.name.compare(componentName, Qt::CaseInsensitive) == 0)
            return component.object;
    return nullptr;
}

QObject *ComponentDirectory::find(const QString &text) const
{
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0)
        return nullptr;
    return findOn(text.left(point), text.mid(point + 1));
}

QStringList ComponentDirectory::dataSetTexts() const
{
    QStringList texts;
    for (const Window &w : m_windows)
        for (const Component &component : w.components)
            if (qobject_cast<TDataSet *>(component.object.data()))
                texts.append(w.name + QLatin1Char('.') + component.name);
    return texts;
}
