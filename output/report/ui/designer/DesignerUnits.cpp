#include "output/report/ui/designer/DesignerUnits.h"

#include <QLocale>
#include <cmath>

namespace designerunits {

QString name(DesignerUnit unit)
{
    switch (unit) {
    case DesignerUnit::Millimetres: return QStringLiteral("Millimetri");
    case DesignerUnit::Inches: return QStringLiteral("Pollici");
    case DesignerUnit::Points: break;
    }
    return QStringLiteral("Punti");
}

double fromPixels(double pixels, DesignerUnit unit)
{
    switch (unit) {
    case DesignerUnit::Millimetres: return pixels * 25.4 / 96.0;
    case DesignerUnit::Inches: return pixels / 96.0;
    case DesignerUnit::Points: break;
    }
    return pixels;
}

double toPixels(double value, DesignerUnit unit)
{
    switch (unit) {
    case DesignerUnit::Millimetres: return value * 96.0 / 25.4;
    case DesignerUnit::Inches: return value * 96.0;
    case DesignerUnit::Points: break;
    }
    return value;
}

QString format(double pixels, DesignerUnit unit)
{
    const int decimals = unit == DesignerUnit::Points ? 0 : unit == DesignerUnit::Millimetres ? 1 : 2;
    return QLocale(QLocale::Italian).toString(fromPixels(pixels, unit), 'f', decimals);
}

int validGrid(int size)
{
    return size == 4 || size == 19 ? size : 8;
}

int snap(int value, int grid)
{
    return grid <= 0 ? value : int(std::lround(double(value) / grid)) * grid;
}

} // namespace designerunits
