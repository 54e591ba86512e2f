#include "output/report/ui/designer/DesignerSettings.h"

#include <QSettings>

void DesignerSettings::load(const QStringList &toolBarNames, const QStringList &toolWindowNames)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Nessun nome"));
    settings.beginGroup(QStringLiteral("ToolBas"));
    for (const QString &name : toolBarNames)
        toolBars[name] = settings.value(name, toolBars.value(name, true)).toBool();
    settings.endGroup();
    for (const QString &name : toolWindowNames) {
        DesignerToolWindow &window = toolWindows[name];
        settings.beginGroup(name);
        window.visible = settings.value(QStringLiteral("Visible"), window.visible).toBool();
        if (settings.contains(QStringLiteral("Left")))
            window.geometry = QRect(settings.value(QStringLiteral("Left")).toInt(), settings.value(QStringLiteral("Top")).toInt(),
                                    settings.value(QStringLiteral("Width")).toInt(), settings.value(QStringLiteral("Height")).toInt());
        settings.endGroup();
    }
    settings.beginGroup(QStringLiteral("Options"));
    gridAlign = settings.value(QStringLiteral("GridAlign"), gridAlign).toBool();
    gridSize = designerunits::validGrid(settings.value(QStringLiteral("GridSize"), gridSize).toInt());
    const int unit = settings.value(QStringLiteral("Units"), int(units)).toInt();
    units = unit >= 0 && unit <= 2 ? DesignerUnit(unit) : DesignerUnit::Points;
    settings.endGroup();
    recentFiles = settings.value(QStringLiteral("Riapri/Files"), recentFiles).toStringList();
}

void DesignerSettings::save() const
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Nessun nome"));
    settings.beginGroup(QStringLiteral("ToolBas"));
    for (auto it = toolBars.begin(); it != toolBars.end(); ++it)
        settings.setValue(it.key(), it.value());
    settings.endGroup();
    for (auto it = toolWindows.begin(); it != toolWindows.end(); ++it) {
        settings.beginGroup(it.key());
        settings.setValue(QStringLiteral("Visible"), it->visible);
        settings.setValue(QStringLiteral("Left"), it->geometry.x());
        settings.setValue(QStringLiteral("Top"), it->geometry.y());
        settings.setValue(QStringLiteral("Width"), it->geometry.width());
        settings.setValue(QStringLiteral("Height"), it->geometry.height());
        settings.endGroup();
    }
    settings.beginGroup(QStringLiteral("Options"));
    settings.setValue(QStringLiteral("GridAlign"), gridAlign);
    settings.setValue(QStringLiteral("GridSize"), gridSize);
    settings.setValue(QStringLiteral("Units"), int(units));
    settings.endGroup();
    settings.setValue(QStringLiteral("Riapri/Files"), recentFiles);
}
