#pragma once
// Draws the objects of a layout into a prepared page: frames and fills, text boxes with
// their expressions expanded and words wrapped inside the box, pictures scaled into theirs.

#include "output/report/build/WordWrap.h"
#include "output/report/expr/ExprText.h"
#include "output/report/pages/PreparedPage.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <deque>
#include <functional>
#include <memory>
#include <unordered_map>

class PageTotalLater;
class ReportScope;
class TqnMemoView;
class TqnPictureView;
class TqnView;

class ObjectRenderer final {
public:
    explicit ObjectRenderer(ReportScope &scope) : m_scope(scope) {}

    static constexpr double kPadding = 2.0;   // text keeps off the frame by this many pixels

    // The text of a text box for the record being printed: expressions expanded, lines wrapped
    // to the box's width. Throws the expression errors of its texts.
    struct LaidText {
        bool highlight = false;
        PreparedFont face;
        QStringList lines;
        std::vector<double> advances;
        std::vector<bool> wrapsOn;   // per line: a break made by wrapping ends it
        double lineHeight = 0;
        double ascent = 0;
        // The box height that shows every line up to the last that is not empty.
        double neededHeight() const;
    };
    using Laid = std::shared_ptr<const LaidText>;
    Laid layText(const TqnMemoView &memo) { return lay(memo, expand(memo, false)); }

    // The two halves of laying a text out. First its texts for the record being printed, one
    // per line of the box, expressions expanded; with `holdParts`, where a part's value was
    // held back (the page total of a layout built in one pass) the place is noted and the
    // value left out.
    struct ExpandedText {
        bool highlight = false;
        QStringList texts;
        std::vector<std::pair<qsizetype, qsizetype>> held;   // text index, place in it
    };
    ExpandedText expand(const TqnMemoView &memo, bool holdParts);
    // Then its lines, wrapped to the box. A box whose texts come out as they did the last time
    // (a label, a value the record before printed too) gets the lines laid out then.
    Laid lay(const TqnMemoView &memo, const ExpandedText &text);

    // While set, text boxes whose texts hold a part back are handed to `later` with the
    // records they drew, to be drawn again once the value is known.
    void setPageTotalLater(PageTotalLater *later) { m_later = later; }

    // Draws `view` with its top-left corner at `at` (layout pixels). Throws the expression
    // errors of its texts and UnknownPictureFormat.
    void draw(const TqnView &view, QPointF at, PreparedPage &page);
    // Draws a text box laid out before in `box`, which may be taller than designed (a growing
    // band), showing lines from `first` on; lines below the box are left for the caller, a
    // line that crosses its bottom is cut at the box.
    void drawText(const TqnMemoView &memo, const QRectF &box, const LaidText &text, PreparedPage &page);
    // Draws the frame of `box` and lines first .. first+count-1, the first at `top`; a line
    // that crosses the box's bottom is cut there. A justified box spreads each line that
    // wrapping ended to the box's width, its words drawn one by one.
    void drawLines(const TqnMemoView &memo, const QRectF &box, const LaidText &text, PreparedPage &page, int first,
                   int count, double top);

    // Words of `text` in lines no wider than `width`; a word longer than the width is cut.
    static QStringList wrap(const QString &text, const QFontMetricsF &metrics, double width);

private:
    struct Measured {
        QFont font;
        std::unique_ptr<QFontMetricsF> metrics;
        std::unique_ptr<WordWrap> wrap;
        double lineHeight = 0, ascent = 0;   // asked of the metrics once: each asking finds the font engine
    };
    // A box's last texts and the lines they were laid out in, and its two faces (plain,
    // highlighted) once found.
    struct LastLaid {
        bool highlight = false;
        QStringList texts;
        Laid laid;
        const Measured *faces[2] = {};
    };
    // What the renderer keeps of a text box: its texts and highlight condition parsed once,
    // and what it laid out last.
    struct MemoState {
        std::vector<report::ExprText> texts;
        std::unique_ptr<report::Expression> condition;   // parsed when first needed
        LastLaid last;
    };
    // Found once for the two halves of laying out a box (the one box asked last is at hand).
    MemoState &state(const TqnMemoView &memo);
    Laid layLines(const TqnMemoView &memo, const ExpandedText &text, LastLaid &last);
    const Measured &measured(const PreparedFont &face);
    // A line spread to `width`: its blanks widen alike and `put` gets each word with its place
    // and width. False when it has no blank between words or is as wide already.
    static bool spreadWords(const QString &line, const QFontMetricsF &metrics, double width,
                            const std::function<void(const QString &, double x, double advance)> &put);
    void drawFrame(const TqnView &view, const QRectF &box, quint32 fill, PreparedPage &page);
    void drawPicture(const TqnPictureView &picture, const QRectF &box, PreparedPage &page);

    ReportScope &m_scope;
    PageTotalLater *m_later = nullptr;
    std::unordered_map<const TqnMemoView *, MemoState> m_memos;   // in place while the renderer lives
    const TqnMemoView *m_lastMemo = nullptr;
    MemoState *m_lastState = nullptr;
    std::deque<std::pair<PreparedFont, Measured>> m_fonts;   // in place while the renderer lives
};
