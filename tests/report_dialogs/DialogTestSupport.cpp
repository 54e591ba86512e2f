#include "tests/report_dialogs/DialogTestSupport.h"

#include "output/report/print/PdfOutput.h"
#include "tests/support/Processes.h"

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
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+ x [0-9.]+)"))
                                              .match(testsupport::outputOf(QStringLiteral("pdfinfo"), {path(name)}));
    return match.captured(1);
}

} // namespace dialogtest
