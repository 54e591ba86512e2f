#include "output/report/ui/designer/ObjectClipboard.h"

#include "output/report/file/LayoutReader.h"
#include "output/report/file/LayoutWriter.h"
#include "output/report/model/TqnLayout.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace objectclipboard {

QByteArray encode(const ViewList &views)
{
    TqnLayout holder;
    for (const TqnView *view : views)
        holder.Pages.front().Objects.push_back(view->clone());
    return writeLayout(holder, QString());
}

std::vector<std::unique_ptr<TqnView>> decode(const QByteArray &data)
{
    std::vector<std::unique_ptr<TqnView>> objects;
    if (data.isEmpty())
        return objects;
    TqnLayout holder;
    const LayoutReadResult read = readLayout(data, holder, LayoutReadHooks{});
    if (!read.pagesRead)
        return objects;
    for (auto &page : holder.Pages)
        for (auto &object : page.Objects)
            objects.push_back(std::move(object));
    return objects;
}

void copy(const ViewList &views)
{
    auto *mime = new QMimeData;
    mime->setData(kMimeType, encode(views));
    QGuiApplication::clipboard()->setMimeData(mime);
}

bool available()
{
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    return mime && mime->hasFormat(kMimeType);
}

namespace {

QString stemOf(const TqnView &view)
{
    switch (view.kind()) {
    case TqnViewKind::vkBand: return QStringLiteral("Banda");
    case TqnViewKind::vkPicture: return QStringLiteral("Immagine");
    case TqnViewKind::vkSubReport: return QStringLiteral("Sottoreport");
    default: break;
    }
    return QStringLiteral("Memo");
}

// The band's record source copied into an entry of its own, so that choosing another source
// for the copy leaves the original's as it was. A source the layout does not hold is dropped.
void ownRecordSource(TqnDatasetTable &table, TqnBandView &band)
{
    const TqnDataset *source = band.dataSetName().isEmpty() ? nullptr : table.find(band.dataSetName());
    band.FormatText.clear();
    if (!source)
        return;
    TqnDataset *entry = nullptr;
    if (const auto *bound = qobject_cast<const TqnDBDataSet *>(source)) {
        auto *copy = new TqnDBDataSet(table.holder());
        copy->ComponentText = bound->ComponentText;
        copy->setDataSet(bound->DataSet());
        copy->Filtered = bound->Filtered;
        copy->Filter = bound->Filter;
        entry = copy;
    } else {
        entry = new TqnDataset(table.holder());
    }
    entry->RangeBegin = source->RangeBegin;
    entry->RangeEnd = source->RangeEnd;
    entry->RangeEndCount = source->RangeEndCount;
    QString name = band.Name + QStringLiteral("_DataSet");
    for (int n = 2; table.find(name); ++n)
        name = band.Name + QStringLiteral("_DataSet") + QString::number(n);
    entry->setName(name);
    table.add(entry);
    band.FormatText = name;
}

} // namespace

Pasted paste(TqnLayout &layout, int page, QPoint offset)
{
    std::vector<TqnPage> &pages = layout.Pages;
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    Pasted result;
    if (!mime || page < 0 || page >= int(pages.size()))
        return result;
    for (auto &object : decode(mime->data(kMimeType))) {
        object->X += offset.x();
        object->Y += offset.y();
        if (object->kind() == TqnViewKind::vkBand) {
            const TqnBandType type = static_cast<TqnBandView &>(*object).BandType;
            if (selectionedits::singleInstance(type) && selectionedits::pageHasBand(pages[size_t(page)], type)) {
                result.bandRefused = true;
                continue;
            }
        }
        if (object->kind() == TqnViewKind::vkSubReport && pages.size() >= kMaxLayoutPages) {
            result.pageRefused = true;
            continue;
        }
        if (object->Name.isEmpty() || selectionedits::nameUsed(pages, object->Name))
            object->Name = selectionedits::freeName(pages, stemOf(*object));
        if (object->kind() == TqnViewKind::vkBand)
            ownRecordSource(layout.DataSets, static_cast<TqnBandView &>(*object));
        if (object->kind() == TqnViewKind::vkSubReport) {
            // The page it printed belongs to the layout it came from: it gets a new one.
            TqnPage shown;
            shown.Paper = pages[size_t(page)].Paper;
            static_cast<TqnSubReportView &>(*object).SubPage = quint8(pages.size());
            pages.push_back(std::move(shown));
            result.pagesAdded = true;
        }
        result.added.push_back(object.get());
        pages[size_t(page)].Objects.push_back(std::move(object));
    }
    return result;
}

} // namespace objectclipboard
