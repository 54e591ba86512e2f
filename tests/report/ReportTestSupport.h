#pragma once
// Shared by the report engine's tests: recorded message boxes, layouts put together in
// code, an archive opened through the main window's seven datasets registered as
// "frm_main", and the text of a written PDF.

#include "output/report/ReportMessages.h"
#include "output/report/TqnReport.h"
#include "session/TMainData.h"
#include "store/TArcDatabase.h"

#include <QRectF>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace reporttest {

struct Message {
    QString text;
    QString caption;
    TqnMessageIcon icon;
};

class RecordingMessages final : public ReportMessages {
public:
    void show(const QString &text, const QString &caption, TqnMessageIcon icon) override
    {
        shown.push_back({text, caption, icon});
    }
    void beep() override { ++beeps; }
    std::vector<Message> shown;
    int beeps = 0;
};

// Objects added to a layout page; positions in layout pixels.
TqnBandView &addBand(TqnPage &page, TqnBandType type, int y, int height, const QString &source = {});
TqnMemoView &addMemo(TqnPage &page, int x, int y, int width, int height, const QString &text,
                     const QString &name = {});
// A bound record source "frm_main.<table>" named `name`, added to the layout.
TqnDBDataSet &addBoundSource(TqnLayout &layout, const QString &table, const QString &name);

// The test's own folder, a Qt application, a window "frm_main" with a report on it.
class ReportFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    std::unique_ptr<QObject> m_window;
    std::unique_ptr<TqnReport> m_report;
    RecordingMessages m_messages;
};

// As above, with an archive of `households` cards open through the seven datasets.
class ArchiveReportFixture : public ReportFixture {
protected:
    void openArchive(int households);
    void TearDown() override;

    std::unique_ptr<TArcDatabase> m_database;
    std::unique_ptr<TMainData> m_data;
};

// A line of text as a built page holds it: `width` wide, one line high, in the page's font
// number `font`.
DrawRecord textLine(const QString &text, double x, double y, int font, double width);

// The text records of prepared pages, in the order they were laid out.
QStringList textsOf(const PreparedPages &pages);

// pdftotext's reading of the file, pages separated by form feeds.
QString pdfText(const QString &pdf);

// A word pdftotext finds in a PDF file: its page (from 1), its text with the XML entities
// read, and its box in points from the page's top left corner.
struct PdfWord {
    int page;
    QString text;
    QRectF box;
};

std::vector<PdfWord> pdfWords(const QString &pdf);

} // namespace reporttest
