#include "output/report/build/ObjectRenderer.h"

#include "output/report/build/PictureData.h"
#include "output/report/build/ReportScope.h"
#include "output/report/model/TqnView.h"
#include "output/report/pages/PageFonts.h"

namespace {
constexpr double kPadding = 2.0;   // text keeps off the frame by this many pixels
}

const ObjectRenderer::Measured &ObjectRenderer::measured(const PreparedFont &face)
{
    for (const auto &entry : m_fonts)
        if (entry.first == face)
            return entry.second;
    Measured m;
    m.font = PageFonts::font(face);
    m.metrics = std::make_unique<QFontMetricsF>(PageFonts::metrics(m.font));
    m_fonts.emplace_back(face, std::move(m));
    return m_fonts.back().second;
}

const std::vector<report::ExprText> &ObjectRenderer::texts(const TqnMemoView &memo)
{
    auto it = m_texts.find(&memo);
    if (it == m_texts.end()) {
        std::vector<report::ExprText> parsed;
        parsed.reserve(size_t(memo.Memo.size()));
        for (const QString &line : memo.Memo)
            parsed.emplace_back(line);
        it = m_texts.emplace(&memo, std::move(parsed)).first;
    }
    return it->second;
}

QStringList ObjectRenderer::wrap(const QString &text, const QFontMetricsF &metrics, double width)
{
    if (metrics.horizontalAdvance(text) <= width)
        return {text};
    QStringList lines;
    QString line;
    const QStringList words = text.split(QLatin1Char(' '));
    for (const QString &word : words) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (metrics.horizontalAdvance(candidate) <= width || candidate.isEmpty()) {
            line = candidate;
            continue;
        }
        if (!line.isEmpty())
            lines.append(line);
        line = word;
        // A word wider than the box is cut where it no longer fits.
        while (line.size() > 1 && metrics.horizontalAdvance(line) > width) {
            qsizetype cut = line.size() - 1;
            while (cut > 1 && metrics.horizontalAdvance(line.left(cut)) > width)
                --cut;
            lines.append(line.left(cut));
            line = line.mid(cut);
        }
    }
    lines.append(line);
    return lines;
}

void ObjectRenderer::draw(const TqnView &view, QPointF at, PreparedPage &page)
{
    if (!view.Visible)
        return;
    const QRectF box(at, QSizeF(view.Width, view.Height));
    switch (view.kind()) {
    case TqnViewKind::vkMemo:
        drawMemo(static_cast<const TqnMemoView &>(view), box, page);
        break;
    case TqnViewKind::vkPicture:
        drawFrame(view, box, view.FillColor, page);
        drawPicture(static_cast<const TqnPictureView &>(view), box, page);
        break;
    case TqnViewKind::vkBand:
        drawFrame(view, box, view.FillColor, page);
        break;
    default:
        break;
    }
}

void ObjectRenderer::drawFrame(const TqnView &view, const QRectF &box, quint32 fill, PreparedPage &page)
{
    if (fill != kColorNone) {
        DrawRecord r;
        r.kind = DrawRecord::Fill;
        r.rect = box;
        r.color = fill;
        page.Records.push_back(std::move(r));
    }
    const auto line = [&](QPointF a, QPointF b) {
        DrawRecord r;
        r.kind = DrawRecord::Line;
        r.rect = QRectF(a, b);
        r.color = view.FrameColor;
        r.penWidth = float(std::max(1, view.FrameWidth));
        page.Records.push_back(std::move(r));
    };
    if (view.FrameLines & flTop) line(box.topLeft(), box.topRight());
    if (view.FrameLines & flLeft) line(box.topLeft(), box.bottomLeft());
    if (view.FrameLines & flBottom) line(box.bottomLeft(), box.bottomRight());
    if (view.FrameLines & flRight) line(box.topRight(), box.bottomRight());
}

void ObjectRenderer::drawMemo(const TqnMemoView &memo, const QRectF &box, PreparedPage &page)
{
    bool highlight = false;
    if (!memo.HighlightCondition.trimmed().isEmpty()) {
        auto it = m_conditions.find(&memo);
        if (it == m_conditions.end())
            it = m_conditions.emplace(&memo, report::Expression(memo.HighlightCondition)).first;
        highlight = it->second.evaluate(m_scope).truth();
    }
    drawFrame(memo, box, highlight ? memo.HighlightFillColor : memo.FillColor, page);

    const PreparedFont face{memo.FontName, float(memo.FontSize),
                            highlight ? memo.HighlightFontStyle : memo.FontStyle};
    const Measured &m = measured(face);
    const QFontMetricsF &metrics = *m.metrics;
    const bool rotated = memo.Alignment & taRotate90;
    const double width = (rotated ? box.height() : box.width()) - 2 * kPadding;
    const double height = (rotated ? box.width() : box.height()) - 2 * kPadding;

    // Each line is measured once: most fit their box and need no wrapping.
    QStringList lines;
    std::vector<double> advances;
    const auto add = [&](const QString &part) {
        const double whole = metrics.horizontalAdvance(part);
        if (!(memo.Alignment & taWordWrap) || whole <= width) {
            lines.append(part);
            advances.push_back(whole);
            return;
        }
        for (const QString &line : wrap(part, metrics, width)) {
            lines.append(line);
            advances.push_back(metrics.horizontalAdvance(line));
        }
    };
    for (const report::ExprText &text : texts(memo)) {
        const QString expanded = text.expand(m_scope);
        if (!expanded.contains(QLatin1Char('\n')) && !expanded.contains(QLatin1Char('\r'))) {
            add(expanded);
            continue;
        }
        for (QString part : expanded.split(QLatin1Char('\n'))) {
            part.remove(QLatin1Char('\r'));
            add(part);
        }
    }
    const double lineHeight = metrics.height();
    // Lines below the box are not printed.
    const int fitting = std::max(0, std::min(int(lines.size()), int((height + 0.5) / lineHeight)));
    const double used = fitting * lineHeight;
    double top = kPadding;
    if (memo.Alignment & taVCenter)
        top += (height - used) / 2;
    else if (memo.Alignment & taBottom)
        top += height - used;
    const int font = page.fontIndex(face);
    const quint32 colour = highlight ? memo.HighlightFontColor : memo.FontColor;
    for (int i = 0; i < fitting; ++i) {
        const QString &line = lines[i];
        if (line.isEmpty())
            continue;
        const double advance = advances[size_t(i)];
        double left = kPadding;
        switch (memo.Alignment & taHorizontalMask) {
        case taRight: left = kPadding + width - advance; break;
        case taCenter: left = kPadding + (width - advance) / 2; break;
        default: break;
        }
        DrawRecord r;
        r.kind = DrawRecord::Text;
        r.font = font;
        r.color = colour;
        r.text = line;
        r.baseline = float(metrics.ascent());
        if (!rotated) {
            r.rect = QRectF(box.left() + left, box.top() + top + i * lineHeight, advance, lineHeight);
        } else {
            r.rotated = true;
            r.rect = QRectF(box.left() + top + i * lineHeight, box.bottom() - left - advance, lineHeight, advance);
        }
        page.Records.push_back(std::move(r));
    }
}

void ObjectRenderer::drawPicture(const TqnPictureView &picture, const QRectF &box, PreparedPage &page)
{
    QByteArray data = picture.Data;
    const QString source = picture.Memo.value(0).trimmed();
    if (source.startsWith(QLatin1Char('[')) && source.endsWith(QLatin1Char(']'))) {
        // The picture of a field: its bytes, not its text.
        data = m_scope.fieldBytes(source.mid(1, source.size() - 2));
    }
    if (data.isEmpty())
        return;
    const QImage image = decodePicture(data);
    if (image.isNull())
        return;
    QRectF target = box;
    if (!(picture.PictureFlags & TqnPictureView::pfStretch)) {
        target.setSize(image.size().toSizeF().boundedTo(box.size()));
    } else if (picture.PictureFlags & TqnPictureView::pfKeepAspect) {
        target.setSize(image.size().toSizeF().scaled(box.size(), Qt::KeepAspectRatio));
    }
    if (picture.PictureFlags & TqnPictureView::pfCenter)
        target.moveCenter(box.center());
    DrawRecord r;
    r.kind = DrawRecord::Image;
    r.rect = target;
    r.image = image.convertToFormat(QImage::Format_ARGB32);
    page.Records.push_back(std::move(r));
}
