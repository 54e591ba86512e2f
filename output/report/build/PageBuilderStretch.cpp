// Bands whose texts grow: placed whole when they fit the room left, moved whole to the next
// column or page when they do not, cut between lines when they are taller than a page.

#include "output/report/build/PageBuilder.h"

#include "output/report/build/GrownBand.h"
#include "output/report/build/ObjectRenderer.h"
#include "output/report/model/TqnLayout.h"

bool PageBuilder::growBand(Band &band, GrownBand &grown)
{
    setBandScope(band);
    const TqnView *failing = nullptr;
    try {
        grown = GrownBand::grow(band.view->Y, band.view->Height, band.objects, *m_renderer, failing);
        return true;
    } catch (const std::exception &error) {
        m_bandType = int(band.view->BandType);
        const auto *expr = dynamic_cast<const report::ExprError *>(&error);
        fail(PreparationError::failure() + (expr ? expr->message() : QString::fromUtf8(error.what())),
             failing ? failing->Name : QString());
        return false;
    }
}

void PageBuilder::printGrowing(Band &band)
{
    GrownBand grown;
    if (!growBand(band, grown))
        return;
    if (m_y + grown.height > dataLimit() + 0.01 && m_y > regionTop() + 0.01) {
        keepTogether(grown.height);
        // Laid out again where it lands: a page number in it is that page's.
        if (m_error.stopped() || !growBand(band, grown))
            return;
    }
    countPlaced(band);
    double from = 0;
    for (;;) {
        double to = grown.cutBefore(from, std::max(0.0, dataLimit() - m_y));
        // A page with no room at all for it (headers as tall as the page) gets the rest
        // where it stands rather than pages without end.
        if (to < from + 1 && m_y <= regionTop() + 0.01)
            to = grown.height;
        setBandScope(band);
        m_placingFlowingBand = true;
        drawGrownPiece(band, grown, from, to, QPointF(columnOffset() + m_xShift, m_y));
        m_placingFlowingBand = false;
        m_y += to - from;
        from = to;
        if (from >= grown.height - 0.01 || m_error.stopped())
            break;
        nextColumnOrPage();
        if (m_error.stopped())
            return;
    }
    runPendingSubReports();
    if ((band.view->BandOptions & TqnBandView::boNewPageAfter) && !m_error.stopped())
        nextColumnOrPage();
}

void PageBuilder::printGrownTitle(Band &band)
{
    // Above the page header it is printed whole where it stands, as tall as its texts.
    GrownBand grown;
    if (!growBand(band, grown))
        return;
    setBandScope(band);
    m_placingFlowingBand = true;   // its sub-reports run once the page's headers are in place
    drawGrownPiece(band, grown, 0, grown.height, QPointF(columnOffset(), m_y));
    m_placingFlowingBand = false;
    m_y += grown.height;
}

void PageBuilder::drawGrownPiece(Band &band, const GrownBand &grown, double from, double to, QPointF origin)
{
    // `origin` is where the piece's top (`from` in the grown band) lands on the page.
    m_bandType = int(band.view->BandType);
    if (m_events.onBeforePrint && from == 0)
        m_events.onBeforePrint(*band.view);
    const double eps = 0.01;
    for (const GrownObject &object : grown.objects) {
        if (m_error.stopped())
            return;
        const TqnView &view = *object.view;
        const double bottom = object.top + object.height;
        const QPointF at(view.X + origin.x(), origin.y() + std::max(object.top, from) - from);
        try {
            if (object.text && !(static_cast<const TqnMemoView &>(view).Alignment & taRotate90)) {
                // Its lines whose top lies in the piece; each piece shows its part of the box.
                if (bottom <= from + eps || object.top >= to - eps)
                    continue;
                const int lineCount = int(object.text->lines.size());
                int first = 0;
                while (first < lineCount && object.lineTop(first) < from - eps)
                    ++first;
                int last = first;
                while (last < lineCount && object.lineTop(last) < to - eps)
                    ++last;
                if (first == last && object.top < from - eps)
                    continue;
                const double boxTop = std::max(object.top, from);
                const QRectF box(at, QSizeF(view.Width, std::min(bottom, to) - boxTop));
                if (m_events.onDrawObject)
                    m_events.onDrawObject(view, box);
                const double lineTop = first < lineCount ? object.lineTop(first) - boxTop : ObjectRenderer::kPadding;
                m_renderer->drawLines(static_cast<const TqnMemoView &>(view), box, *object.text, m_pages.back(), first,
                                      last - first, lineTop);
                continue;
            }
            // Anything else prints whole in the piece its top falls in.
            if (object.top < from - eps || object.top >= to - eps)
                continue;
            if (m_events.onDrawObject)
                m_events.onDrawObject(view, QRectF(at, QSizeF(view.Width, view.Height)));
            if (view.kind() == TqnViewKind::vkSubReport)
                drawSubReport(view, at);
            else if (object.text)
                m_renderer->drawText(static_cast<const TqnMemoView &>(view), QRectF(at, QSizeF(view.Width, view.Height)),
                                     *object.text, m_pages.back());
            else
                m_renderer->draw(view, at, m_pages.back());
        } catch (const std::exception &error) {
            const auto *expr = dynamic_cast<const report::ExprError *>(&error);
            fail(PreparationError::failure() + (expr ? expr->message() : QString::fromUtf8(error.what())), view.Name);
            return;
        }
    }
    if (to >= grown.height - eps)
        bandDrawn(*band.view);
}
