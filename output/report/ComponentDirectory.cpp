#include "output/report/ComponentDirectory.h"

#include "db/TDataSet.h"

ComponentDirectory &ComponentDirectory::instance()
{
    static ComponentDirectory directory;
    return directory;
}

void ComponentDirectory::add(const QString &windowName, QObject *component, Kind kind)
{
    for (Window &w : m_windows)
        if (w.kind == kind && w.name.compare(windowName, Qt::CaseInsensitive) == 0) {
            if (component)
                w.components.append(component);
            return;
        }
    Window w{windowName, kind, {}};
    if (component)
        w.components.append(component);
    m_windows.append(w);
}

void ComponentDirectory::removeWindow(const QString &windowName)
{
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
    for (const auto &component : w->components)
        if (component && component->objectName().compare(componentName, Qt::CaseInsensitive) == 0)
            return component;
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
        for (const auto &component : w.components)
            if (qobject_cast<TDataSet *>(component.data()))
                texts.append(w.name + QLatin1Char('.') + component->objectName());
    return texts;
}
