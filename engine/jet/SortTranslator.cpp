#include "engine/jet/ConditionSpelling.h"
#include "engine/jet/Names.h"
#include "engine/jet/TokenStream.h"

#include <QStringList>
#include <algorithm>

namespace dao::jet {

QString translateSort(const QString &sort, const Columns &columns, const ConditionSpelling &spelling)
{
    TokenStream tokens(sort);
    if (tokens.atEnd())
        return {};
    QStringList items;
    for (;;) {
        const QString &name = resolveColumn(tokens.takeFieldName(), columns);
        const auto column = std::find_if(columns.begin(), columns.end(),
                                         [&name](const Column &candidate) { return &candidate.name == &name; });
        bool descending = false;
        if (tokens.skipWord(QLatin1StringView("DESC")))
            descending = true;
        else
            tokens.skipWord(QLatin1StringView("ASC"));
        items.append(spelling.sortItem(*column, descending));
        if (tokens.atEnd())
            break;
        tokens.expect(TokenKind::Comma, QStringLiteral("',' o la fine dell'ordinamento"));
    }
    return items.join(QStringLiteral(", "));
}

} // namespace dao::jet
