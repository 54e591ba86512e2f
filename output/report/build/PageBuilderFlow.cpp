// Pages, columns and the placing of bands on them.

#include "output/report/build/PageBuilder.h"

#include "output/report/build/ObjectRenderer.h"
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
    const double bottom = m_page->heightPx() - m_page->marginPx(m_page->Paper.Bottom);
    const auto *footer = m_plan.byType[size_t(TqnBandType::btPageFooter)];
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
    const TqnPaper &paper = m_page->Paper;
    page.Paper = PreparedPaper{paper.Size, paper.Width, paper.Height, paper.Orientation, m_page->UsePhysicalOffset};
    page.LayoutPage = m_layoutPage;
    m_pages.append(std::move(page));
    ++m_system.page;
    if (m_events.progress && !m_events.progress(m_system.page, m_firstPass)) {
        m_cancelled = true;
        m_error.stop();
    }
    m_column = 0;
    m_system.column = 1;
    m_y = m_page->marginPx(paper.Top);

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
            fail(QStringLiteral("Errore. ") + QString::fromUtf8(error.what()));
        }
    }
    Band *title = m_plan.byType[size_t(TqnBandType::btReportTitle)];
    const bool titleFirst = m_firstPageOfLayout && title && m_page->TitleBeforeHeader;
    if (titleFirst)
        printBand(title, false);
    printBand(m_plan.byType[size_t(TqnBandType::btPageHeader)], false);
    m_firstPageOfLayout = false;
    m_columnTop = m_y;
    printBand(m_plan.byType[size_t(TqnBandType::btColumnHeader)], false);
    m_bodyTop = m_y;
    m_bandType = savedBand;
}

void PageBuilder::endPage()
{
    const int savedBand = m_bandType;
    const double bottom = m_page->heightPx() - m_page->marginPx(m_page->Paper.Bottom);
    Band *footer = m_plan.byType[size_t(TqnBandType::btPageFooter)];
    if (Band *columnFooter = m_plan.byType[size_t(TqnBandType::btColumnFooter)]) {
        m_y = bottom - bandHeight(footer ? footer->view : nullptr) - columnFooter->height();
        printBand(columnFooter, false);
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
    if (m_column + 1 < std::max(1, m_page->Columns)) {
        const int savedBand = m_bandType;
        if (Band *columnFooter = m_plan.byType[size_t(TqnBandType::btColumnFooter)]) {
            m_y = dataLimit();
            printBand(columnFooter, false);
        }
        ++m_column;
        m_system.column = m_column + 1;
        m_y = m_columnTop;
        printBand(m_plan.byType[size_t(TqnBandType::btColumnHeader)], false);
        m_bodyTop = m_y;
        m_bandType = savedBand;
        return;
    }
    endPage();
    startPage();
}

void PageBuilder::printBand(Band *band, bool flowing)
{
    if (!band || m_error.stopped())
        return;
    const double height = band->height();
    // A band that does not fit even at the top of a column (headers taller than the page,
    // a band taller than a whole page) is printed where it is rather than forever moved on.
    if (flowing && m_y + height > dataLimit() + 0.01 && m_y > m_bodyTop + 0.01)
        nextColumnOrPage();
    setBandScope(*band);
    const double x = (band->view->BandType == TqnBandType::btPageHeader
                      || band->view->BandType == TqnBandType::btPageFooter) ? 0 : columnOffset();
    drawBandAt(*band, QPointF(x, m_y));
    m_y += height;
    if (flowing && (band->view->BandOptions & TqnBandView::boNewPageAfter) && !m_error.stopped())
        nextColumnOrPage();
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
            fail(QStringLiteral("Errore. ") + (expr ? expr->message() : QString::fromUtf8(error.what())),
                 object->Name);
            return;
        }
    }
    if (m_events.onBandDrawn && !m_firstPass)
        m_events.onBandDrawn(*band.view, m_scope);
    if (m_events.onAfterPrint)
        m_events.onAfterPrint(*band.view);
}

void PageBuilder::drawSubReport(const TqnView &view, QPointF at)
{
    const int sub = static_cast<const TqnSubReportView &>(view).SubPage;
    if (sub < 0 || size_t(sub) >= m_layout.Pages.size() || m_subReportDepth >= 4)
        return;
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
        m_sources[size_t(TqnBandType::btMasterData)] = source;
        source->first();
        while (!m_error.stopped() && !source->eof() && put(data))
            source->next();
        source->exit();
    } else if (!source && !m_error.stopped()) {
        put(data);
    }
    m_sources[size_t(TqnBandType::btMasterData)] = saved;
    put(plan.byType[size_t(TqnBandType::btMasterFooter)]);
    --m_subReportDepth;
}
