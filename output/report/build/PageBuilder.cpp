#include "output/report/build/PageBuilder.h"

#include "db/TDataSet.h"
#include "output/report/ComponentDirectory.h"
#include "output/report/build/ObjectRenderer.h"
#include "output/report/build/PageTotalLater.h"
#include "output/report/model/TqnLayout.h"

#include <algorithm>

namespace {

// Bands whose texts may hold running statistics, and the data band that feeds them.
bool collectsStatistics(TqnBandType type)
{
    switch (type) {
    case TqnBandType::btReportSummary: case TqnBandType::btPageFooter:
    case TqnBandType::btMasterFooter: case TqnBandType::btDetailFooter:
    case TqnBandType::btSubDetailFooter: case TqnBandType::btColumnFooter:
    case TqnBandType::btGroupFooter: case TqnBandType::btCrossFooter:
        return true;
    default:
        return false;
    }
}

// Page and column footers count a record where its band is finally placed, so they are fed
// when the band is drawn rather than when the record is read.
bool countsPlacedBands(TqnBandType type)
{
    return type == TqnBandType::btPageFooter || type == TqnBandType::btColumnFooter;
}

TqnBandType feedingBand(TqnBandType type)
{
    if (type == TqnBandType::btCrossFooter)
        return TqnBandType::btCrossData;
    return dataBandOfFooter(type);
}

QString errorText(const std::exception &error)
{
    if (const auto *expr = dynamic_cast<const report::ExprError *>(&error))
        return expr->message();
    return QString::fromUtf8(error.what());
}

} // namespace

double PageBuilder::Band::height() const
{
    return view->Height;
}

PageBuilder::PageBuilder(const TqnLayout &layout, QString windowName, bool disableDataSetControls,
                         PreparationError &error, BuildEvents events)
    : m_layout(layout), m_windowName(std::move(windowName)), m_disableControls(disableDataSetControls),
      m_error(error), m_events(std::move(events)), m_scope(layout, m_windowName, m_system),
      m_renderer(std::make_unique<ObjectRenderer>(m_scope))
{
    m_scope.setOnGetValue(m_events.onGetValue);
    m_scope.setOnUserFunction(m_events.onUserFunction);
}

PageBuilder::~PageBuilder() = default;

void PageBuilder::fail(const QString &detail, const QString &object)
{
    m_error.record(detail, {object, m_bandType, m_layoutPage + 1});
}

PreparedPages PageBuilder::run(const QDateTime &started)
{
    m_system.started = started;
    if (m_events.onBeginDoc)
        m_events.onBeginDoc();
    checkVariables();
    if (!m_error.stopped()) {
        if (!m_layout.TwoPass)
            pass();
        else if (firstPassSeen() || !PageTotalLater::suits(m_layout))
            runTwoPasses();
        else
            runOnceTotalLater();
    }
    if (m_events.onEndDoc)
        m_events.onEndDoc();
    return std::move(m_pages);
}

void PageBuilder::runTwoPasses()
{
    // The first pass only counts the pages, for TOTALPAGES.
    m_firstPass = true;
    pass();
    m_firstPass = false;
    m_system.totalPages = int(m_pages.size());
    m_pages.clear();
    if (!m_error.stopped())
        pass();
}

void PageBuilder::runOnceTotalLater()
{
    PageTotalLater later;
    m_totalLater = &later;
    m_renderer->setPageTotalLater(&later);
    m_scope.holdPageTotal(true);
    // Built as a counting first pass would be (the total so far is 0), the boxes that name
    // the total set aside.
    pass();
    const int asked = m_scope.heldValuesAsked();
    m_scope.holdPageTotal(false);
    m_renderer->setPageTotalLater(nullptr);
    m_totalLater = nullptr;
    m_system.totalPages = int(m_pages.size());
    if (m_error.stopped()) {
        m_pages.clear();   // as a first pass that failed leaves none
        return;
    }
    if (later.heldParts() == asked) {
        later.fill(m_pages, m_system.totalPages, *m_renderer);
        return;
    }
    // Something took the total where it cannot be written in later: that pass only counted.
    m_pages.clear();
    pass();
}

bool PageBuilder::firstPassSeen() const
{
    const BuildEvents &e = m_events;
    if (e.onBeginPage || e.onEndPage || e.onBeforePrint || e.onAfterPrint || e.onDrawObject || e.onDataSetWork
        || e.onBandDrawn || e.onGetValue || e.onUserFunction || e.progress)
        return true;
    for (const TqnPage &page : m_layout.Pages)
        for (const auto &object : page.Objects) {
            if (object->kind() != TqnViewKind::vkBand)
                continue;
            const TqnDataset *source = findSource(static_cast<const TqnBandView &>(*object).dataSetName());
            if (!source)
                continue;
            if (source->OnCheckEOF || source->OnFirst || source->OnNext || source->OnPrior)
                return true;
            const auto *bound = qobject_cast<const TqnDBDataSet *>(source);
            if (bound && PageTotalLater::names(bound->Filter))
                return true;
        }
    return false;
}

void PageBuilder::checkVariables()
{
    for (const TqnVariable &v : m_layout.Values.items()) {
        if (v.Kind != TqnVariableKind::vkField)
            continue;
        TDataSet *ds = m_scope.dataSetNamed(v.DataSet);
        if (!ds) {
            m_error.record(PreparationError::missingDataSet(v.DataSet), {QString(), -1, 0});
            return;
        }
        if (!ds->active())
            continue;
        if (!ds->findField(v.Field)) {
            m_error.record(QStringLiteral("Non è stato possibile reperire il campo: ") + ds->name()
                               + QLatin1Char('.') + v.Field, {QString(), -1, 0});
            return;
        }
    }
}

void PageBuilder::pass()
{
    m_system.page = 0;
    m_system.lineThrough = 0;
    // Pages printed inside sub-report objects are not printed on their own.
    std::vector<bool> subPages(m_layout.Pages.size(), false);
    for (size_t p = 0; p < m_layout.Pages.size(); ++p)
        for (const auto &object : m_layout.Pages[p].Objects)
            if (object->kind() == TqnViewKind::vkSubReport) {
                // A page that names itself is still a page of its own.
                const size_t sub = static_cast<const TqnSubReportView &>(*object).SubPage;
                if (sub < subPages.size() && sub != p)
                    subPages[sub] = true;
            }
    for (size_t i = 0; i < m_layout.Pages.size() && !m_error.stopped(); ++i)
        if (!subPages[i])
            buildLayoutPage(int(i));
}

void PageBuilder::makePlan(const TqnPage &page, Plan &plan)
{
    plan = Plan();
    for (const auto &object : page.Objects)
        if (object->kind() == TqnViewKind::vkBand) {
            auto band = std::make_unique<Band>();
            band->view = static_cast<const TqnBandView *>(object.get());
            plan.bands.push_back(std::move(band));
        }
    std::stable_sort(plan.bands.begin(), plan.bands.end(),
                     [](const auto &a, const auto &b) { return a->view->Y < b->view->Y; });
    // An object belongs to the band its top lies in.
    for (const auto &object : page.Objects) {
        if (object->kind() == TqnViewKind::vkBand)
            continue;
        const TqnBandView *ownerView = page.bandOf(*object);
        Band *owner = nullptr;
        for (const auto &band : plan.bands)
            if (band->view == ownerView)
                owner = band.get();
        if (owner)
            owner->objects.push_back(object.get());
        else
            plan.loose.push_back(object.get());
    }
    for (const auto &band : plan.bands) {
        const TqnBandType type = band->view->BandType;
        if (type == TqnBandType::btGroupHeader) {
            band->group = std::make_unique<report::Expression>(band->view->GroupCondition);
            plan.groupHeaders.push_back(band.get());
        } else if (type == TqnBandType::btGroupFooter) {
            plan.groupFooters.push_back(band.get());
        } else if (!plan.byType[size_t(type)]) {
            plan.byType[size_t(type)] = band.get();
        }
        if (collectsStatistics(type)) {
            QStringList texts;
            for (const TqnView *object : band->objects)
                texts += object->Memo;
            auto stats = std::make_unique<report::ExprStatistics>();
            try {
                stats->collect(texts);
            } catch (const std::exception &error) {
                m_bandType = int(type);
                fail(PreparationError::failure() + errorText(error));
                return;
            }
            if (!stats->isEmpty())
                band->stats = std::move(stats);
        }
    }
}

void PageBuilder::buildLayoutPage(int index)
{
    m_page = &m_layout.Pages[size_t(index)];
    m_layoutPage = index;
    m_bandType = -1;
    makePlan(*m_page, m_plan);
    if (m_error.stopped())
        return;
    if (m_events.onBeginPage)
        m_events.onBeginPage(index);
    m_firstPageOfLayout = true;
    m_sources.fill(nullptr);
    startPage();
    if (Band *title = m_plan.byType[size_t(TqnBandType::btReportTitle)]) {
        if (!m_page->TitleBeforeHeader)
            printBand(title);
        else if ((title->view->BandOptions & TqnBandView::boNewPageAfter) && !m_error.stopped())
            nextColumnOrPage();   // the title printed above the page header stands alone
    }
    runMaster();
    runCross();
    if (!m_error.stopped())
        printBand(m_plan.byType[size_t(TqnBandType::btReportSummary)]);
    endPage();
    if (m_events.onEndPage)
        m_events.onEndPage(index);
}

TqnDataset *PageBuilder::findSource(const QString &name) const
{
    if (auto *component = qobject_cast<TqnDataset *>(ComponentDirectory::instance().findOn(m_windowName, name)))
        return component;
    return m_layout.DataSets.find(name);
}

TqnDataset *PageBuilder::sourceFor(const Band &data)
{
    const QString name = data.view->dataSetName();
    if (TqnDataset *source = findSource(name))
        return source;
    if (!name.isEmpty()) {
        m_bandType = int(data.view->BandType);
        fail(PreparationError::missingDataSet(name));
    }
    return nullptr;
}

bool PageBuilder::sourceClosed(TqnDataset *source)
{
    // Init opened the table; closed now (by an event, by another window), it would only look
    // like the end of its records.
    auto *bound = qobject_cast<TqnDBDataSet *>(source);
    if (!bound || bound->closedError().isEmpty())
        return false;
    fail(bound->closedError());
    return true;
}

bool PageBuilder::initSource(TqnDataset *source)
{
    auto *bound = qobject_cast<TqnDBDataSet *>(source);
    if (bound) {
        if (bound->DataSet() && !m_readBatches.count(bound->DataSet()))
            m_readBatches.emplace(bound->DataSet(), std::make_unique<TDataSet::ReadBatch>(bound->DataSet()));
        bound->DisableDataSetControls = m_disableControls;
        bound->filterCheck = [this, bound](const QString &expression) {
            try {
                m_scope.setGroupSource(bound->DataSet());
                const report::ExprValue value = report::evaluateExpression(expression, m_scope);
                // A text is no condition: taking it as false would print nothing, unsaid.
                if (value.isText())
                    throw std::runtime_error("filtro di testo");
                return value.truth();
            } catch (const std::exception &) {
                throw std::runtime_error("Errore nell'espressione del filtro della banda.");
            }
        };
    }
    if (m_events.onDataSetWork)
        m_events.onDataSetWork(source->name());
    const QString error = source->init();
    if (!error.isEmpty()) {
        fail(error);
        return false;
    }
    return true;
}

void PageBuilder::accumulate(TqnBandType dataType, bool placed)
{
    for (const auto &band : m_flow->bands)
        if (band->stats && feedingBand(band->view->BandType) == dataType
            && countsPlacedBands(band->view->BandType) == placed) {
            setBandScope(*band);
            band->stats->accumulate(m_scope);
        }
}

void PageBuilder::checkGroups()
{
    for (size_t level = 0; level < m_flow->groupHeaders.size(); ++level) {
        Band *header = m_flow->groupHeaders[level];
        setBandScope(*header);
        const report::ExprValue value = header->group->evaluate(m_scope);
        if (header->lastGroupValue && *header->lastGroupValue == value)
            continue;
        const bool firstGroup = !header->lastGroupValue.has_value();
        if (!firstGroup)
            printGroupFooters(level, m_sources[size_t(TqnBandType::btMasterData)]);
        // The closed groups' headers no longer repeat; the new ones do once printed.
        const auto closed = m_flow->groupHeaders.begin() + std::ptrdiff_t(level);
        std::erase_if(m_repeating, [&](Band *b) { return std::find(closed, m_flow->groupHeaders.end(), b)
                                                         != m_flow->groupHeaders.end(); });
        double withFirstRecord = 0;
        for (size_t inner = level; inner < m_flow->groupHeaders.size(); ++inner)
            withFirstRecord += m_flow->groupHeaders[inner]->height();
        keepTogether(withFirstRecord + masterRecordHeight());
        for (size_t inner = level; inner < m_flow->groupHeaders.size(); ++inner) {
            Band *h = m_flow->groupHeaders[inner];
            setBandScope(*h);
            h->lastGroupValue = h->group->evaluate(m_scope);
            printBand(h);
            rememberRepeating(h);
        }
        return;
    }
}

// A master record's band, and when its details have a header, that header and one detail:
// what must share a page.
double PageBuilder::masterRecordHeight() const
{
    const Band *data = m_flow->byType[size_t(TqnBandType::btMasterData)];
    const Band *header = m_flow->byType[size_t(TqnBandType::btDetailHeader)];
    const Band *detail = m_flow->byType[size_t(TqnBandType::btDetailData)];
    return (data ? data->height() : 0) + (header && detail ? header->height() + detail->height() : 0);
}

void PageBuilder::printGroupFooters(size_t fromLevel, TqnDataset *source)
{
    // Footers lie in page order, the innermost group's first: the footer of level L is the
    // (count-1-L)th. Those of the groups from `fromLevel` in close, innermost first.
    const size_t count = m_flow->groupFooters.size();
    for (size_t i = 0; i < count; ++i)
        if (count - 1 - i >= fromLevel)
            printFooter(m_flow->groupFooters[i], source, true);
}

void PageBuilder::printFooter(Band *footer, TqnDataset *source, bool moveBack)
{
    if (!footer || m_error.stopped())
        return;
    moveBack = moveBack && source;
    if (moveBack)
        source->toLastPrinted();
    printBand(footer);
    if (moveBack)
        source->backFromLastPrinted();
    if (footer->stats)
        footer->stats->reset();
}

void PageBuilder::runMaster()
{
    Band *data = m_flow->byType[size_t(TqnBandType::btMasterData)];
    if (!data || m_error.stopped())
        return;
    TqnDataset *source = sourceFor(*data);
    if (m_error.stopped())
        return;
    if (!source) {
        // A band with no record source prints once.
        printBand(m_flow->byType[size_t(TqnBandType::btMasterHeader)]);
        printBand(data);
        printFooter(m_flow->byType[size_t(TqnBandType::btMasterFooter)], nullptr, false);
        return;
    }
    m_bandType = int(TqnBandType::btMasterData);
    if (!initSource(source))
        return;
    m_sources[size_t(TqnBandType::btMasterData)] = source;
    for (Band *h : m_flow->groupHeaders)
        h->lastGroupValue.reset();
    const size_t repeating = m_repeating.size();
    try {
        source->first();
        // Like its footer, the header prints only over records: with none it would show
        // the fields of whatever record was current before the run.
        if (!source->eof()) {
            printBand(m_flow->byType[size_t(TqnBandType::btMasterHeader)]);
            rememberRepeating(m_flow->byType[size_t(TqnBandType::btMasterHeader)]);
        }
        int line = 0;
        while (!m_error.stopped() && !sourceClosed(source) && !source->eof()) {
            m_system.line = ++line;
            ++m_system.lineThrough;
            m_system.current = source->recordCount() + 1;
            checkGroups();
            accumulate(TqnBandType::btMasterData);
            keepTogether(masterRecordHeight());
            printBand(data);
            source->markPrinted();
            runDetail(TqnBandType::btDetailData);
            source->next();
        }
        if (line > 0 && !m_error.stopped()) {
            printGroupFooters(0, source);
            printFooter(m_flow->byType[size_t(TqnBandType::btMasterFooter)], source, true);
        }
    } catch (const std::exception &error) {
        fail(PreparationError::failure() + errorText(error));
    }
    m_repeating.resize(std::min(repeating, m_repeating.size()));
    source->exit();
    m_sources[size_t(TqnBandType::btMasterData)] = nullptr;
}

void PageBuilder::runDetail(TqnBandType dataType)
{
    const bool sub = dataType == TqnBandType::btSubDetailData;
    Band *data = m_flow->byType[size_t(dataType)];
    if (!data || m_error.stopped())
        return;
    Band *header = m_flow->byType[size_t(sub ? TqnBandType::btSubDetailHeader : TqnBandType::btDetailHeader)];
    Band *footer = m_flow->byType[size_t(sub ? TqnBandType::btSubDetailFooter : TqnBandType::btDetailFooter)];
    TqnDataset *source = sourceFor(*data);
    if (!source) {
        if (!m_error.stopped()) {
            printBand(header);
            printBand(data);
            printFooter(footer, nullptr, false);
        }
        return;
    }
    m_bandType = int(dataType);
    if (!initSource(source))
        return;
    m_sources[size_t(dataType)] = source;
    const int outerLine = m_system.line;
    const size_t repeating = m_repeating.size();
    int line = 0;
    try {
        source->first();
        while (!m_error.stopped() && !sourceClosed(source) && !source->eof()) {
            if (line == 0 && header) {
                keepTogether(header->height() + data->height());
                printBand(header);
                rememberRepeating(header);
            }
            m_system.line = ++line;
            ++m_system.lineThrough;
            m_system.current = source->recordCount() + 1;
            accumulate(dataType);
            printBand(data);
            source->markPrinted();
            if (!sub)
                runDetail(TqnBandType::btSubDetailData);
            source->next();
        }
        if (line > 0)
            printFooter(footer, source, true);
    } catch (const std::exception &error) {
        fail(PreparationError::failure() + errorText(error));
    }
    m_repeating.resize(std::min(repeating, m_repeating.size()));
    source->exit();
    m_sources[size_t(dataType)] = nullptr;
    m_system.line = outerLine;
}

void PageBuilder::runCross()
{
    Band *data = m_plan.byType[size_t(TqnBandType::btCrossData)];
    if (!data || m_error.stopped())
        return;
    Band *header = m_plan.byType[size_t(TqnBandType::btCrossHeader)];
    Band *footer = m_plan.byType[size_t(TqnBandType::btCrossFooter)];
    TqnDataset *source = sourceFor(*data);
    if (m_error.stopped())
        return;
    // One row of the table: the header at its place, the data bands to its right, one per
    // record, on as many rows as the page width needs, then the footer.
    const double rowHeight = std::max({data->height(), header ? header->height() : 0.0,
                                       footer ? footer->height() : 0.0});
    const double right = m_page->widthPx() - m_page->marginPx(m_page->Paper.Right);
    const double startX = header ? header->view->X + header->view->Width : data->view->X;
    double x = startX;
    const auto place = [&](Band *band, double width) {
        if (x + width > right + 0.5 && x > startX) {
            m_y += rowHeight;
            x = startX;
        }
        if (m_y + rowHeight > dataLimit())
            nextColumnOrPage();
        setBandScope(*band);
        drawBandAt(*band, QPointF(x - band->view->X, m_y));
        x += width;
    };
    if (header) {
        setBandScope(*header);
        if (m_y + rowHeight > dataLimit())
            nextColumnOrPage();
        drawBandAt(*header, QPointF(0, m_y));
    }
    if (source) {
        m_bandType = int(TqnBandType::btCrossData);
        if (!initSource(source))
            return;
        m_sources[size_t(TqnBandType::btCrossData)] = source;
        try {
            source->first();
            while (!m_error.stopped() && !sourceClosed(source) && !source->eof()) {
                m_system.current = source->recordCount() + 1;
                accumulate(TqnBandType::btCrossData);
                place(data, std::max(1, data->view->Width));
                source->markPrinted();
                source->next();
            }
            if (footer && !m_error.stopped()) {
                source->toLastPrinted();
                place(footer, std::max(1, footer->view->Width));
                source->backFromLastPrinted();
            }
        } catch (const std::exception &error) {
            fail(PreparationError::failure() + errorText(error));
        }
        source->exit();
        m_sources[size_t(TqnBandType::btCrossData)] = nullptr;
    }
    m_y += rowHeight;
}
