#include "controls/GridLayoutIO.h"

#include "controls/GridColumn.h"
#include "controls/GridColumns.h"
#include "controls/LayoutKeys.h"

#include <QRegularExpression>
#include <vector>

namespace gridlayout {

namespace {

QString columnKey(const QString &gridName, const TColumn &column)
{
    return QStringLiteral("%1.%2").arg(gridName, column.fieldName());
}

int wordAsNumber(const QStringList &words, int position, int fallback)
{
    if (position >= words.size())
        return fallback;
    bool ok = false;
    const int value = words.at(position).toInt(&ok);
    return ok ? value : fallback;
}

} // namespace

QString sectionName(const QString &storageSection, const QString &windowClass, const QString &gridName)
{
    const QString own = windowClass + gridName;
    return storageSection.isEmpty() ? own : storageSection + QLatin1Char('\\') + own;
}

void save(const TColumns &columns, const QString &gridName, const QString &section, LayoutKeys &keys)
{
    keys.eraseSection(section);
    for (int i = 0; i < columns.count(); ++i) {
        const TColumn &column = *columns.at(i);
        keys.write(section, columnKey(gridName, column), QStringLiteral("%1,%2").arg(i).arg(column.width()));
    }
}

void load(TColumns &columns, const QString &gridName, const QString &section, const LayoutKeys &keys)
{
    static const QRegularExpression separators(QStringLiteral("[ ,]+"));

    columns.beginUpdate();
    std::vector<TColumn *> original;
    std::vector<int> target;
    for (int i = 0; i < columns.count(); ++i) {
        TColumn *column = columns.at(i);
        original.push_back(column);
        int index = i;
        if (const auto value = keys.read(section, columnKey(gridName, *column))) {
            const QStringList words = value->split(separators, Qt::SkipEmptyParts);
            index = wordAsNumber(words, 0, i);
            column->setWidth(wordAsNumber(words, 1, column->width()));
        }
        target.push_back(index);
    }

    for (int position = 0; position < int(original.size()); ++position) {
        for (size_t i = 0; i < original.size(); ++i) {
            if (target[i] == position) {
                original[i]->setIndex(position);
                break;
            }
        }
    }
    columns.endUpdate();
}

} // namespace gridlayout
