#include "output/report/ui/dialogs/ReportSources.h"

#include "db/TDataSet.h"
#include "db/TField.h"
#include "output/report/ComponentDirectory.h"
#include "output/report/TqnReport.h"

namespace report::dialogs {

QStringList availableDataSets(const TqnReport &report)
{
    const QString own = report.windowName() + QLatin1Char('.');
    QStringList texts;
    for (const QString &text : ComponentDirectory::instance().dataSetTexts())
        texts << (text.startsWith(own, Qt::CaseInsensitive) ? text.mid(own.size()) : text);
    texts.sort(Qt::CaseInsensitive);
    texts.removeDuplicates();
    return texts;
}

TDataSet *dataSetOf(const TqnReport &report, const QString &text)
{
    QObject *found = text.contains(QLatin1Char('.')) ? ComponentDirectory::instance().find(text)
                                                     : ComponentDirectory::instance().findOn(report.windowName(), text);
    return qobject_cast<TDataSet *>(found);
}

QStringList fieldNames(const TDataSet *dataSet)
{
    QStringList names;
    if (!dataSet)
        return names;
    for (const TField *field : dataSet->fields())
        names << field->fieldName();
    if (names.isEmpty())
        for (int i = 0; i < dataSet->fieldDefs().count(); ++i)
            names << dataSet->fieldDefs().at(i).name;
    return names;
}

QString fieldReference(const QString &dataSet, const QString &field)
{
    return QStringLiteral("[%1.\"%2\"]").arg(dataSet, field);
}

} // namespace report::dialogs
