#pragma once
// A paragraph in lines no wider than a box, for one font: a paragraph that fits is one line;
// otherwise a line takes words while it fits, a word wider than the box is cut where it no
// longer fits, and a blank that would start a line is dropped. The sum of the characters' own
// widths (kept for the font) tells where a line ends; the line itself is then measured, and
// so is the line with the next word whenever the sum leaves any doubt that it is too wide (in
// scripts whose letters join, always). A long note costs about one measurement a line rather
// than one a word.

#include <QFontMetricsF>
#include <QHash>
#include <QStringList>
#include <vector>

class WordWrap final {
public:
    explicit WordWrap(const QFontMetricsF &metrics) : m_metrics(metrics), m_averageChar(metrics.averageCharWidth()) {}

    struct Lines {
        QStringList lines;
        std::vector<double> advances;   // each line's measured width
    };
    Lines wrap(const QString &text, double width);
    // The measured width of a whole text. Short texts are remembered: a list prints the same
    // labels, bands, roles and towns on every record, and shaping a text is what measuring costs.
    // The texts met lately are kept in two halves: when the newer is full the older goes, so
    // that names which never come back do not push out the texts of every record.
    double advance(const QString &text);

private:
    static constexpr qsizetype kRememberedLength = 48;
    static constexpr qsizetype kRememberedTexts = 8192;
    double charAdvance(QChar c);
    Lines wrapWords(const QString &text, double width, const std::vector<double> &prefix, bool latin);

    const QFontMetricsF &m_metrics;
    double m_averageChar;
    QHash<char16_t, double> m_chars;
    QHash<QString, double> m_texts, m_older;
};
