#pragma once
// The words of a paragraph in lines no wider than a box, for one font: a line takes words
// while it fits; a word wider than the box is cut where it no longer fits; a blank that would
// start a line is dropped. Every break is decided by measuring the line itself; the sum of
// the characters' own widths (kept for the font) only tells where to look, so a long note
// costs about two measurements a line rather than one a word.

#include <QFontMetricsF>
#include <QHash>
#include <QStringList>
#include <vector>

class WordWrap final {
public:
    explicit WordWrap(const QFontMetricsF &metrics) : m_metrics(metrics) {}

    struct Lines {
        QStringList lines;
        std::vector<double> advances;   // each line's measured width
    };
    // `text`, which as a whole is wider than `width`, in lines.
    Lines wrap(const QString &text, double width);

private:
    double charAdvance(QChar c);

    const QFontMetricsF &m_metrics;
    QHash<char16_t, double> m_chars;
};
