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

ViewList paste(std::vector<TqnPage> &pages, int page, QPoint offset)
{
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    ViewList added;
    if (!mime || page < 0 || page >= int(pages.size()))
        return added;
    for (auto &object : decode(mime->data(kMimeType))) {
        object->X += offset.x();
        object->Y += offset.y();
        if (object->Name.isEmpty() || selectionedits::nameUsed(pages, object->Name))
            object->Name = selectionedits::freeName(pages, object->kind() == TqnViewKind::vkBand ? QStringLiteral("Banda")
                                                                                                 : QStringLiteral("Memo"));
        added.push_back(object.get());
        pages[size_t(page)].Objects.push_back(std::move(object));
    }
    return added;
}

} // namespace objectclipboard
