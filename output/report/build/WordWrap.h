#pragma once
// A paragraph in lines no wider than a box, for one font: a paragraph that fits is one line;
// otherwise a line takes words while it fits, a word wider than the box is cut where it no
// longer fits, and a blank that would start a line is dropped. The sum of the characters' own
// widths (kept for the font) tells where a line ends; the line itself is then measured, and
// so is the line with the next word whenever the sum leaves any doubt that it is too wide (in
// scripts whose letters join, always). A long note costs about one measurement a line rather
// than one a word, and a measurement is mostly a sum of remembered widths (TextAdvance.h).

#include "output/report/build/TextAdvance.h"

#include <QFontMetricsF>
#include <QHash>
#include <QStringList>
#include <vector>

class WordWrap final {
public:
    explicit WordWrap(const QFontMetricsF &metrics)
        : m_metrics(metrics), m_averageChar(metrics.averageCharWidth()), m_advance(metrics) {}

    struct Lines {
        QStringList lines;
        std::vector<double> advances;   // each line's measured width
    };
    Lines wrap(const QString &text, double width);
    // Whether a text short enough to be measured whole fits the width on one line, as wrap
    // would leave it (its width in `advance`): most texts of a list do, and need no lines made.
    bool fitsWhole(const QString &text, double width, double &advance);
    // The measured width of a whole text.
    double advance(const QString &text) { return m_advance.advance(text); }

private:
    double charAdvance(QChar c);
    Lines wrapWords(const QString &text, double width, const std::vector<double> &prefix, bool latin);

    const QFontMetricsF &m_metrics;
    double m_averageChar;
    QHash<char16_t, double> m_chars;
    TextAdvance m_advance;
};
