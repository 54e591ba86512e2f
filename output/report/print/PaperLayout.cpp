#include "output/report/print/PaperLayout.h"

#include <QPageLayout>
#include <QPageSize>
#include <algorithm>

QPageLayout pageLayoutOf(const PreparedPaper &paper)
{
    // Sizes are stored portrait; the orientation turns them.
    const QSizeF size(std::max(1, paper.Width) / 10.0, std::max(1, paper.Height) / 10.0);
    return QPageLayout(QPageSize(size, QPageSize::Millimeter),
                       paper.Orientation ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}
