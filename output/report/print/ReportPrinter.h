#pragma once
// The printer as the engine drives it: paper settings, print jobs, sheets and pages. Qt's
// printer implements it (QtReportPrinter); tests record what is asked of it.

#include "output/report/pages/PreparedPage.h"

#include <QString>
#include <functional>

class ReportPrinter {
public:
    virtual ~ReportPrinter() = default;
    virtual PreparedPaper paper() const = 0;
    virtual void setPaper(const PreparedPaper &paper) = 0;
    virtual void setTitle(const QString &title) = 0;
    virtual void beginJob() = 0;
    // Whether the job asked for last could start (a printer that cannot be opened: false).
    virtual bool started() const { return true; }
    virtual void newSheet() = 0;
    // Draws the page on the current sheet, shifted by the printer's unprintable border
    // when `physicalOffset` is set.
    virtual void drawPage(const PreparedPage &page, bool physicalOffset) = 0;
    virtual void endJob() = 0;
    virtual void abortJob() = 0;
};

// The print run of a prepared report: pages first..last (from 1; last clamped to the page
// count), each page `copies` times before the next, or the whole range `copies` times over
// when collating. A change of paper ends the job and starts a new one. `afterPage` runs
// after each page (pending window messages); when `stopped` turns true the job is aborted.
// False when the printer could not start a job: nothing more is sent to it.
struct PrintRequest {
    int first = 1;
    int last = 1;
    bool collate = false;
    int copies = 1;
    QString title;               // empty: "Quarnel: Nessun nome"
};
bool printPages(const PreparedPages &pages, const PrintRequest &request, ReportPrinter &printer,
                const std::function<void()> &afterPage, const std::function<bool()> &stopped);
