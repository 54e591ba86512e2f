#pragma once
// The edits the designer applies to the selected objects of one layout page. Coordinates are
// layout pixels; a band carries the objects that lie inside it, and moves only up and down.

#include "output/report/model/TqnPage.h"

#include <QRect>
#include <functional>
#include <vector>

using ViewList = std::vector<TqnView *>;

namespace selectionedits {

QRect box(const TqnView &view);
// The objects of `page` (bands excepted) whose top-left corner lies inside `band`.
ViewList riders(const TqnPage &page, const TqnBandView &band);
// Moves the selection, and with each band its riders (each object at most once).
void moveBy(const TqnPage &page, const ViewList &views, int dx, int dy);
// Grows or shrinks the selection from its bottom-right corner; nothing below 1 pixel.
void resizeBy(const ViewList &views, int dw, int dh);

enum class Align { Lefts, Rights, Tops, Bottoms, HCentres, VCentres, SameWidth, SameHeight };
// Lines the selection up on its first object.
void align(const ViewList &views, Align how);
void toFront(TqnPage &page, const ViewList &views);
void toBack(TqnPage &page, const ViewList &views);
void remove(TqnPage &page, const ViewList &views);

// The text boxes of the selection get `change`; the other kinds are left alone.
void forMemos(const ViewList &views, const std::function<void(TqnMemoView &)> &change);
void forAll(const ViewList &views, const std::function<void(TqnView &)> &change);
// A frame line switched on for every object when any lacks it, off otherwise.
void toggleFrameLine(const ViewList &views, quint16 line);
void toggleFontStyle(const ViewList &views, quint16 style);

// --- insertion --------------------------------------------------------------------
// Band types of which a page holds at most one.
bool singleInstance(TqnBandType type);
bool pageHasBand(const TqnPage &page, TqnBandType type);
// A band of `type` across the printable width, under the lowest band of the page.
TqnBandView &addBand(TqnPage &page, TqnBandType type);
TqnMemoView &addMemo(TqnPage &page, QRect at);
TqnPictureView &addPicture(TqnPage &page, QRect at);
// A sub-report that shows a new layout page, added at the end of `pages`.
TqnSubReportView &addSubReport(std::vector<TqnPage> &pages, int pageIndex, QRect at);
bool nameUsed(const std::vector<TqnPage> &pages, const QString &name);
// A name not yet used on any page: `stem` followed by the first free number.
QString freeName(const std::vector<TqnPage> &pages, const QString &stem);

} // namespace selectionedits
