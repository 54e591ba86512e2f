#pragma once
// The table datasets a report's expressions can name, as the designer's lists show them: those
// of the report's own window by bare name ("Anagrafica"), the others as "window.component".

#include <QStringList>

class TDataSet;
class TqnReport;

namespace report::dialogs {

// Sorted, own window's first by their bare names among the rest.
QStringList availableDataSets(const TqnReport &report);
// The dataset a list text names, or null.
TDataSet *dataSetOf(const TqnReport &report, const QString &text);
// Its field objects' names, or its field definitions' when it has no field objects.
QStringList fieldNames(const TDataSet *dataSet);
// `[Anagrafica."Capofamiglia"]`: what the engine reads as that field's value.
QString fieldReference(const QString &dataSet, const QString &field);

} // namespace report::dialogs
