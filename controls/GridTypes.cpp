#include "controls/GridTypes.h"

#include <QApplication>
#include <QKeyEvent>
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

namespace gridkeys {

QKeyEvent *focusTabKey(QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return nullptr;
    auto *key = static_cast<QKeyEvent *>(event);
    const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
    return tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) ? key : nullptr;
}

} // namespace gridkeys
