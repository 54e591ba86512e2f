#include "tests/report_dialogs/DialogTestSupport.h"

#include "output/report/print/PdfOutput.h"

#include <QProcess>
#include <QRegularExpression>

namespace dialogtest {

QStringList DialogFixture::printedTexts() const
{
    return reporttest::textsOf(m_report->preparedPages());
}

QStringList DialogFixture::printToPdf(const QString &name)
{
    m_report->BuildPages();
    EXPECT_EQ(m_report->preparationError(), QString());
    EXPECT_TRUE(writePdf(m_report->preparedPages(), path(name), m_report->Title));
    QStringList pages;
    for (const QString &page : reporttest::pdfText(path(name)).split(QChar(12)))
        if (!page.trimmed().isEmpty())
            pages << page;
    return pages;
}

QString DialogFixture::pdfPageSize(const QString &name) const
{
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {path(name)});
    process.waitForFinished(60000);
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+ x [0-9.]+)"))
                                              .match(QString::fromUtf8(process.readAllStandardOutput()));
    return match.captured(1);
}

} // namespace dialogtest
