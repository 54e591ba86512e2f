#include "output/report/ui/designer/SelectionEdits.h"

#include <algorithm>
#include <set>

namespace selectionedits {

namespace {

bool isBand(const TqnView *view)
{
    return view->kind() == TqnViewKind::vkBand;
}

void moveWhere(TqnPage &page, const ViewList &views, bool toEnd)
{
    std::vector<std::unique_ptr<TqnView>> chosen, rest;
    for (auto &object : page.Objects)
        (std::find(views.begin(), views.end(), object.get()) != views.end() ? chosen : rest)
            .push_back(std::move(object));
    page.Objects.clear();
    auto &first = toEnd ? rest : chosen;
    auto &second = toEnd ? chosen : rest;
    for (auto &object : first)
        page.Objects.push_back(std::move(object));
    for (auto &object : second)
        page.Objects.push_back(std::move(object));
}

} // namespace

QRect box(const TqnView &view)
{
    return QRect(view.X, view.Y, view.Width, view.Height);
}

ViewList riders(const TqnPage &page, const TqnBandView &band)
{
    ViewList found;
    for (const auto &object : page.Objects)
        if (!isBand(object.get()) && object->Y >= band.Y && object->Y < band.Y + band.Height)
            found.push_back(object.get());
    return found;
}

void moveBy(const TqnPage &page, const ViewList &views, int dx, int dy)
{
    std::set<TqnView *> moved;
    for (TqnView *view : views) {
        if (!isBand(view))
            continue;
        // A band keeps its place across the page; its riders follow it down or up.
        for (TqnView *rider : riders(page, static_cast<TqnBandView &>(*view)))
            if (moved.insert(rider).second)
                rider->Y += dy;
        view->Y += dy;
        moved.insert(view);
    }
    for (TqnView *view : views)
        if (moved.insert(view).second) {
            view->X += dx;
            view->Y += dy;
        }
}

void resizeBy(const ViewList &views, int dw, int dh)
{
    for (TqnView *view : views) {
        if (!isBand(view))
            view->Width = std::max(1, view->Width + dw);
        view->Height = std::max(1, view->Height + dh);
    }
}

void align(const ViewList &views, Align how)
{
    if (views.size() < 2)
        return;
    const TqnView &a = *views.front();
    for (TqnView *view : views) {
        switch (how) {
        case Align::Lefts: view->X = a.X; break;
        case Align::Rights: view->X = a.X + a.Width - view->Width; break;
        case Align::Tops: view->Y = a.Y; break;
        case Align::Bottoms: view->Y = a.Y + a.Height - view->Height; break;
        case Align::HCentres: view->X = a.X + (a.Width - view->Width) / 2; break;
        case Align::VCentres: view->Y = a.Y + (a.Height - view->Height) / 2; break;
        case Align::SameWidth: if (!isBand(view)) view->Width = a.Width; break;
        case Align::SameHeight: view->Height = a.Height; break;
        }
    }
}

void toFront(TqnPage &page, const ViewList &views)
{
    moveWhere(page, views, true);
}

void toBack(TqnPage &page, const ViewList &views)
{
    moveWhere(page, views, false);
}

void remove(TqnPage &page, const ViewList &views)
{
    std::erase_if(page.Objects, [&](const std::unique_ptr<TqnView> &object) {
        return std::find(views.begin(), views.end(), object.get()) != views.end();
    });
}

void forMemos(const ViewList &views, const std::function<void(TqnMemoView &)> &change)
{
    for (TqnView *view : views)
        if (view->kind() == TqnViewKind::vkMemo)
            change(static_cast<TqnMemoView &>(*view));
}

void forAll(const ViewList &views, const std::function<void(TqnView &)> &change)
{
    for (TqnView *view : views)
        change(*view);
}

void toggleFrameLine(const ViewList &views, quint16 line)
{
    const bool anyLacks = std::any_of(views.begin(), views.end(), [&](TqnView *v) { return !(v->FrameLines & line); });
    forAll(views, [&](TqnView &v) { v.FrameLines = anyLacks ? (v.FrameLines | line) : (v.FrameLines & ~line); });
}

void toggleFontStyle(const ViewList &views, quint16 style)
{
    bool anyLacks = false;
    forMemos(views, [&](TqnMemoView &m) { anyLacks |= !(m.FontStyle & style); });
    forMemos(views, [&](TqnMemoView &m) { m.FontStyle = anyLacks ? (m.FontStyle | style) : (m.FontStyle & ~style); });
}

bool singleInstance(TqnBandType type)
{
    return type != TqnBandType::btGroupHeader && type != TqnBandType::btGroupFooter && type != TqnBandType::btNone;
}

bool pageHasBand(const TqnPage &page, TqnBandType type)
{
    return std::any_of(page.Objects.begin(), page.Objects.end(), [&](const std::unique_ptr<TqnView> &o) {
        return isBand(o.get()) && static_cast<const TqnBandView &>(*o).BandType == type;
    });
}

bool nameUsed(const std::vector<TqnPage> &pages, const QString &name)
{
    for (const TqnPage &page : pages)
        for (const auto &object : page.Objects)
            if (object->Name.compare(name, Qt::CaseInsensitive) == 0)
                return true;
    return false;
}

QString freeName(const std::vector<TqnPage> &pages, const QString &stem)
{
    std::set<QString> used;
    for (const TqnPage &page : pages)
        for (const auto &object : page.Objects)
            used.insert(object->Name.toUpper());
    for (int n = 1;; ++n)
        if (!used.count((stem + QString::number(n)).toUpper()))
            return stem + QString::number(n);
}

TqnBandView &addBand(TqnPage &page, TqnBandType type)
{
    int bottom = int(page.marginPx(page.Paper.Top));
    for (const auto &object : page.Objects)
        if (isBand(object.get()))
            bottom = std::max(bottom, object->Y + object->Height);
    auto band = std::make_unique<TqnBandView>();
    band->BandType = type;
    band->X = int(page.marginPx(page.Paper.Left));
    band->Width = int(page.widthPx() - page.marginPx(page.Paper.Left) - page.marginPx(page.Paper.Right));
    band->Y = bottom + 8;
    band->Height = 40;
    page.Objects.push_back(std::move(band));
    return static_cast<TqnBandView &>(*page.Objects.back());
}

TqnMemoView &addMemo(TqnPage &page, QRect at)
{
    auto memo = std::make_unique<TqnMemoView>();
    memo->X = at.x(), memo->Y = at.y(), memo->Width = at.width(), memo->Height = at.height();
    page.Objects.push_back(std::move(memo));
    return static_cast<TqnMemoView &>(*page.Objects.back());
}

TqnPictureView &addPicture(TqnPage &page, QRect at)
{
    auto picture = std::make_unique<TqnPictureView>();
    picture->X = at.x(), picture->Y = at.y(), picture->Width = at.width(), picture->Height = at.height();
    picture->FrameLines = flTop | flLeft | flBottom | flRight;
    page.Objects.push_back(std::move(picture));
    return static_cast<TqnPictureView &>(*page.Objects.back());
}

TqnSubReportView &addSubReport(std::vector<TqnPage> &pages, int pageIndex, QRect at)
{
    auto sub = std::make_unique<TqnSubReportView>();
    sub->X = at.x(), sub->Y = at.y(), sub->Width = at.width(), sub->Height = at.height();
    sub->SubPage = quint8(pages.size());
    TqnPage shown;
    shown.Paper = pages[size_t(pageIndex)].Paper;
    pages.push_back(std::move(shown));
    pages[size_t(pageIndex)].Objects.push_back(std::move(sub));
    return static_cast<TqnSubReportView &>(*pages[size_t(pageIndex)].Objects.back());
}

} // namespace selectionedits
