#pragma once
// Builds the prepared pages of a layout over the data. One layout page after the other, its
// bands are laid out as a banded designer's user expects:
//   - report title once, at the top of the first page (after the page header unless the
//     page prints the title first); report summary once after the data;
//   - page header at the top of every page, page footer at the bottom margin of every page;
//     data never runs into the footer: a band that does not fit starts the next column or
//     page;
//   - column header and footer at the top and bottom of every column;
//   - master data band once per record of its source, between its header and footer; for
//     each master record the detail band over its own source (a table that follows the
//     master through its master/detail link), and inside each detail record the
//     sub-detail band, each with header and footer printed when it has records;
//   - group headers (in their order on the page, outermost first) whenever their
//     condition's value changes, group footers before the next group and at the end;
//   - overlay band and objects outside any band drawn on every page at their place;
//   - cross-table bands: the header, then one data band per record side by side, then
//     the footer, after the master data;
//   - sub-report objects print their layout page's bands in place, inside their box.
// Footers (6, 9, 12, 17) print with their record source moved back one record, so that
// they show the last record. Errors end the run through the preparation error.

#include "output/report/build/PreparationError.h"
#include "output/report/model/BandType.h"
#include "output/report/build/ReportScope.h"
#include "output/report/expr/ExprStatistics.h"
#include "output/report/expr/ExprSystemValues.h"
#include "output/report/pages/PreparedPage.h"

#include <QDateTime>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ObjectRenderer;
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
    void checkVariables();
    void buildLayoutPage(int index);
    void makePlan(const TqnPage &page, Plan &plan);
    void runMaster();
    void runDetail(TqnBandType dataType);
    void runCross();
    TqnDataset *sourceFor(const Band &data);
    bool initSource(TqnDataset *source);
    void accumulate(TqnBandType dataType);
    void checkGroups();
    void printGroupFooters(size_t fromLevel, TqnDataset *source);
    void printFooter(Band *footer, TqnDataset *source, bool moveBack);
    void fail(const QString &detail, const QString &object = QString());

    // PageBuilderFlow.cpp: pages, columns and bands on them.
    void startPage();
    void endPage();
    void nextColumnOrPage();
    void printBand(Band *band, bool flowing = true);
    void drawBandAt(Band &band, QPointF origin);
    void drawSubReport(const TqnView &view, QPointF at);
    void setBandScope(const Band &band);
    double dataLimit() const;
    double columnOffset() const;

    const TqnLayout &m_layout;
    QString m_windowName;
    bool m_disableControls;
    PreparationError &m_error;
    BuildEvents m_events;
    report::ExprSystemValues m_system;
    ReportScope m_scope;
    std::unique_ptr<ObjectRenderer> m_renderer;

    PreparedPages m_pages;
    int m_passPageCount = 0;
    // The layout page being built.
    const TqnPage *m_page = nullptr;
    int m_layoutPage = 0;
    Plan m_plan;
    std::array<TqnDataset *, 22> m_sources{};   // record source of each running data band
    bool m_firstPageOfLayout = true;
    double m_y = 0;
    double m_columnTop = 0;
    double m_bodyTop = 0;                       // first place of a flowing band in the column
    int m_column = 0;
    int m_bandType = -1;                        // band being printed, for the error text
    int m_subReportDepth = 0;
    bool m_firstPass = false;
    bool m_cancelled = false;
};
