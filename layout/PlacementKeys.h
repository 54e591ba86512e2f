#pragma once
// The window placement's keys in the window's section: "Flags", "ShowCmd", "PixelsPerInch",
// and the "MinMaxPos" and "NormPos" texts, each both under a key suffixed with the screen
// size, "(<width>x<height>)", and under the bare key that always holds the latest.

#include "layout/DisplayMetrics.h"
#include "layout/WindowPlacement.h"

#include <QString>

class IniLayoutKeys;

namespace placementkeys {

struct StoredPosition {
    WindowPlacement placement; // the current one with the stored flags, positions and rectangle
    bool found = false;        // a "MinMaxPos" or "NormPos" text was there
    int pixelsPerInch = 0;
};

// Missing or non-numeric parts keep the current placement's values (0 for positions).
StoredPosition readPosition(const IniLayoutKeys &keys, const QString &section, const WindowPlacement &current,
                            const DisplayMetrics &display);
// "ShowCmd", 0 when missing.
int readShowCommand(const IniLayoutKeys &keys, const QString &section);

// Raises EIniFileException at the first key that does not land.
void write(IniLayoutKeys &keys, const QString &section, const WindowPlacement &placement,
           const DisplayMetrics &display);

} // namespace placementkeys
