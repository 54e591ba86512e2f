// Texts drawn from their kept shapes land in the PDF exactly as the painter's own drawText
// puts them: the pages' drawing and the embedded font subsets are the same bytes, whatever
// the text, its font, its place on the page or how small the store of shapes is.

#include "output/report/pages/PagePainter.h"
#include "output/report/pages/TextShapes.h"
#include "output/report/print/PaperLayout.h"
#include "output/report/print/PdfOutput.h"
#include "tests/report/ReportTestSupport.h"

#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QtEndian>
#include <functional>

using namespace reporttest;

namespace {

class ShapedTextTest : public ReportFixture {};

DrawRecord text(const QString &s, double x, double y, int font)
{
    return textLine(s, x, y, font, 300);
}

// A page of every kind of line, each met several times at other fractions of a pixel.
PreparedPages mixedPages()
{
    PreparedPages pages;
    for (int p = 0; p < 2; ++p) {
        PreparedPage page;
        page.Fonts = {{QStringLiteral("Arial"), 9, 0}, {QStringLiteral("MS Sans Serif"), 11, 2},
                      {QStringLiteral("Arial"), 8, 1}, {QStringLiteral("Arial"), 10, 4}};
        const QStringList lines = {QStringLiteral("Pagina 1 di 605"),
                                   QStringLiteral("Via Roma, 12 – “città” d’Italia, 5 €"),
                                   QStringLiteral("  spazi ai lati  "),
                                   QStringLiteral("affitto ufficio AVATAR Tè"),
                                   QStringLiteral("日本語 e Ελληνικά"),
                                   QStringLiteral("A\tB"),
                                   QStringLiteral("soft\u00ADhyphen"),
                                   QStringLiteral("مرحبا"),
                                   QString()};
        double y = 20.3;
        for (int round = 0; round < 3; ++round) {
            for (int i = 0; i < int(lines.size()); ++i) {
                DrawRecord r = text(lines[i], 40.37 * (round + 1) + i / 128.0, y, (i + round) % 4);
                r.color = quint32(round * 0x203040);
                page.Records.push_back(r);
                y += 13.3333 + round / 1024.0;
            }
            DrawRecord turned = text(QStringLiteral("Ruolo"), 600.25, 300 + round, 0);
            turned.rotated = true;
            page.Records.push_back(turned);
            DrawRecord cut = text(QStringLiteral("Un testo lungo tagliato al bordo"), 500.1, y, 1);
            cut.rect.setWidth(40);
            cut.clipped = true;
            page.Records.push_back(cut);
            page.Records.push_back(text(QStringLiteral("Fuori"), -0.3 - round, y + 20, 0));
            DrawRecord line;
            line.kind = DrawRecord::Line;
            line.rect = QRectF(30, y + 2, 500, 0);
            page.Records.push_back(line);
            DrawRecord fill;
            fill.kind = DrawRecord::Fill;
            fill.rect = QRectF(45, y - 10, 30, 12);
            fill.color = 0xC0C0C0;
            page.Records.push_back(fill);
            y += 40;
        }
        pages.append(page);
    }
    return pages;
}

// Written as writePdf writes, each page drawn by `paint`.
void writeWith(const PreparedPages &pages, const QString &path,
               const std::function<void(QPainter &, const PreparedPage &, double)> &paint)
{
    QPdfWriter writer(path);
    writer.setResolution(600);
    writer.setPageLayout(pageLayoutOf(pages.front().Paper));
    QPainter painter(&writer);
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0)
            writer.newPage();
        paint(painter, pages[i], 600 / 96.0);
    }
}

// The bodies of a file's streams, inflated: the pages' drawing and the embedded fonts.
std::vector<QByteArray> streams(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    std::vector<QByteArray> bodies;
    const QByteArray start(">>\nstream\n");
    for (qsizetype at = pdf.indexOf(start); at >= 0; at = pdf.indexOf(start, at)) {
        at += start.size();
        const qsizetype end = pdf.indexOf("\nendstream", at);
        const QByteArray body = pdf.mid(at, end - at);
        if (!body.startsWith('\x78')) {   // not deflated
            bodies.push_back(body);
        } else {
            QByteArray sized(4, '\0');
            qToBigEndian<quint32>(1u << 20, sized.data());   // qUncompress's first guess of the size
            bodies.push_back(qUncompress(sized + body));
        }
        at = end;
    }
    return bodies;
}

TEST_F(ShapedTextTest, ThePdfHoldsTheSameBytesAsWhenEveryLineIsDrawnPlainly)
{
    const PreparedPages pages = mixedPages();
    const QString plain = path(QStringLiteral("semplice.pdf"));
    writeWith(pages, plain, [](QPainter &painter, const PreparedPage &page, double scale) {
        PagePainter::paint(painter, page, scale);
    });
    const std::vector<QByteArray> expected = streams(plain);
    ASSERT_GE(expected.size(), 4u);

    const QString written = path(QStringLiteral("scritto.pdf"));
    ASSERT_TRUE(writePdf(pages, written, QStringLiteral("Prova")));
    EXPECT_TRUE(streams(written) == expected);

    // Shapes pushed out of a store of two before they are met again.
    const QString crowded = path(QStringLiteral("affollato.pdf"));
    TextShapes two(2);
    writeWith(pages, crowded, [&](QPainter &painter, const PreparedPage &page, double scale) {
        PagePainter::paint(painter, page, scale, two);
    });
    EXPECT_TRUE(streams(crowded) == expected);

    // The shaped lines keep their text for a reader.
    const std::vector<PdfWord> words = pdfWords(written);
    EXPECT_TRUE(std::any_of(words.begin(), words.end(), [](const PdfWord &w) { return w.text == QStringLiteral("“città”"); }));
}

TEST_F(ShapedTextTest, OnlyARepeatedSingleItemLineIsDrawnFromItsShape)
{
    QImage image(400, 200, QImage::Format_ARGB32);
    QPainter painter(&image);
    TextShapes shapes;
    QFont font(QStringLiteral("Sans Serif"));
    painter.setFont(font);
    const int plainFont = shapes.slot(painter);
    font.setUnderline(true);
    painter.setFont(font);
    const int underlined = shapes.slot(painter);
    EXPECT_NE(plainFont, underlined);

    const QString line = QStringLiteral("Scadenza ISEE: 31/12/2026 – “Roma”");
    EXPECT_FALSE(shapes.draw(painter, plainFont, QPointF(10, 20), line));   // met once: plainly
    EXPECT_TRUE(shapes.draw(painter, plainFont, QPointF(10, 40), line));
    EXPECT_TRUE(shapes.draw(painter, plainFont, QPointF(10.3, 60.7), line));
    EXPECT_FALSE(shapes.draw(painter, plainFont, QPointF(-1, 60), line));   // left of the origin
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(shapes.draw(painter, underlined, QPointF(10, 80), line));
        EXPECT_FALSE(shapes.draw(painter, plainFont, QPointF(10, 80), QStringLiteral("Roma Αθήνα")));
        EXPECT_FALSE(shapes.draw(painter, plainFont, QPointF(10, 80), QStringLiteral("Colonna\t2")));
    }
    EXPECT_FALSE(shapes.draw(painter, 7, QPointF(10, 80), line));   // no such slot
}

} // namespace
