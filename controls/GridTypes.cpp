#include "controls/GridTypes.h"

#include <QApplication>
#include <QPalette>

namespace gridcolor {

namespace {
QColor paletteColor(QPalette::ColorRole role) { return QApplication::palette().color(QPalette::Active, role); }
} // namespace

QColor window() { return paletteColor(QPalette::Base); }
QColor windowText() { return paletteColor(QPalette::Text); }
QColor btnFace() { return paletteColor(QPalette::Button); }
QColor btnShadow() { return paletteColor(QPalette::Dark); }
QColor btnHighlight() { return paletteColor(QPalette::Light); }
QColor highlight() { return paletteColor(QPalette::Highlight); }
QColor highlightText() { return paletteColor(QPalette::HighlightedText); }

} // namespace gridcolor
