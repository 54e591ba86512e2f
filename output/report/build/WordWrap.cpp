#include "output/report/build/WordWrap.h"

double WordWrap::charAdvance(QChar c)
{
    auto it = m_chars.constFind(c.unicode());
    if (it == m_chars.cend())
        it = m_chars.insert(c.unicode(), m_metrics.horizontalAdvance(c));
    return *it;
}

namespace {

// Whether a text whose characters' widths add up to `estimate` is surely wider than `width`:
// in Latin letters, kerning and ligatures move a text's width off that sum by far less than
// this margin. Scripts whose letters join or combine are always measured.
bool surelyWider(double estimate, double width, bool latin)
{
    return latin && estimate > width * 1.05 + 3;
}

} // namespace

bool WordWrap::fitsWhole(const QString &text, double width, double &advance)
{
    // Most texts are short and fit their box: measured at once, as nothing is to be saved.
    if (double(text.size()) * m_averageChar > 2 * width)
        return false;
    advance = m_advance.advance(text);
    return advance <= width;
}

WordWrap::Lines WordWrap::wrap(const QString &text, double width)
{
    double whole = 0;
    if (fitsWhole(text, width, whole))
        return {{text}, {whole}};
    const bool longText = double(text.size()) * m_averageChar > 2 * width;
    std::vector<double> prefix(size_t(text.size()) + 1, 0.0);
    bool latin = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        prefix[size_t(i) + 1] = prefix[size_t(i)] + charAdvance(text[i]);
        latin = latin && text[i].unicode() < 0x300;
    }
    if (longText && !surelyWider(prefix.back(), width, latin)) {
        const double whole = m_advance.measure(text);
        if (whole <= width)
            return {{text}, {whole}};
    }
    return wrapWords(text, width, prefix, latin);
}

WordWrap::Lines WordWrap::wrapWords(const QString &text, double width, const std::vector<double> &prefix, bool latin)
{
    // Words as spans of the text; `prefix` holds the estimated width of every start of it.
    std::vector<std::pair<qsizetype, qsizetype>> words;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i)
        if (i == text.size() || text[i] == QLatin1Char(' ')) {
            words.emplace_back(start, i);
            start = i + 1;
        }
    const auto estimate = [&](qsizetype from, qsizetype to) { return prefix[size_t(to)] - prefix[size_t(from)]; };

    Lines out;
    const auto push = [&](const QString &line, double advance) {
        out.lines.append(line);
        out.advances.push_back(advance);
    };
    // The line being filled is always a span of the text (it may begin with the rest of a cut
    // word): [lineStart, lineEnd), or empty while lineStart is -1.
    qsizetype lineStart = -1, lineEnd = -1;
    double lineAdvance = 0;
    const size_t n = words.size();
    size_t k = 0;
    while (k < n) {
        if (lineStart < 0 && words[k].first == words[k].second) {
            ++k;
            continue;
        }
        const qsizetype from = lineStart < 0 ? words[k].first : lineStart;
        // The line with the next m words joined: does it fit? (its width in `advance`)
        const auto fits = [&](size_t m, double &advance) {
            advance = m_advance.measure(QStringView(text).mid(from, words[k + m - 1].second - from));
            return advance <= width;
        };
        // A line only widens as words join it, so the words that join are those up to the
        // first that makes it too wide; the estimate says where to start looking.
        size_t m = 0;
        while (k + m < n && estimate(from, words[k + m].second) <= width)
            ++m;
        double advance = lineAdvance;
        if (m > 0 && !fits(m, advance)) {
            do
                --m;
            while (m > 0 && !fits(m, advance));
        } else {
            double wider = 0;
            while (k + m < n && !surelyWider(estimate(from, words[k + m].second), width, latin) && fits(m + 1, wider)) {
                ++m;
                advance = wider;
            }
        }
        if (m > 0) {
            lineStart = from;
            lineEnd = words[k + m - 1].second;
            lineAdvance = advance;
            k += m;
        }
        if (k == n)
            break;
        // Word k does not fit after the line: the line is done and the word starts the next.
        if (lineStart >= 0)
            push(text.mid(lineStart, lineEnd - lineStart), lineAdvance);
        qsizetype pieceStart = words[k].first;
        QString piece = text.mid(pieceStart, words[k].second - pieceStart);
        // A word wider than the box is cut where it no longer fits.
        while (piece.size() > 1 && m_advance.measure(piece) > width) {
            qsizetype cut = piece.size() - 1;
            while (cut > 1 && m_advance.measure(QStringView(piece).left(cut)) > width)
                --cut;
            push(piece.left(cut), m_advance.measure(QStringView(piece).left(cut)));
            piece = piece.mid(cut);
            pieceStart += cut;
        }
        lineStart = piece.isEmpty() ? -1 : pieceStart;
        lineEnd = words[k].second;
        lineAdvance = piece.isEmpty() ? 0 : m_advance.measure(piece);
        ++k;
    }
    if (lineStart < 0)
        push(QString(), 0);
    else
        push(text.mid(lineStart, lineEnd - lineStart), lineAdvance);
    return out;
}
