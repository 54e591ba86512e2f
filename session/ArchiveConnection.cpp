#include "session/ArchiveConnection.h"

#include "output/report/ComponentDirectory.h"
#include "output/report/TqnReport.h"
#include "session/TMainData.h"
#include "store/TArcDatabase.h"

void configureArchiveConnection(TArcDatabase &database)
{
    // DatabaseType empties Database, so it comes first.
    database.beginLoading();
    database.setDatabaseType(QStringLiteral("Access"));
    database.setSystemDatabase(QStringLiteral("system.mdb"));
    database.setWorkspace(QStringLiteral("DaoWorkspace"));
    database.setEngineType(2);
    database.setVersion(QStringLiteral("3.6"));
    database.setShowSystemObjects(true);
    database.setTrackTransactions(false);
    database.setUseODBCDialog(false);
    database.setLoginPrompt(false);
    database.setConnected(false);
    database.endLoading();
}

void configureReport(TqnReport &report)
{
    report.Title = QStringLiteral("Prossimi appuntamenti");
    report.ShowProgress = false;
    report.DisableDataSetControls = false;
}

void registerReportDataSets(const QString &windowName, TMainData &data)
{
    auto &directory = ComponentDirectory::instance();
    for (TArcTable *table : {&data.Anagrafica(), &data.Nucleo(), &data.Fascia(), &data.Ruolo(),
                             &data.Occupazione(), &data.stampe(), &data.Gruppi()})
        directory.add(windowName, table);
    directory.add(windowName, &data.Statistiche());
}
