// Pages, columns and the placing of bands on them.

#include "output/report/build/PageBuilder.h"

#include "output/report/build/ObjectRenderer.h"
#include "output/report/build/PageTotalLater.h"
#include "output/report/model/TqnLayout.h"
#include "output/report/model/TqnDataset.h"

namespace {

double bandHeight(const TqnBandView *band)
{
    return band ? std::max(0, band->Height) : 0.0;
}

} // namespace

double PageBuilder::dataLimit() const
{
    if (m_boxLimit >= 0)
        return m_boxLimit;
    const double bottom = m_page->heightPx() - m_page->marginPx(m_page->Paper.Bottom);
    const auto *footer = pageBand(TqnBandType::btPageFooter);
    const auto *columnFooter = m_plan.byType[size_t(TqnBandType::btColumnFooter)];
    return bottom - bandHeight(footer ? footer->view : nullptr)
        - bandHeight(columnFooter ? columnFooter->view : nullptr);
}

double PageBuilder::columnOffset() const
{
    const int columns = std::max(1, m_page->Columns);
    if (columns == 1)
        return 0;
    const double gap = tenthsToPx(m_page->ColumnGap);
    const double usable = m_page->widthPx() - m_page->marginPx(m_page->Paper.Left)
        - m_page->marginPx(m_page->Paper.Right);
    return m_column * ((usable - gap * (columns - 1)) / columns + gap);
}

PageBuilder::Band *PageBuilder::pageBand(TqnBandType type) const
{
    Band *band = m_plan.byType[size_t(type)];
    if (band && (band->view->BandOptions & TqnBandView::boKeepOnFirstPage) && !m_onFirstPage)
        return nullptr;
    return band;
}

void PageBuilder::setBandScope(const Band &band)
{
    const TqnBandType group = dataBandOfGroup(band.view->BandType);
    TqnDataset *source = group == TqnBandType::btNone ? nullptr : m_sources[size_t(group)];
    auto *bound = qobject_cast<TqnDBDataSet *>(source);
    m_scope.setGroupSource(bound ? bound->DataSet() : nullptr);
    m_scope.setStatistics(band.stats.get());
}

void PageBuilder::startPage()
{
    PreparedPage page;
    // Pages of a list hold about as many records as the one before: room made once.
    if (!m_pages.isEmpty())
        page.Records.reserve(m_pages.back().Records.size());
    const TqnPaper &paper = m_page->Paper;
    page.Paper = PreparedPaper{paper.Size, paper.Width, paper.Height, paper.Orientation, m_page->UsePhysicalOffset};
    page.LayoutPage = m_layoutPage;
    m_pages.append(std::move(page));
    if (m_totalLater)
        m_totalLater->onPage(int(m_pages.size()) - 1);
    ++m_system.page;
    if (m_events.progress && !m_events.progress(m_system.page, m_firstPass)) {
        m_cancelled = true;
        m_error.stop();
    }
    m_column = 0;
    m_system.column = 1;
    m_y = m_page->marginPx(paper.Top);
    m_onFirstPage = m_firstPageOfLayout;

    const int savedBand = m_bandType;
    // Background first: the overlay band and objects outside any band, at their place.
    if (Band *overlay = m_plan.byType[size_t(TqnBandType::btOverlay)]) {
        setBandScope(*overlay);
        drawBandAt(*overlay, QPointF(0, overlay->view->Y));
    }
    for (const TqnView *object : m_plan.loose) {
        m_scope.setGroupSource(nullptr);
        m_scope.setStatistics(nullptr);
        try {
            m_renderer->draw(*object, QPointF(object->X, object->Y), m_pages.back());
        } catch (const std::exception &error) {
            m_bandType = -1;
            fail(PreparationError::failure() + QString::fromUtf8(error.what()));
        }
    }
    Band *title = m_plan.byType[size_t(TqnBandType::btReportTitle)];
    const bool titleFirst = m_firstPageOfLayout && title && m_page->TitleBeforeHeader;
    if (titleFirst)
        printBand(title, false);
    printBand(pageBand(TqnBandType::btPageHeader), false);
    m_firstPageOfLayout = false;
    m_columnTop = m_y;
    printBand(m_plan.byType[size_t(TqnBandType::btColumnHeader)], false);
    printRepeatedHeaders();
    m_bodyTop = m_y;
    runPendingSubReports();
    m_bandType = savedBand;
}

void PageBuilder::endPage()
{
    const int savedBand = m_bandType;
    const double bottom = m_page->heightPx() - m_page->marginPx(m_page->Paper.Bottom);
    Band *footer = pageBand(TqnBandType::btPageFooter);
    if (Band *columnFooter = m_plan.byType[size_t(TqnBandType::btColumnFooter)]) {
        m_y = bottom - bandHeight(footer ? footer->view : nullptr) - columnFooter->height();
        printBand(columnFooter, false);
        if (columnFooter->stats)
            columnFooter->stats->reset();
    }
    if (footer) {
        m_y = bottom - footer->height();
        printBand(footer, false);
        if (footer->stats)
            footer->stats->reset();
    }
    m_bandType = savedBand;
    if (m_events.processEvents)
        m_events.processEvents();
}

void PageBuilder::nextColumnOrPage()
{
    // A sub-report's rows that fill its box go on under the band that holds it.
    if (m_boxLimit >= 0) {
        m_boxLimit = -1;
        m_y = m_afterBox;
        return;
    }
    if (m_column + 1 < std::max(1, m_page->Columns)) {
        const int savedBand = m_bandType;
        if (Band *columnFooter = m_plan.byType[size_t(TqnBandType::btColumnFooter)]) {
            m_y = dataLimit();
            printBand(columnFooter, false);
            if (columnFooter->stats)
                columnFooter->stats->reset();
        }
        ++m_column;
        m_system.column = m_column + 1;
        m_y = m_columnTop;
        printBand(m_plan.byType[size_t(TqnBandType::btColumnHeader)], false);
        printRepeatedHeaders();
        m_bodyTop = m_y;
        m_bandType = savedBand;
        return;
    }
    endPage();
    startPage();
}

void PageBuilder::rememberRepeating(Band *header)
{
    if (header && (header->view->BandOptions & TqnBandView::boRepeat) && canRepeat(header->view->BandType))
        m_repeating.push_back(header);
}

void PageBuilder::printRepeatedHeaders()
{
    // Drawn at their designed height where the flow starts: they are not records, and the
    // room they take is the column's (m_bodyTop is set under them).
    for (Band *header : m_repeating) {
        if (m_error.stopped())
            return;
        setBandScope(*header);
        drawBandAt(*header, QPointF(columnOffset() + m_xShift, m_y));
        m_y += header->height();
    }
}

void PageBuilder::keepTogether(double height)
{
    // Out of a box, then to the next column or page, until it fits or stands at a top.
    while (!m_error.stopped() && m_y + height > dataLimit() + 0.01
           && m_y > regionTop() + 0.01)
        nextColumnOrPage();
}

void PageBuilder::printBand(Band *band, bool flowing)
{
    if (!band || m_error.stopped())
        return;
    if (band->view->BandOptions & TqnBandView::boStretch) {
        if (flowing) {
            printGrowing(*band);
            return;
        }
        if (band->view->BandType == TqnBandType::btReportTitle) {
            printGrownTitle(*band);
            return;
        }
    }
    const double height = band->height();
    // A band that does not fit even at the top of a column (headers taller than the page,
    // a band taller than a whole page) is printed where it is rather than forever moved on.
    if (flowing)
        keepTogether(height);
    if (flowing)
        countPlaced(*band);
    setBandScope(*band);
    const bool fullWidth = isPageBand(band->view->BandType);
    const double x = fullWidth ? 0 : columnOffset() + (flowing ? m_xShift : 0);
    // A title printed above the page header still belongs to the flow: its sub-reports run
    // once the page's headers are in place.
    m_placingFlowingBand = flowing || band->view->BandType == TqnBandType::btReportTitle;
    drawBandAt(*band, QPointF(x, m_y));
    m_placingFlowingBand = false;
    m_y += height;
    if (flowing)
        runPendingSubReports();
    if (flowing && (band->view->BandOptions & TqnBandView::boNewPageAfter) && !m_error.stopped())
        nextColumnOrPage();
}

// A record's band has found its page: the page and column footers count it there.
void PageBuilder::countPlaced(const Band &band)
{
    const TqnBandType type = band.view->BandType;
    if (isDataBand(type) && m_sources[size_t(type)])
        accumulate(type, true);
}

void PageBuilder::drawBandAt(Band &band, QPointF origin)
{
    // `origin` is where the band's left page edge and top land.
    m_bandType = int(band.view->BandType);
    const QPointF shift(origin.x(), origin.y() - band.view->Y);
    if (m_events.onBeforePrint)
        m_events.onBeforePrint(*band.view);
    for (const TqnView *object : band.objects) {
        if (m_error.stopped())
            return;
        try {
            if (m_events.onDrawObject)
                m_events.onDrawObject(*object, QRectF(QPointF(object->X, object->Y) + shift,
                                                      QSizeF(object->Width, object->Height)));
            if (object->kind() == TqnViewKind::vkSubReport)
                drawSubReport(*object, QPointF(object->X, object->Y) + shift);
            else
                m_renderer->draw(*object, QPointF(object->X, object->Y) + shift, m_pages.back());
        } catch (const std::exception &error) {
            const auto *expr = dynamic_cast<const report::ExprError *>(&error);
            fail(PreparationError::failure() + (expr ? expr->message() : QString::fromUtf8(error.what())),
                 object->Name);
            return;
        }
    }
    bandDrawn(*band.view);
}

void PageBuilder::bandDrawn(const TqnBandView &view)
{
    if (m_events.onBandDrawn && !m_firstPass)
        m_events.onBandDrawn(view, m_scope);
    if (m_events.onAfterPrint)
        m_events.onAfterPrint(view);
}

void PageBuilder::runPendingSubReports()
{
    if (m_pendingSubReports.empty())
        return;
    const std::vector<PendingSubReport> pending = std::move(m_pendingSubReports);
    m_pendingSubReports.clear();
    const qsizetype page = m_pages.size();
    const int column = m_column;
    double end = m_y;
    for (PendingSubReport p : pending) {
        if (m_error.stopped())
            return;
        const bool samePlace = m_pages.size() == page && m_column == column;
        // Its rows fill its box first, then go on under the band (and the page's headers);
        // one that went on to another page has the next start under it there.
        if (!samePlace)
            p.at.setY(m_y);
        const double savedLimit = m_boxLimit, savedTop = m_boxTop, savedAfter = m_afterBox;
        m_boxTop = p.at.y();
        m_boxLimit = samePlace ? p.at.y() + p.view->Height : -1;
        m_afterBox = std::max(end, m_bodyTop);
        m_y = p.at.y();
        runSubReport(*p.view, p.at);
        if (m_boxLimit >= 0)
            m_y = m_afterBox;   // all in its box
        m_boxLimit = savedLimit;
        m_boxTop = savedTop;
        m_afterBox = savedAfter;
        end = m_pages.size() == page && m_column == column ? std::max(end, m_y) : m_y;
    }
    m_y = end;
}

void PageBuilder::runSubReport(const TqnView &view, QPointF at)
{
    const int sub = static_cast<const TqnSubReportView &>(view).SubPage;
    Plan plan;
    makePlan(m_layout.Pages[size_t(sub)], plan);
    const Band *data = plan.byType[size_t(TqnBandType::btMasterData)];
    if (!data || m_error.stopped())
        return;
    // The page's own records stay where they are while the sub-report's run.
    Plan *const savedFlow = m_flow;
    const auto savedSources = m_sources;
    // Its own headers repeat on the pages it goes on to, not the page's.
    const std::vector<Band *> savedRepeating = std::move(m_repeating);
    m_repeating.clear();
    const double savedShift = m_xShift;
    const int savedLine = m_system.line, savedCurrent = m_system.current, savedBand = m_bandType;
    m_flow = &plan;
    m_sources.fill(nullptr);
    m_xShift = at.x() - columnOffset() - data->view->X;
    ++m_subReportDepth;
    runMaster();
    --m_subReportDepth;
    m_flow = savedFlow;
    m_sources = savedSources;
    m_repeating = savedRepeating;
    m_xShift = savedShift;
    m_system.line = savedLine;
    m_system.current = savedCurrent;
    m_bandType = savedBand;
}

void PageBuilder::drawSubReport(const TqnView &view, QPointF at)
{
    const int sub = static_cast<const TqnSubReportView &>(view).SubPage;
    if (sub < 0 || size_t(sub) >= m_layout.Pages.size() || m_subReportDepth >= 4)
        return;
    if (m_placingFlowingBand) {
        m_pendingSubReports.push_back({&view, at});
        return;
    }
    // The sub page's data band, with its header and footer, one record under the other
    // inside the object's box; what does not fit in the box is not printed.
    Plan plan;
    const TqnPage &page = m_layout.Pages[size_t(sub)];
    makePlan(page, plan);
    Band *data = plan.byType[size_t(TqnBandType::btMasterData)];
    if (!data)
        return;
    ++m_subReportDepth;
    const double bottom = at.y() + view.Height;
    double y = at.y();
    const auto put = [&](Band *band) {
        if (!band || y + band->height() > bottom + 0.01)
            return false;
        setBandScope(*band);
        drawBandAt(*band, QPointF(at.x() - data->view->X, y));
        y += band->height();
        return true;
    };
    TqnDataset *saved = m_sources[size_t(TqnBandType::btMasterData)];
    TqnDataset *source = sourceFor(*data);
    put(plan.byType[size_t(TqnBandType::btMasterHeader)]);
    if (source && initSource(source)) {
        // Whatever ends the run (an error in a filter, a band's failure), the table gets its
        // controls, its record and its closed state back and the main page its source.
        struct Restore {
            PageBuilder &builder;
            TqnDataset *source, *saved;
            ~Restore()
            {
                source->exit();
                builder.m_sources[size_t(TqnBandType::btMasterData)] = saved;
            }
        } restore{*this, source, saved};
        m_sources[size_t(TqnBandType::btMasterData)] = source;
        try {
            source->first();
            while (!m_error.stopped() && !sourceClosed(source) && !source->eof()) {
                if (!put(data)) {
                    // Records the box has no room for are refused, never left out unsaid.
                    m_bandType = int(TqnBandType::btMasterData);
                    fail(QStringLiteral("Il sottoreport non ha spazio per tutti i suoi record."), view.Name);
                    break;
                }
                source->next();
            }
        } catch (const std::exception &error) {
            fail(PreparationError::failure() + QString::fromUtf8(error.what()));
        }
    } else if (!source && !m_error.stopped()) {
        put(data);
    }
    put(plan.byType[size_t(TqnBandType::btMasterFooter)]);
    --m_subReportDepth;
}
