#pragma once
// The dialogs' tests: an archive open on "frm_main", the texts of built pages, a PDF's pages.

#include "tests/report/ReportTestSupport.h"

#include <QStringList>

namespace dialogtest {

class DialogFixture : public reporttest::ArchiveReportFixture {
protected:
    // The texts of every prepared page, in drawing order.
    QStringList printedTexts() const;
    // Builds the pages and writes them as a PDF; pdftotext's pages, empty ones left out.
    QStringList printToPdf(const QString &name);
    // The page size pdfinfo reports for the PDF's first page, in points ("595.276 x 419.528").
    QString pdfPageSize(const QString &name) const;
};

} // namespace dialogtest
