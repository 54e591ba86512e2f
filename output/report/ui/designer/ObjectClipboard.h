#pragma once
// Copying objects through the system clipboard in a format of our own (a one-page layout
// file under its own type), so that objects pass between designers and between two runs.

#include "output/report/ui/designer/SelectionEdits.h"

#include <QByteArray>
#include <QString>

namespace objectclipboard {

inline const QString kMimeType = QStringLiteral("application/x-tavorio-report-objects");

QByteArray encode(const ViewList &views);
// The objects held by `data`, in their order; none when the data is not ours or damaged.
std::vector<std::unique_ptr<TqnView>> decode(const QByteArray &data);

void copy(const ViewList &views);
bool available();
// Adds the clipboard's objects to `pages[page]` under free names, shifted by `offset`;
// returns the added objects.
ViewList paste(std::vector<TqnPage> &pages, int page, QPoint offset);

} // namespace objectclipboard
