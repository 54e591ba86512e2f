#pragma once
// What every data grid of the main window shares: no border, the standard title face and
// font, rows 17 pixels high.

class TExDBGrid;

void applyWindowGridLook(TExDBGrid &grid);
