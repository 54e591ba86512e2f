#pragma once
// Copying objects through the system clipboard in a format of our own (a one-page layout
// file under its own type), so that objects pass between designers and between two runs.

#include "output/report/model/TqnLayout.h"
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

struct Pasted {
    ViewList added;
    bool bandRefused = false;   // a band of a kind the page already holds was left out
    bool pagesAdded = false;    // a sub-report brought its page: the page list was reallocated
    bool pageRefused = false;   // a sub-report was left out: the layout has no room for its page
};
// Adds the clipboard's objects to page `page` of `layout`, shifted by `offset`, as inserted
// ones would be: free names, a band of a kind a page holds once only where it has none yet,
// a record source of its own for a data band, a page of its own for a sub-report.
Pasted paste(TqnLayout &layout, int page, QPoint offset);

} // namespace objectclipboard
