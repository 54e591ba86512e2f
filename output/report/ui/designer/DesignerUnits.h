#pragma once
// Units of measure and grid of the designer. Layout coordinates are pixels at 96 per inch;
// the designer calls them points, as the grid sizes do.

#include <QString>

enum class DesignerUnit { Points = 0, Millimetres = 1, Inches = 2 };

namespace designerunits {

// "Punti", "Millimetri", "Pollici".
QString name(DesignerUnit unit);
double fromPixels(double pixels, DesignerUnit unit);
double toPixels(double value, DesignerUnit unit);
// A value with the unit's decimals ("12", "3,2 mm" style without the unit).
QString format(double pixels, DesignerUnit unit);
// The grid sizes offered: 4, 8 and 19 points; anything else reads as 8.
int validGrid(int size);
// `value` moved to the nearest multiple of `grid`.
int snap(int value, int grid);

} // namespace designerunits
