#pragma once
// Finding text on prepared pages. A page's text records are read as lines: records that share
// a baseline are joined left to right, with a blank where a visible gap separates them, so a
// name the builder drew in several pieces is found as one text. Lines of a page are made
// when the page is first searched and kept.

#include "output/report/pages/PreparedPage.h"

#include <QRectF>
#include <QString>
#include <climits>
#include <map>
#include <vector>

struct FindOptions {
    bool matchCase = false;
    bool insideWords = true;     // off: only whole words
    bool fromFirstPage = true;   // off: from the current page
    bool forward = true;
};

// A place in the text: page and line (from 0) and a character of the line.
struct TextCursor {
    int page = 0;
    int line = 0;
    int offset = 0;
    static TextCursor pageStart(int page) { return {page, 0, 0}; }
    static TextCursor pageEnd(int page) { return {page, INT_MAX, 0}; }
};

struct TextHit {
    TextCursor at;
    int length = 0;
    std::vector<QRectF> boxes;   // what to highlight, in layout pixels
    bool valid() const { return length > 0; }
};

class TextSearch final {
public:
    explicit TextSearch(const PreparedPages &pages) : m_pages(pages) {}
    // Pages changed (a file opened): lines made so far are dropped.
    void reset() { m_lines.clear(); }

    // Forward: the first match starting at or after `from`; backward: the last match
    // starting before it. An invalid hit when there is none.
    TextHit find(const QString &query, const FindOptions &options, TextCursor from);

    // The page's lines as read (for tests and for the benchmark's curiosity).
    QStringList lineTexts(int page);

private:
    struct Piece {
        int record;              // index into the page's records
        int lineStart;           // where its text starts in the line
    };
    struct Line {
        QString text;
        std::vector<Piece> pieces;
    };
    const std::vector<Line> &lines(int page);
    bool wholeWord(const QString &text, int start, int length) const;
    int matchIn(const QString &text, const QString &query, const FindOptions &options, int from, bool forward) const;
    std::vector<QRectF> boxesOf(int page, const Line &line, int start, int length) const;

    const PreparedPages &m_pages;
    std::map<int, std::vector<Line>> m_lines;
};
