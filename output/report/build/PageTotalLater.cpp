#include "output/report/build/PageTotalLater.h"

#include "output/report/expr/ExprText.h"
#include "output/report/model/TqnLayout.h"

#include <algorithm>

namespace {

const QLatin1String kPageTotal("TOTALPAGES");

bool namesPageTotal(const QStringList &texts)
{
    return std::any_of(texts.begin(), texts.end(), [](const QString &t) { return PageTotalLater::names(t); });
}

// A text box whose texts name the total only as whole parts; `named` tells whether they do.
bool wholePartsOnly(const TqnMemoView &memo, bool &named)
{
    for (const QString &line : memo.Memo) {
        if (!PageTotalLater::names(line))
            continue;
        const report::ExprText parsed(line);
        for (const report::Expression &part : parsed.expressions()) {
            if (!PageTotalLater::names(part.source()))
                continue;
            if (part.source().trimmed().compare(kPageTotal, Qt::CaseInsensitive) != 0)
                return false;
            named = true;
        }
    }
    return true;
}

bool pageSuits(const TqnPage &page)
{
    for (const auto &object : page.Objects) {
        if (object->kind() == TqnViewKind::vkBand) {
            if (PageTotalLater::names(static_cast<const TqnBandView &>(*object).GroupCondition)
                || namesPageTotal(object->Memo))
                return false;
            continue;
        }
        if (object->kind() != TqnViewKind::vkMemo) {
            if (namesPageTotal(object->Memo))
                return false;
            continue;
        }
        const auto &memo = static_cast<const TqnMemoView &>(*object);
        bool named = false;
        if (PageTotalLater::names(memo.HighlightCondition) || !wholePartsOnly(memo, named))
            return false;
        // A growing band's height, and so every place after it, follows its texts' lines.
        const TqnBandView *band = page.bandOf(memo);
        if (named && band && (band->BandOptions & TqnBandView::boStretch))
            return false;
    }
    return true;
}

} // namespace

bool PageTotalLater::names(const QString &text)
{
    return text.contains(kPageTotal, Qt::CaseInsensitive);
}

bool PageTotalLater::suits(const TqnLayout &layout)
{
    for (const TqnVariable &v : layout.Values.items())
        if (names(v.Name) || names(v.Text))
            return false;
    for (int i = 0; i < layout.DataSets.count(); ++i)
        if (const auto *bound = qobject_cast<const TqnDBDataSet *>(layout.DataSets.at(i)))
            if (names(bound->Filter))
                return false;
    return std::all_of(layout.Pages.begin(), layout.Pages.end(), pageSuits);
}

void PageTotalLater::hold(const TqnMemoView &memo, QRectF box, ObjectRenderer::ExpandedText text, size_t first,
                          size_t end)
{
    m_parts += int(text.held.size());
    m_held.push_back({m_page, &memo, box, std::move(text), first, end});
}

void PageTotalLater::fill(PreparedPages &pages, int total, ObjectRenderer &renderer)
{
    // From the last box back, so that the records of the boxes before one keep their places
    // while its records change in number.
    for (auto held = m_held.rbegin(); held != m_held.rend(); ++held) {
        const QString value = report::ExprText::display(report::ExprValue(total), held->memo->FormatText);
        // A text's parts from its end back, each place still where it was noted.
        for (auto part = held->text.held.rbegin(); part != held->text.held.rend(); ++part)
            held->text.texts[part->first].insert(part->second, value);
        PreparedPage &page = pages[held->page];
        std::vector<DrawRecord> after(std::make_move_iterator(page.Records.begin() + std::ptrdiff_t(held->end)),
                                      std::make_move_iterator(page.Records.end()));
        page.Records.resize(held->first);
        renderer.drawText(*held->memo, held->box, *renderer.lay(*held->memo, held->text), page);
        page.Records.insert(page.Records.end(), std::make_move_iterator(after.begin()),
                            std::make_move_iterator(after.end()));
    }
    m_held.clear();
}
