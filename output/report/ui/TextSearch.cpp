#include "output/report/ui/TextSearch.h"

#include "output/report/pages/PageFonts.h"

#include <algorithm>
#include <cmath>

namespace {

double baselineOf(const DrawRecord &r)
{
    return r.rect.top() + r.baseline;
}

} // namespace

const std::vector<TextSearch::Line> &TextSearch::lines(int page)
{
    const auto found = m_lines.find(page);
    if (found != m_lines.end())
        return found->second;

    const std::vector<DrawRecord> &records = m_pages[page].Records;
    std::vector<int> flat, turned;
    for (int i = 0; i < int(records.size()); ++i) {
        if (records[size_t(i)].kind != DrawRecord::Text || records[size_t(i)].text.isEmpty())
            continue;
        (records[size_t(i)].rotated ? turned : flat).push_back(i);
    }
    // Reading order: by baseline, then from the left; baselines within a pixel are one line.
    std::sort(flat.begin(), flat.end(), [&](int a, int b) {
        const double ya = baselineOf(records[size_t(a)]), yb = baselineOf(records[size_t(b)]);
        if (std::abs(ya - yb) > 1)
            return ya < yb;
        return records[size_t(a)].rect.left() < records[size_t(b)].rect.left();
    });
    std::vector<Line> result;
    double lineBaseline = 0;
    double lineRight = 0;
    for (int index : flat) {
        const DrawRecord &r = records[size_t(index)];
        const bool sameLine = !result.empty() && std::abs(baselineOf(r) - lineBaseline) <= 1;
        if (!sameLine) {
            result.emplace_back();
            lineBaseline = baselineOf(r);
        } else if (r.rect.left() - lineRight > r.rect.height() * 0.2) {
            result.back().text += QLatin1Char(' ');
        }
        Line &line = result.back();
        line.pieces.push_back({index, int(line.text.size())});
        line.text += r.text;
        lineRight = r.rect.right();
    }
    // Turned texts stand alone, each its own line.
    for (int index : turned)
        result.push_back(Line{records[size_t(index)].text, {{index, 0}}});
    return m_lines.emplace(page, std::move(result)).first->second;
}

QStringList TextSearch::lineTexts(int page)
{
    QStringList texts;
    for (const Line &line : lines(page))
        texts << line.text;
    return texts;
}

bool TextSearch::wholeWord(const QString &text, int start, int length) const
{
    const bool before = start > 0 && text[start - 1].isLetterOrNumber();
    const bool after = start + length < text.size() && text[start + length].isLetterOrNumber();
    return !before && !after;
}

int TextSearch::matchIn(const QString &text, const QString &query, const FindOptions &options, int from,
                        bool forward) const
{
    const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    int at = from;
    while (true) {
        if (forward) {
            if (at > text.size())
                return -1;
            at = int(text.indexOf(query, at, cs));
        } else {
            if (at < 0)
                return -1;
            at = int(text.lastIndexOf(query, at, cs));
        }
        if (at < 0)
            return -1;
        if (options.insideWords || wholeWord(text, at, int(query.size())))
            return at;
        at += forward ? 1 : -1;
    }
}

TextHit TextSearch::find(const QString &query, const FindOptions &options, TextCursor from)
{
    if (query.isEmpty() || m_pages.isEmpty())
        return TextHit();
    const int pageCount = int(m_pages.size());
    const int step = options.forward ? 1 : -1;
    const int first = options.forward ? std::max(0, from.page) : std::min(pageCount - 1, from.page);
    for (int page = first; page >= 0 && page < pageCount; page += step) {
        const std::vector<Line> &pageLines = lines(page);
        const int count = int(pageLines.size());
        int l = options.forward ? 0 : count - 1;
        if (page == from.page)
            l = options.forward ? from.line : std::min(from.line, count - 1);
        for (; l >= 0 && l < count; l += step) {
            const QString &text = pageLines[size_t(l)].text;
            // Forward a match may start at the cursor; backward only strictly before it.
            int start = options.forward ? 0 : int(text.size());
            if (page == from.page && l == from.line)
                start = options.forward ? from.offset : from.offset - 1;
            const int at = matchIn(text, query, options, start, options.forward);
            if (at >= 0) {
                TextHit hit;
                hit.at = {page, l, at};
                hit.length = int(query.size());
                hit.boxes = boxesOf(page, pageLines[size_t(l)], at, hit.length);
                return hit;
            }
        }
    }
    return TextHit();
}

std::vector<QRectF> TextSearch::boxesOf(int page, const Line &line, int start, int length) const
{
    std::vector<QRectF> boxes;
    const PreparedPage &p = m_pages[page];
    const int end = start + length;
    for (const Piece &piece : line.pieces) {
        const DrawRecord &r = p.Records[size_t(piece.record)];
        const int from = std::max(start, piece.lineStart) - piece.lineStart;
        const int to = std::min(end, piece.lineStart + int(r.text.size())) - piece.lineStart;
        if (from >= to)
            continue;
        PreparedFont face;
        if (r.font >= 0 && size_t(r.font) < p.Fonts.size())
            face = p.Fonts[size_t(r.font)];
        const QFontMetricsF metrics = PageFonts::metrics(PageFonts::font(face));
        const double a = metrics.horizontalAdvance(r.text.left(from));
        const double b = metrics.horizontalAdvance(r.text.left(to));
        if (!r.rotated)
            boxes.emplace_back(r.rect.left() + a, r.rect.top(), b - a, r.rect.height());
        else
            boxes.emplace_back(r.rect.left(), r.rect.bottom() - b, r.rect.width(), b - a);
    }
    return boxes;
}
