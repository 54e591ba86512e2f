#pragma once
// Shared by the preview's tests: prepared pages made in code, a preview window on them with
// dialogs that answer as the test says, and what those dialogs were asked.

#include "output/report/TqnReport.h"
#include "output/report/ui/PreviewDialogs.h"
#include "output/report/ui/TStandardPreview.h"
#include "tests/report/ReportTestSupport.h"

#include <QDir>
#include <QPrinter>
#include <functional>

namespace previewtest {

// Key presses as the keyboard sends them: press and release, to the widget first and then
// up to its parents while no one takes them.
void keyClick(QWidget *widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void typeText(QWidget *widget, const QString &text);

// A text record as the page builder makes it: measured with the page's font.
void addText(PreparedPage &page, double x, double y, const QString &text);
// `count` A4 pages, each with the lines "Pagina N" and then `lines`(N) below it.
PreparedPages makePages(int count, const std::function<QStringList(int page)> &lines = {});

class ScriptedDialogs final : public PreviewDialogs {
public:
    std::optional<FindRequest> askFind(QWidget *, const FindRequest &previous) override;
    std::optional<FileChoice> chooseOpenFile(QWidget *, const QString &title, const QStringList &filters) override;
    std::optional<FileChoice> chooseSaveFile(QWidget *, const QString &title, const QStringList &filters) override;
    bool askPrint(QWidget *, QPrinter &printer, int pageCount) override;
    bool printersInstalled() override { return printers; }

    // What the next dialog answers; none cancels. With `findAsShown` the find dialog is
    // confirmed as it came up.
    std::optional<FindRequest> find;
    bool findAsShown = false;
    std::optional<FileChoice> file;
    std::function<bool(QPrinter &)> print;
    bool printers = true;
    // Each dialog moves the current folder here, as the desktop's own dialogs did.
    QString wanderTo;

    // What was asked.
    QString title;
    QStringList filters;
    FindRequest previousFind;
    int printPageCount = 0;
    int printCopiesShown = 0;
    QPrinter::PrintRange printRangeShown = QPrinter::Selection;
    int asked = 0;

private:
    void wander();
};

class PreviewFixture : public reporttest::ReportFixture {
protected:
    void SetUp() override;
    void TearDown() override;
    // A window on `pages`, given to the report, sized as a small screen.
    TStandardPreview &open(PreparedPages pages, bool ownCopy = false);

    ScriptedDialogs m_dialogs;
    std::unique_ptr<TStandardPreview> m_preview;
    QString m_startFolder;
};

// A printed list of the archive's cards built by the engine: a header with the date, one
// line per card, "Pagina N di M" at the foot; 500 cards make 12 pages.
class PreviewListFixture : public reporttest::ArchiveReportFixture {
protected:
    void buildList(int households = 500);
};

} // namespace previewtest
