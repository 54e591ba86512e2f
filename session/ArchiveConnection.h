#pragma once
// The archive connection as the main window configures it, and the main window's report
// components. The command line's printing uses the same two, so a list printed there reads
// the archive exactly as the program does.

#include <QString>

class TArcDatabase;
class TMainData;
class TqnReport;

// The connection's properties, before a path and password are given.
void configureArchiveConnection(TArcDatabase &database);
// qnReport1 as the window holds it.
void configureReport(TqnReport &report);
// Makes the seven datasets and the statistics reachable as "window.component" ("frm_main.Anagrafica") for the
// report engine, until the window is removed from the directory.
void registerReportDataSets(const QString &windowName, TMainData &data);
