// Turns the manual's HTML source into the PDF that ships beside the program.
// Usage: make-manual SOURCE.html OUTPUT.pdf

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <cstdio>

namespace {

const char *const kStyle = R"(
h1 { font-size: 26pt; color: #1d3f66; }
h2 { font-size: 15pt; color: #1d3f66; margin-top: 18px; }
h3 { font-size: 12pt; color: #2a6060; }
p, li { font-size: 10.5pt; }
td, th { font-size: 10pt; }
th { background-color: #dde6ef; }
code { font-family: monospace; }
.sottotitolo { font-size: 13pt; color: #2a8080; }
)";

int fail(const char *what, const QString &path)
{
    std::fprintf(stderr, "make-manual: %s %s\n", what, qPrintable(path));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    // A build machine has no screen; the document only needs fonts.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-manual SOURCE.html OUTPUT.pdf\n");
        return 64;
    }
    const QString sourcePath = QString::fromLocal8Bit(argv[1]);
    const QString outputPath = QString::fromLocal8Bit(argv[2]);

    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        return fail("cannot read", sourcePath);

    QTextDocument document;
    QFont font(QStringLiteral("sans-serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(10.5);
    document.setDefaultFont(font);
    document.setDefaultStyleSheet(QString::fromLatin1(kStyle));
    document.setHtml(QString::fromUtf8(source.readAll()));

    QPdfWriter writer(outputPath);
    writer.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
    writer.setCreator(QStringLiteral("Tavorio"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 18, 20, 18),
                                     QPageLayout::Millimeter));
    // print() lays the text out on the writer's pages and numbers them.
    document.print(&writer);
    if (!QFile::exists(outputPath))
        return fail("cannot write", outputPath);
    return 0;
}
