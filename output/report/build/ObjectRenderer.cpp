#include "output/report/build/ObjectRenderer.h"

#include "output/report/build/PageTotalLater.h"
#include "output/report/build/PictureData.h"
#include "output/report/build/ReportScope.h"
#include "output/report/model/TqnView.h"
#include "output/report/pages/PageFonts.h"

#include <algorithm>

const ObjectRenderer::Measured &ObjectRenderer::measured(const PreparedFont &face)
{
    for (const auto &entry : m_fonts)
        if (entry.first == face)
            return entry.second;
    Measured m;
    m.font = PageFonts::font(face);
    m.metrics = std::make_unique<QFontMetricsF>(PageFonts::metrics(m.font));
    m.wrap = std::make_unique<WordWrap>(*m.metrics);
    m.lineHeight = m.metrics->height();
    m.ascent = m.metrics->ascent();
    m_fonts.emplace_back(face, std::move(m));
    return m_fonts.back().second;
}

ObjectRenderer::MemoState &ObjectRenderer::state(const TqnMemoView &memo)
{
    if (m_lastMemo == &memo)
        return *m_lastState;
    auto it = m_memos.find(&memo);
    if (it == m_memos.end()) {
        MemoState made;
        made.texts.reserve(size_t(memo.Memo.size()));
        for (const QString &line : memo.Memo)
            made.texts.emplace_back(line);
        it = m_memos.emplace(&memo, std::move(made)).first;
    }
    m_lastMemo = &memo;
    m_lastState = &it->second;
    return it->second;
}

QStringList ObjectRenderer::wrap(const QString &text, const QFontMetricsF &metrics, double width)
{
    return WordWrap(metrics).wrap(text, width).lines;
}

void ObjectRenderer::draw(const TqnView &view, QPointF at, PreparedPage &page)
{
    if (!view.Visible)
        return;
    const QRectF box(at, QSizeF(view.Width, view.Height));
    switch (view.kind()) {
    case TqnViewKind::vkMemo: {
        const auto &memo = static_cast<const TqnMemoView &>(view);
        ExpandedText text = expand(memo, m_later != nullptr);
        const size_t first = page.Records.size();
        drawText(memo, box, *lay(memo, text), page);
        if (!text.held.empty() && m_later)
            m_later->hold(memo, box, std::move(text), first, page.Records.size());
        break;
    }
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

double ObjectRenderer::LaidText::neededHeight() const
{
    // Empty lines at the end take no room: a rule drawn as an empty box keeps its height.
    qsizetype used = lines.size();
    while (used > 0 && lines[used - 1].isEmpty())
        --used;
    return used * lineHeight + 2 * kPadding;
}

ObjectRenderer::ExpandedText ObjectRenderer::expand(const TqnMemoView &memo, bool holdParts)
{
    ExpandedText out;
    MemoState &memoState = state(memo);
    if (!memo.HighlightCondition.trimmed().isEmpty()) {
        if (!memoState.condition)
            memoState.condition = std::make_unique<report::Expression>(memo.HighlightCondition);
        out.highlight = memoState.condition->evaluate(m_scope).truth();
    }
    const std::vector<report::ExprText> &parsed = memoState.texts;
    out.texts.reserve(qsizetype(parsed.size()));
    std::vector<qsizetype> held;
    for (const report::ExprText &text : parsed) {
        if (!holdParts) {
            out.texts.append(text.expand(m_scope, memo.FormatText));
            continue;
        }
        held.clear();
        out.texts.append(text.expand(m_scope, memo.FormatText, held));
        for (qsizetype at : held)
            out.held.emplace_back(out.texts.size() - 1, at);
    }
    return out;
}

ObjectRenderer::Laid ObjectRenderer::lay(const TqnMemoView &memo, const ExpandedText &text)
{
    LastLaid &last = state(memo).last;
    if (last.laid && last.highlight == text.highlight && last.texts == text.texts)
        return last.laid;
    last.laid = layLines(memo, text, last);
    last.highlight = text.highlight;
    last.texts = text.texts;
    return last.laid;
}

ObjectRenderer::Laid ObjectRenderer::layLines(const TqnMemoView &memo, const ExpandedText &text, LastLaid &last)
{
    auto made = std::make_shared<LaidText>();
    LaidText &laid = *made;
    laid.highlight = text.highlight;
    laid.face = PreparedFont{memo.FontName, float(memo.FontSize),
                             laid.highlight ? memo.HighlightFontStyle : memo.FontStyle};
    const Measured *&face = last.faces[laid.highlight ? 1 : 0];
    if (!face)
        face = &measured(laid.face);
    const Measured &font = *face;
    laid.lineHeight = font.lineHeight;
    laid.ascent = font.ascent;
    const bool rotated = memo.Alignment & taRotate90;
    const double width = (rotated ? memo.Height : memo.Width) - 2 * kPadding;

    const auto add = [&](const QString &part) {
        double whole = 0;
        if (!(memo.Alignment & taWordWrap) || font.wrap->fitsWhole(part, width, whole)) {
            laid.lines.append(part);
            laid.advances.push_back(memo.Alignment & taWordWrap ? whole : font.wrap->advance(part));
            laid.wrapsOn.push_back(false);
            return;
        }
        WordWrap::Lines wrapped = font.wrap->wrap(part, width);
        laid.lines += wrapped.lines;
        laid.advances.insert(laid.advances.end(), wrapped.advances.begin(), wrapped.advances.end());
        for (qsizetype i = 0; i < wrapped.lines.size(); ++i)
            laid.wrapsOn.push_back(i + 1 < wrapped.lines.size());
    };
    for (const QString &expanded : text.texts) {
        if (!expanded.contains(QLatin1Char('\n')) && !expanded.contains(QLatin1Char('\r'))) {
            add(expanded);
            continue;
        }
        for (QString part : expanded.split(QLatin1Char('\n'))) {
            part.remove(QLatin1Char('\r'));
            add(part);
        }
    }
    return made;
}

void ObjectRenderer::drawText(const TqnMemoView &memo, const QRectF &box, const LaidText &laid, PreparedPage &page)
{
    const bool rotated = memo.Alignment & taRotate90;
    const double extent = rotated ? box.width() : box.height();
    const double height = extent - 2 * kPadding;
    const int count = int(laid.lines.size());
    // Whole lines that fit; then one more that starts inside the box, cut at its edge: a box a
    // little short for its font still shows its line. Lines wholly below are not printed.
    const int whole = std::max(0, std::min(count, int((height + 0.5) / laid.lineHeight)));
    const double inside = extent - kPadding - whole * laid.lineHeight;
    const int shown = whole < count && inside > 0.5 ? whole + 1 : whole;
    const double used = whole * laid.lineHeight;
    double top = kPadding;
    if (shown == whole && used <= height) {
        if (memo.Alignment & taVCenter)
            top += (height - used) / 2;
        else if (memo.Alignment & taBottom)
            top += height - used;
    }
    drawLines(memo, box, laid, page, 0, shown, top);
}

void ObjectRenderer::drawLines(const TqnMemoView &memo, const QRectF &box, const LaidText &laid, PreparedPage &page,
                               int first, int count, double top)
{
    drawFrame(memo, box, laid.highlight ? memo.HighlightFillColor : memo.FillColor, page);
    const bool rotated = memo.Alignment & taRotate90;
    const double width = (rotated ? box.height() : box.width()) - 2 * kPadding;
    const double extent = rotated ? box.width() : box.height();
    const double lineHeight = laid.lineHeight;
    first = std::clamp(first, 0, int(laid.lines.size()));
    count = std::clamp(count, 0, int(laid.lines.size()) - first);
    const int font = page.fontIndex(laid.face);
    const quint32 colour = laid.highlight ? memo.HighlightFontColor : memo.FontColor;
    const bool justify = (memo.Alignment & taHorizontalMask) == taJustify && !rotated;
    for (int i = 0; i < count; ++i) {
        const QString &line = laid.lines[first + i];
        if (line.isEmpty())
            continue;
        const double advance = laid.advances[size_t(first + i)];
        double x = kPadding;
        switch (memo.Alignment & taHorizontalMask) {
        case taRight: x = kPadding + width - advance; break;
        case taCenter: x = kPadding + (width - advance) / 2; break;
        default: break;
        }
        const double y = top + i * lineHeight;
        // The part of the line inside the box; a cut line is drawn clipped to it.
        const double visible = std::min(lineHeight, extent - y);
        const auto put = [&](const QString &text, double x, double advance) {
            DrawRecord r;
            r.kind = DrawRecord::Text;
            r.font = font;
            r.color = colour;
            r.text = text;
            r.baseline = float(laid.ascent);
            r.clipped = visible < lineHeight - 0.01;
            if (!rotated) {
                r.rect = QRectF(box.left() + x, box.top() + y, advance, visible);
            } else {
                r.rotated = true;
                r.rect = QRectF(box.left() + y, box.bottom() - x - advance, visible, advance);
            }
            page.Records.push_back(std::move(r));
        };
        if (justify && laid.wrapsOn[size_t(first + i)] && spreadWords(line, *measured(laid.face).metrics, width, put))
            continue;
        put(line, x, advance);
    }
}

bool ObjectRenderer::spreadWords(const QString &line, const QFontMetricsF &metrics, double width,
                                 const std::function<void(const QString &, double, double)> &put)
{
    qsizetype end = line.size();
    while (end > 0 && line[end - 1] == QLatin1Char(' '))
        --end;
    const QString used = line.left(end);
    const qsizetype gaps = used.count(QLatin1Char(' '));
    if (gaps == 0)
        return false;
    const double extra = (width - metrics.horizontalAdvance(used)) / double(gaps);
    if (extra <= 0)
        return false;
    // Each word where it stands in the line, moved right by the widening of the blanks before it.
    int blanks = 0;
    for (qsizetype start = 0; start < end; ++blanks) {
        qsizetype stop = used.indexOf(QLatin1Char(' '), start);
        if (stop < 0)
            stop = end;
        if (stop > start) {
            const QString word = used.mid(start, stop - start);
            put(word, kPadding + metrics.horizontalAdvance(used.left(start)) + blanks * extra,
                metrics.horizontalAdvance(word));
        }
        start = stop + 1;
    }
    return true;
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
    // A metafile cannot be drawn here: a box that says so takes its place, never a blank.
    const bool metafile = recognisePicture(data) == PictureFormat::Metafile;
    const QImage image = metafile ? metafilePlaceholder(box.size().toSize()) : decodePicture(data);
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
