#pragma once
// The designer's settings, kept where the platform keeps a program's registry settings for
// the organisation "Nessun nome": "ToolBas" with one flag per tool bar, one section per tool
// window ("Visible", "Left", "Top", "Width", "Height"), "Options" ("GridAlign",
// "GridSize", "Units"), and "Riapri" with the recently used files ("Files", full paths).

#include "output/report/ui/designer/DesignerUnits.h"

#include <QMap>
#include <QRect>
#include <QString>
#include <QStringList>

struct DesignerToolWindow {
    bool visible = true;
    QRect geometry;   // empty: where the designer first puts it
};

struct DesignerSettings {
    QMap<QString, bool> toolBars;                 // by tool bar caption
    QMap<QString, DesignerToolWindow> toolWindows; // by tool window name
    bool gridAlign = true;
    int gridSize = 8;
    DesignerUnit units = DesignerUnit::Points;
    QStringList recentFiles;                       // most recent first

    // Values missing from the store keep the ones already held.
    void load(const QStringList &toolBarNames, const QStringList &toolWindowNames);
    void save() const;
};
