#pragma once
// Builds the prepared pages of a layout over the data. One layout page after the other, its
// bands are laid out as a banded designer's user expects:
//   - report title once, at the top of the first page (after the page header unless the
//     page prints the title first: there it still grows with its texts and, with a new
//     page after it, stands alone on its page); report summary once after the data;
//   - page header at the top of every page, page footer at the bottom margin of every page;
//     data never runs into the footer: a band that does not fit starts the next column or
//     page;
//   - column header and footer at the top and bottom of every column;
//   - master data band once per record of its source, between its header and footer; for
//     each master record the detail band over its own source (a table that follows the
//     master through its master/detail link), and inside each detail record the
//     sub-detail band, each with header and footer printed when it has records;
//   - group headers (in their order on the page, outermost first) whenever their
//     condition's value changes, group footers before the next group and at the end; a
//     header never stands alone at the foot of a page: it moves on with its first record,
//     and so does a detail header;
//   - a header with the repeat option (master, group, detail, sub-detail) prints again at
//     the top of each column or page its records go on to, outermost first, under the
//     column header; a page header or footer kept to the first page prints there only;
//   - overlay band and objects outside any band drawn on every page at their place;
//   - cross-table bands: the header, then one data band per record side by side, then
//     the footer, after the master data;
//   - a sub-report object in a band of the flow runs its layout page's bands as a main page
//     runs them (data, details, groups, totals), from its box's top left, going on over
//     the next pages as far as its records need; the page then goes on under it. In a
//     page header, footer or overlay it prints inside its box, and records the box has no
//     room for end the run with an error;
//   - a band with the stretch option grows with its texts (GrownBand.h); one that no longer
//     fits the room left moves whole to the next column or page, and one taller than a
//     whole page is printed in pieces cut between lines, never over the footers.
// Footers (6, 9, 12, 17) print with their record source moved back one record, so that
// they show the last record. Errors end the run through the preparation error.

#include "db/TDataSet.h"
#include "output/report/build/PreparationError.h"
#include "output/report/model/BandType.h"
#include "output/report/build/ReportScope.h"
#include "output/report/expr/ExprStatistics.h"
#include "output/report/expr/ExprSystemValues.h"
#include "output/report/pages/PreparedPage.h"

#include <QDateTime>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class ObjectRenderer;
class PageTotalLater;
struct GrownBand;
class TqnBandView;
class TqnDataset;
class TqnLayout;
class TqnPage;
class TqnView;

struct BuildEvents {
    std::function<void()> onBeginDoc, onEndDoc;
    std::function<void(int layoutPage)> onBeginPage, onEndPage;
    std::function<void(const TqnView &)> onBeforePrint, onAfterPrint;
    std::function<void(const TqnView &, QRectF box)> onDrawObject;
    std::function<void(const QString &dataSetName)> onDataSetWork;
    // After a band's objects were drawn on the final pages (not in the counting first pass of
    // a two-pass layout), with the scope their texts were read in: a spreadsheet export reads
    // the data band's values here.
    std::function<void(const TqnBandView &, report::ExprScope &)> onBandDrawn;
    ReportScope::GetValueEvent onGetValue;
    ReportScope::UserFunctionEvent onUserFunction;
    std::function<void()> processEvents;      // pending window messages, after each page
    // Called as each page starts (its number, whether this is the counting first pass of a
    // two-pass layout); false cancels the run.
    std::function<bool(int page, bool firstPass)> progress;
};

class PageBuilder final {
public:
    PageBuilder(const TqnLayout &layout, QString windowName, bool disableDataSetControls,
                PreparationError &error, BuildEvents events);
    ~PageBuilder();

    // DATE and TIME hold `started` for the whole run.
    PreparedPages run(const QDateTime &started);
    bool cancelled() const { return m_cancelled; }

private:
    struct Band {
        const TqnBandView *view = nullptr;
        std::vector<const TqnView *> objects;
        std::unique_ptr<report::ExprStatistics> stats;
        std::unique_ptr<report::Expression> group;   // group headers
        std::optional<report::ExprValue> lastGroupValue;
        double height() const;
    };
    struct Plan {
        std::vector<std::unique_ptr<Band>> bands;
        std::array<Band *, 22> byType{};
        std::vector<Band *> groupHeaders, groupFooters;
        std::vector<const TqnView *> loose;
    };

    // PageBuilder.cpp: the run and the data.
    void pass();
    // A two-pass layout: counted first, then built with the page total known; or, when
    // nothing could tell the two apart, built once and the total written in afterwards.
    void runTwoPasses();
    void runOnceTotalLater();
    // Whether anything outside the builder would see a counting first pass: the report's
    // events, a record source's events or its filter computed from the page total.
    bool firstPassSeen() const;
    TqnDataset *findSource(const QString &name) const;
    void checkVariables();
    void buildLayoutPage(int index);
    void makePlan(const TqnPage &page, Plan &plan);
    void runMaster();
    void runDetail(TqnBandType dataType);
    // Records "Dataset chiuso" and returns true when the bound table of `source` was closed.
    bool sourceClosed(TqnDataset *source);
    void runCross();
    TqnDataset *sourceFor(const Band &data);
    bool initSource(TqnDataset *source);
    // The statistics fed by a record of `dataType`: those of the page and column footers
    // (`placed`) once its band has its place on a page, the others as the record is read.
    void accumulate(TqnBandType dataType, bool placed = false);
    void checkGroups();
    double masterRecordHeight() const;
    void printGroupFooters(size_t fromLevel, TqnDataset *source);
    void printFooter(Band *footer, TqnDataset *source, bool moveBack);
    void fail(const QString &detail, const QString &object = QString());

    // PageBuilderFlow.cpp: pages, columns and bands on them.
    void startPage();
    void endPage();
    void nextColumnOrPage();
    // Starts the next column or page unless `height` more fits under what is printed: a
    // header goes where its first record goes.
    void keepTogether(double height);
    void printBand(Band *band, bool flowing = true);
    void countPlaced(const Band &band);
    void drawBandAt(Band &band, QPointF origin);
    // After a band is drawn whole (its last piece, for one cut over pages): the band events.
    void bandDrawn(const TqnBandView &view);
    // Headers marked to repeat: remembered once printed over their records, printed again
    // under the column header of each new column or page, forgotten when their records end.
    void rememberRepeating(Band *header);
    void printRepeatedHeaders();
    // The page header and footer of the page being built (null when kept to the first page).
    Band *pageBand(TqnBandType type) const;
    // PageBuilderStretch.cpp: bands whose texts grow.
    void printGrowing(Band &band);
    void printGrownTitle(Band &band);
    bool growBand(Band &band, GrownBand &grown);
    void drawGrownPiece(Band &band, const GrownBand &grown, double from, double to, QPointF origin);
    void drawSubReport(const TqnView &view, QPointF at);
    void runPendingSubReports();
    void runSubReport(const TqnView &view, QPointF at);
    void setBandScope(const Band &band);
    double dataLimit() const;
    // Where flowing bands start: the column's body, or a sub-report's box being filled.
    double regionTop() const { return m_boxLimit >= 0 ? m_boxTop : m_bodyTop; }
    double columnOffset() const;

    const TqnLayout &m_layout;
    QString m_windowName;
    bool m_disableControls;
    PreparationError &m_error;
    BuildEvents m_events;
    report::ExprSystemValues m_system;
    ReportScope m_scope;
    std::unique_ptr<ObjectRenderer> m_renderer;
    PageTotalLater *m_totalLater = nullptr;   // while built once

    PreparedPages m_pages;
    int m_passPageCount = 0;
    // The layout page being built.
    const TqnPage *m_page = nullptr;
    int m_layoutPage = 0;
    Plan m_plan;
    // The bands records run through: the layout page's, or a sub-report's page while its
    // records flow, whose data then stands at its box's left (m_xShift).
    Plan *m_flow = &m_plan;
    double m_xShift = 0;
    // While a sub-report's rows fill its box: the box's top and bottom (-1: no box), and
    // where they go on once it is full.
    double m_boxTop = 0, m_boxLimit = -1, m_afterBox = 0;
    // Sub-reports met in a band being placed: they run once the band has its place.
    struct PendingSubReport {
        const TqnView *view;
        QPointF at;
    };
    std::vector<PendingSubReport> m_pendingSubReports;
    bool m_placingFlowingBand = false;
    // The tables the bands walk read under one batch each until the build ends.
    std::map<TDataSet *, std::unique_ptr<TDataSet::ReadBatch>> m_readBatches;
    std::array<TqnDataset *, 22> m_sources{};   // record source of each running data band
    bool m_firstPageOfLayout = true;
    bool m_onFirstPage = true;                  // of the layout page
    std::vector<Band *> m_repeating;            // outermost first
    double m_y = 0;
    double m_columnTop = 0;
    double m_bodyTop = 0;                       // first place of a flowing band in the column
    int m_column = 0;
    int m_bandType = -1;                        // band being printed, for the error text
    int m_subReportDepth = 0;
    bool m_firstPass = false;
    bool m_cancelled = false;
};
