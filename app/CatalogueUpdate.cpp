#include "app/CatalogueUpdate.h"

#include "archive/StandardRows.h"
#include "db/TDataSet.h"
#include "db/TField.h"

#include <QSet>

namespace app {

QStringList addMissingLists(TDataSet &stampe)
{
    QSet<QString> names;
    QSet<QString> layouts;
    const TBookmark mark = stampe.isEmpty() ? TBookmark() : stampe.getBookmark();
    for (stampe.first(); !stampe.eof(); stampe.next()) {
        names.insert(stampe.fieldByName(QStringLiteral("Nome"))->asString().trimmed().toCaseFolded());
        layouts.insert(stampe.fieldByName(QStringLiteral("Tracciato"))->asString().trimmed().toCaseFolded());
    }
    QStringList added;
    for (const cli::standard::PrintedList &list : cli::standard::printedLists()) {
        if (names.contains(list.nome.toCaseFolded()) || layouts.contains(list.tracciato.toCaseFolded()))
            continue;
        stampe.append();
        stampe.fieldByName(QStringLiteral("Nome"))->setAsString(list.nome);
        stampe.fieldByName(QStringLiteral("Tracciato"))->setAsString(list.tracciato);
        stampe.fieldByName(QStringLiteral("Ordine"))->setAsString(list.ordine);
        stampe.post();
        added << list.nome;
    }
    if (added.isEmpty() && !mark.isEmpty() && stampe.bookmarkValid(mark))
        stampe.gotoBookmark(mark);
    else
        stampe.first();
    return added;
}

} // namespace app
