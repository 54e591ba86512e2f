#include "output/report/print/PdfOutput.h"

#include "output/report/pages/PagePainter.h"
#include "output/report/pages/TextShapes.h"
#include "output/report/print/PaperLayout.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

bool writePdf(const PreparedPages &pages, const QString &path, const QString &title)
{
    QPdfWriter writer(path);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Tavorio"));
    writer.setResolution(600);
    if (!pages.isEmpty())
        writer.setPageLayout(pageLayoutOf(pages.front().Paper));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const double scale = writer.resolution() / 96.0;
    // A list repeats most of its texts from page to page: each is shaped once for the file.
    TextShapes shapes;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            writer.setPageLayout(pageLayoutOf(pages[i].Paper));
            writer.newPage();
        }
        PagePainter::paint(painter, pages[i], scale, shapes);
    }
    return painter.end();
}
