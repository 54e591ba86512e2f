#include "engine/jet/JetDialect.h"
#include "engine/jet/Names.h"
#include "engine/jet/TokenStream.h"

#include <QStringList>

namespace dao::jet {

QString translateSort(const QString &sort, const Columns &columns)
{
    TokenStream tokens(sort);
    if (tokens.atEnd())
        return {};
    QStringList items;
    for (;;) {
        const QString column = quoteIdentifier(resolveColumn(tokens.takeFieldName(), columns));
        QLatin1StringView direction("ASC");
        if (tokens.skipWord(QLatin1StringView("DESC")))
            direction = QLatin1StringView("DESC");
        else
            tokens.skipWord(QLatin1StringView("ASC"));
        items.append(QStringLiteral("%1 COLLATE %2 %3").arg(column, QLatin1StringView(kCollation), direction));
        if (tokens.atEnd())
            break;
        tokens.expect(TokenKind::Comma, QStringLiteral("',' o la fine dell'ordinamento"));
    }
    return items.join(QStringLiteral(", "));
}

} // namespace dao::jet
