#pragma once
// The pictures of the designer's alignment, order, size and text-alignment buttons: small SVG
// drawings in the manner of the main window's bar pictures (grey outlines, pale fills, the
// guide in red), rendered at the sizes a tool bar asks for.

#include <QIcon>
#include <QString>

namespace designericons {

// The picture of the command with this caption ("Allinea i bordi sinistri", ...); a null icon
// for a command that has none.
QIcon forCommand(const QString &caption);
// The SVG text behind it, empty when there is none.
QByteArray svgFor(const QString &caption);

} // namespace designericons
