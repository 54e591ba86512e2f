#pragma once
// A layout that names TOTALPAGES built in one pass instead of two. The counting first pass is
// only needed where the page total could change what is built: the size of a growing text,
// a condition, a computed value. Where it is named only as a whole part "[TOTALPAGES]" of
// text boxes that keep their size, the pages come out the same whatever its value; those boxes
// are drawn without it, remembered with their records, and drawn again in their place once
// the pages are counted.

#include "output/report/build/ObjectRenderer.h"
#include "output/report/pages/PreparedPage.h"

#include <QRectF>
#include <vector>

class TqnLayout;
class TqnMemoView;

class PageTotalLater final {
public:
    // Whether the texts of `layout` name TOTALPAGES only where its value can be filled in
    // later: nowhere but as a whole part of text boxes outside growing bands, and not in a
    // variable, condition, filter or name.
    static bool suits(const TqnLayout &layout);
    // Whether `text` (a condition, a filter, a variable) names it at all.
    static bool names(const QString &text);

    // The page (its index among the built pages) the boxes now drawn belong to.
    void onPage(int index) { m_page = index; }
    // A text box drawn with parts held back, which drew the page's records first .. end-1.
    void hold(const TqnMemoView &memo, QRectF box, ObjectRenderer::ExpandedText text, size_t first, size_t end);
    // The parts held back so far.
    int heldParts() const { return m_parts; }
    // Writes `total` into every held part and draws those boxes again over their old records.
    void fill(PreparedPages &pages, int total, ObjectRenderer &renderer);

private:
    struct Held {
        int page;
        const TqnMemoView *memo;
        QRectF box;
        ObjectRenderer::ExpandedText text;
        size_t first, end;
    };
    std::vector<Held> m_held;
    int m_page = 0;
    int m_parts = 0;
};
