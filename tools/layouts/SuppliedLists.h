#pragma once
// The printed lists supplied with the program, as their layouts are built through the
// report engine's model. data/stampe holds what these produce (tools/layouts/make-layouts
// writes them there); a test checks that the two agree.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace layouts {

// The layout file names this source knows, one per supplied list.
QStringList suppliedLayouts();
// The bytes of the layout file `tracciato`; empty for a name not in the list.
QByteArray suppliedLayoutBytes(const QString &tracciato);

} // namespace layouts
