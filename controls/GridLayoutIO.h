#pragma once
// Writing and reading a grid's column order and widths as keys of its layout section:
// one key "<grid>.<field>" per column holding "<index>,<width>".

#include <QString>

class LayoutKeys;
class TColumns;

namespace gridlayout {

// The window's class name followed by the grid's name, under the store's section if any.
QString sectionName(const QString &storageSection, const QString &windowClass, const QString &gridName);

// Erases the section, then writes one key per column in display order.
void save(const TColumns &columns, const QString &gridName, const QString &section, LayoutKeys &keys);

// Applies stored widths at once, then moves every column to its stored position; a column
// without a key, or with a position that is no number, keeps its place and width.
void load(TColumns &columns, const QString &gridName, const QString &section, const LayoutKeys &keys);

} // namespace gridlayout
