#include "output/report/model/TqnPage.h"

#include <algorithm>

TqnPage::TqnPage(const TqnPage &other)
{
    *this = other;
}

TqnPage &TqnPage::operator=(const TqnPage &other)
{
    if (this == &other)
        return *this;
    Paper = other.Paper;
    UseMargins = other.UseMargins;
    PrintToPrevPage = other.PrintToPrevPage;
    TitleBeforeHeader = other.TitleBeforeHeader;
    PrintHeaderInTable = other.PrintHeaderInTable;
    ScaleMode = other.ScaleMode;
    Columns = other.Columns;
    ColumnGap = other.ColumnGap;
    Bin = other.Bin;
    UsePhysicalOffset = other.UsePhysicalOffset;
    Objects.clear();
    Objects.reserve(other.Objects.size());
    for (const auto &object : other.Objects)
        Objects.push_back(object->clone());
    return *this;
}

double TqnPage::widthPx() const
{
    return tenthsToPx(Paper.Orientation ? Paper.Height : Paper.Width);
}

double TqnPage::heightPx() const
{
    return tenthsToPx(Paper.Orientation ? Paper.Width : Paper.Height);
}

double TqnPage::marginPx(qint32 tenths) const
{
    return UseMargins ? tenthsToPx(tenths) : 0.0;
}

const TqnBandView *TqnPage::bandOf(const TqnView &object) const
{
    const TqnBandView *owner = nullptr;
    for (const auto &candidate : Objects) {
        if (candidate->kind() != TqnViewKind::vkBand)
            continue;
        const auto *band = static_cast<const TqnBandView *>(candidate.get());
        if (object.Y >= band->Y && object.Y < band->Y + std::max(1, band->Height) && (!owner || band->Y >= owner->Y))
            owner = band;
    }
    return owner;
}
