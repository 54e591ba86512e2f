#include "output/report/build/GrownBand.h"

#include "output/report/model/TqnView.h"

#include <algorithm>
#include <cmath>

GrownBand GrownBand::grow(int bandY, int bandHeight, const std::vector<const TqnView *> &objects,
                          ObjectRenderer &renderer, const TqnView *&failing)
{
    GrownBand band;
    band.objects.reserve(objects.size());
    for (const TqnView *view : objects) {
        GrownObject object;
        object.view = view;
        object.top = view->Y - bandY;
        object.height = view->Height;
        if (view->kind() == TqnViewKind::vkMemo && view->Visible) {
            const auto &memo = static_cast<const TqnMemoView &>(*view);
            failing = view;
            object.text = renderer.layText(memo);
            // A turned text reads across the band: it keeps its box.
            if (!(memo.Alignment & taRotate90))
                object.height = std::max<double>(view->Height, object.text->neededHeight());
        }
        band.objects.push_back(std::move(object));
    }
    failing = nullptr;
    // An object moves down by the most that any object wholly above it moved and grew.
    std::vector<size_t> order(band.objects.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return band.objects[a].view->Y < band.objects[b].view->Y; });
    std::vector<double> shift(band.objects.size(), 0.0);
    // The band grows only as far as what it holds now reaches: room left under the objects
    // as designed (a label's lower margin) is used first.
    double reach = std::max(0, bandHeight);
    for (size_t i = 0; i < order.size(); ++i) {
        const TqnView &below = *band.objects[order[i]].view;
        for (size_t j = 0; j < i; ++j) {
            const GrownObject &above = band.objects[order[j]];
            if (above.view->Y + above.view->Height <= below.Y)
                shift[order[i]] = std::max(shift[order[i]], shift[order[j]] + above.height - above.view->Height);
        }
        GrownObject &object = band.objects[order[i]];
        object.top += shift[order[i]];
        if (object.height > below.Height || shift[order[i]] > 0)
            reach = std::max(reach, object.top + object.height);
    }
    band.height = reach;
    return band;
}

double GrownBand::cutBefore(double from, double room) const
{
    const double end = from + room;
    if (end >= height - 0.01)
        return height;
    double cut = end;
    for (const GrownObject &object : objects) {
        if (object.top >= end || object.top + object.height <= end + 0.01)
            continue;
        if (!object.text || (object.view->kind() == TqnViewKind::vkMemo
                             && (static_cast<const TqnMemoView &>(*object.view).Alignment & taRotate90))) {
            cut = std::min(cut, object.top);
            continue;
        }
        const int lines = int(object.text->lines.size());
        const int whole = int(std::floor((end - object.lineTop(0)) / object.text->lineHeight + 0.01));
        if (whole >= lines)
            continue;   // only the padding under its last line crosses
        cut = std::min(cut, whole <= 0 ? object.top : object.lineTop(whole));
    }
    return cut > from + 0.5 ? cut : end;
}
