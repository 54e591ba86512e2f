#pragma once
// The width of texts in one font exactly as QFontMetricsF::horizontalAdvance measures them,
// for less than shaping every text. Shaping moves a letter only for its neighbour (a kerning
// pair, a ligature): where two neighbours measure together exactly as wide as apart, the text
// can be cut there and its width is the sum of the runs between such cuts. A text of Latin
// letters is summed so from its runs, each run shaped once and remembered, each pair of
// neighbours tried once for the font; names, dates and addresses are made of the same few
// runs; single letters and the pairs of Latin-1 are kept in tables. Anything else (letters
// that join or combine, tabs, control characters) is measured whole. Short whole texts are
// remembered too: a list prints the same labels, roles and towns on every record.

#include <QFontMetricsF>
#include <QHash>
#include <QString>
#include <vector>

class TextAdvance final {
public:
    explicit TextAdvance(const QFontMetricsF &metrics) : m_metrics(metrics) {}

    // Remembers `text` when it is short.
    double advance(const QString &text);
    // Measures without remembering the text itself (a line of a long note).
    double measure(QStringView text);

private:
    static constexpr qsizetype kRememberedLength = 48;
    static constexpr qsizetype kRemembered = 8192;
    // Texts met lately, in two halves: when the newer is full the older goes, so that names
    // which never come back do not push out what every record prints. Found by a text that
    // may only borrow its characters (a run inside a longer text): nothing is copied to look.
    struct Recent {
        QHash<QString, double> newer, older;
        const double *find(const QString &key);
        void insert(const QString &key, double value);   // `key` owns its characters
    };
    static bool summable(QChar c);
    bool shapedTogether(QChar left, QChar right);
    bool measuredTogether(QChar left, QChar right);
    double run(QStringView text);

    const QFontMetricsF &m_metrics;
    Recent m_texts, m_runs;
    // Whether shaping joins two neighbours: for Latin-1 pairs a table (0 not yet tried, 1 apart,
    // 2 joined), the rest by both characters in one.
    std::vector<quint8> m_latinPairs;
    std::vector<double> m_latinChars;   // each Latin-1 letter's own width (-1: not yet measured)
    QHash<quint32, bool> m_pairs;
};
