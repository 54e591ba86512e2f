#pragma once
// The printer seam over Qt's printer: a system printer by name, or a PDF file.

#include "output/report/print/ReportPrinter.h"

#include <QPainter>
#include <QPrinter>
#include <memory>

class QtReportPrinter final : public ReportPrinter {
public:
    // An empty name takes the system's default printer.
    explicit QtReportPrinter(const QString &printerName = QString());
    // Prints on a printer set up elsewhere (the print dialog's), which must outlive this.
    explicit QtReportPrinter(QPrinter &printer);
    ~QtReportPrinter() override;
    QPrinter &printer() { return *m_printer; }

    PreparedPaper paper() const override { return m_paper; }
    void setPaper(const PreparedPaper &paper) override;
    void setTitle(const QString &title) override { m_printer->setDocName(title); }
    void beginJob() override;
    bool started() const override { return m_painter != nullptr; }
    void newSheet() override;
    void drawPage(const PreparedPage &page, bool physicalOffset) override;
    void endJob() override;
    void abortJob() override;

private:
    std::unique_ptr<QPrinter> m_own;
    QPrinter *m_printer;
    PreparedPaper m_paper;
    std::unique_ptr<QPainter> m_painter;
    bool m_jobEnded = false;     // a file job whose end waits for a job that may follow
};

// Qt's printers for the report engine, for a program with windows: PrintPages prints on the
// system printer of the selected name, and the layout's printer is chosen among the installed
// ones. Without this the engine writes PDF files alone and knows no printer.
void useQtPrinters();
