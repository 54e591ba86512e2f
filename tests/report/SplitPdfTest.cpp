// A long report written in runs of pages on several threads and joined reads exactly as the
// same report written in one piece; a joiner given a file it does not fully know gives
// nothing rather than a broken file.

#include "output/report/print/PdfJoin.h"
#include "output/report/print/PdfOutput.h"
#include "tests/report/ReportTestSupport.h"
#include "tests/support/Processes.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSet>

using namespace reporttest;

namespace {

class SplitPdfTest : public ReportFixture {};

DrawRecord line(const QString &s, double x, double y, int font)
{
    return textLine(s, x, y, font, 260);
}

// Pages of a list: repeated headings, texts met once, a turned and a cut line, rules, a
// grey band, a picture, and a landscape page in the middle.
PreparedPages listPages(int count)
{
    QImage logo(12, 12, QImage::Format_RGB32);
    logo.fill(Qt::darkCyan);
    PreparedPages pages;
    for (int p = 0; p < count; ++p) {
        PreparedPage page;
        if (p == count / 2)
            page.Paper.Orientation = 1;
        page.Fonts = {{QStringLiteral("Arial"), 9, 0}, {QStringLiteral("MS Sans Serif"), 11, 2},
                      {QStringLiteral("Arial"), 8, 1}, {QStringLiteral("Arial"), 10, 4}};
        page.Records.push_back(line(QStringLiteral("Schede con nucleo familiare"), 30, 10, 1));
        for (int i = 0; i < 12; ++i) {
            const double y = 40 + i * 14.2;
            page.Records.push_back(line(QStringLiteral("Famiglia %1 – “Via Roma” %2").arg(p * 12 + i).arg(i % 3), 30, y, i % 4));
            page.Records.push_back(line(QStringLiteral("Capofamiglia"), 320.5, y, 0));
        }
        DrawRecord turned = line(QStringLiteral("Ruolo"), 600.25, 300, 0);
        turned.rotated = true;
        page.Records.push_back(turned);
        DrawRecord cut = line(QStringLiteral("Un testo lungo tagliato al bordo %1").arg(p), 500.1, 250, 2);
        cut.rect.setWidth(40);
        cut.clipped = true;
        page.Records.push_back(cut);
        DrawRecord rule;
        rule.kind = DrawRecord::Line;
        rule.rect = QRectF(30, 230, 500, 0);
        page.Records.push_back(rule);
        DrawRecord band;
        band.kind = DrawRecord::Fill;
        band.rect = QRectF(30, 260, 200, 12);
        band.color = 0xC0C0C0;
        page.Records.push_back(band);
        DrawRecord picture;
        picture.kind = DrawRecord::Image;
        picture.rect = QRectF(560, 10, 24, 24);
        picture.image = logo;
        page.Records.push_back(picture);
        page.Records.push_back(line(QStringLiteral("Pagina %1 di %2").arg(p + 1).arg(count), 450, 1000, 0));
        pages.append(page);
    }
    return pages;
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// The subset tags of a file's embedded fonts ("QSMEAA" of "/FontName /QSMEAA+DejaVuSans").
QStringList subsetTags(const QString &pdf)
{
    QStringList tags;
    static const QRegularExpression name(QStringLiteral("/FontName /([A-Z]{6})\\+"));
    for (const QRegularExpressionMatch &m : name.globalMatch(QString::fromLatin1(bytesOf(pdf))))
        tags << m.captured(1);
    return tags;
}

TEST_F(SplitPdfTest, AReportWrittenInRunsReadsAsTheOneWrittenWhole)
{
    const PreparedPages pages = listPages(95);
    // Letters whose UTF-16 bytes are brackets and backslashes, which the title's string escapes.
    const QString title = QStringLiteral("Prova (\u2828\u2929\u5C5C)");
    const QString whole = path(QStringLiteral("intero.pdf"));
    ASSERT_TRUE(writePdf(pages, whole, title, 1));
    const std::vector<PdfWord> expected = pdfWords(whole);
    ASSERT_EQ(expected.back().page, 95);

    for (int parts : {2, 3}) {
        SCOPED_TRACE(parts);
        const QString joined = path(QStringLiteral("in-%1-parti.pdf").arg(parts));
        ASSERT_TRUE(writePdf(pages, joined, title, parts));
        const std::vector<PdfWord> words = pdfWords(joined);
        ASSERT_EQ(words.size(), expected.size());
        for (size_t i = 0; i < words.size(); ++i) {
            ASSERT_EQ(words[i].page, expected[i].page) << i;
            ASSERT_EQ(words[i].text, expected[i].text) << i;
            ASSERT_EQ(words[i].box, expected[i].box) << words[i].text.toStdString();
        }
        // A file a strict reader accepts whole, with the landscape page where it was.
        testsupport::outputOf(QStringLiteral("qpdf"), {QStringLiteral("--check"), joined});
        const QString info = testsupport::outputOf(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("47"),
                                                                           QStringLiteral("-l"), QStringLiteral("48"), joined});
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page   47 size: +595 x 842"))));
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page   48 size: +842 x 595"))));
        EXPECT_TRUE(info.contains(QStringLiteral("Title:           ") + title)) << info.toStdString();
        EXPECT_TRUE(info.contains(QStringLiteral("Pages:           95")));
        // Every run brings its own subsets of the fonts: each under a name of its own.
        const QStringList fonts = subsetTags(joined);
        EXPECT_EQ(fonts.size(), 3 * parts);
        EXPECT_EQ(QSet<QString>(fonts.begin(), fonts.end()).size(), fonts.size()) << fonts.join(QLatin1Char(' ')).toStdString();
    }
}

TEST_F(SplitPdfTest, TheJoinerGivesNothingForWhatItDoesNotKnow)
{
    const QString one = path(QStringLiteral("uno.pdf"));
    ASSERT_TRUE(writePdf(listPages(2), one, QStringLiteral("Prova"), 1));
    const QByteArray part = bytesOf(one);
    const QByteArray joined = PdfJoin::join({part, part, part});
    ASSERT_FALSE(joined.isEmpty());
    QFile file(path(QStringLiteral("sei.pdf")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(joined);
    file.close();
    EXPECT_TRUE(testsupport::outputOf(QStringLiteral("pdfinfo"), {file.fileName()}).contains(QStringLiteral("Pages:           6")));

    const auto changed = [&](const QByteArray &from, const QByteArray &to) {
        QByteArray bytes = part;
        EXPECT_TRUE(bytes.contains(from)) << from.toStdString();
        return bytes.replace(from, to);
    };
    // The trailer comes after the table of offsets, which stays right.
    EXPECT_TRUE(PdfJoin::join({part, changed("/Root", "/Encrypt 9 0 R\n/Root")}).isEmpty());
    EXPECT_TRUE(PdfJoin::join({part, changed("/Root", "/Prev 9 /Root")}).isEmpty());
    // The same number of bytes, so every offset still holds.
    const QRegularExpressionMatch length = QRegularExpression(QStringLiteral("/Length (\\d+) 0 R")).match(QString::fromLatin1(part));
    ASSERT_TRUE(length.hasMatch());
    const QByteArray lengthObject = length.captured(1).toLatin1() + " 0 obj\n";
    const qsizetype at = part.indexOf(lengthObject) + lengthObject.size();
    QByteArray longer = part;
    longer[at] = longer[at] == '9' ? '1' : char(longer[at] + 1);
    EXPECT_TRUE(PdfJoin::join({part, longer}).isEmpty());
    EXPECT_TRUE(PdfJoin::join({part, changed("/Type /Catalog", "/Type /Katalog")}).isEmpty());
    EXPECT_TRUE(PdfJoin::join({part, changed("/Parent 3 0 R", "/Parent 2 0 R")}).isEmpty());
    EXPECT_TRUE(PdfJoin::join({part, changed("xref\n0 ", "xref\n1 ")}).isEmpty());
    EXPECT_TRUE(PdfJoin::join({part, part.left(part.size() - 40)}).isEmpty());
    EXPECT_TRUE(PdfJoin::join({part, part.left(part.size() / 2) + part.right(100)}).isEmpty());
    EXPECT_TRUE(PdfJoin::join({part, QByteArray("%PDF-1.4\n")}).isEmpty());
    EXPECT_TRUE(PdfJoin::join({}).isEmpty());
}

} // namespace
