#pragma once
// The pictures of the main window's command bar, drawn in code so that no image files
// need to travel with the program: six 24 x 24 button pictures and the maker's banner.

#include <QPixmap>
#include <QSize>

enum class BarPicture { Card, List, Printer, Document, Gear, Book };

inline constexpr QSize kBarPictureSize{24, 24};

// Drawn at twice the size so that they stay sharp on high-density screens.
QPixmap barPicture(BarPicture picture);
QPixmap bannerPicture(const QSize &size);
