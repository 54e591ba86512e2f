#pragma once
// tavorio-cli statistiche and esporta: the office's figures and its printed lists as tables.
//   statistiche ARCHIVIO [--al GG/MM/AAAA] [--fascia F] [--paese P] [--cerca TESTO] [--csv FILE]
//       [--sovrascrivi]
//       the statistics at the reference date over the cards the criteria select, as a table
//       on standard output and, when asked, as CSV;
//   esporta ARCHIVIO --elenco NOME [--fascia F] [--paese P] [--cerca TESTO] [--csv FILE] [--ods FILE]
//       [--sovrascrivi]
//       the list's data band, one row per printed record, as CSV and/or OpenDocument sheet.
// Exit status as stampa's: 0 done, 1 a file not written, 2 wrong password, 3 missing or
// damaged archive or layout, 4 a list that cannot be built, 64 wrong command line or list name.

#include "output/criteria/CardCriteria.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

class QTextStream;

namespace cli {

struct ListCommandRequest {
    QString command;       // "statistiche" or "esporta"
    QString archive;
    QString listName;      // esporta
    CardCriteria criteria;
    QDate at;              // statistiche: invalid means today
    QString csv;
    QString ods;           // esporta
    bool overwrite = false;   // --sovrascrivi: existing files (never an archive) may be replaced
    bool passwordStdin = false;
    QString password;
    std::function<QDateTime()> clock;   // today and DATE; the system clock when empty
};

// Parses the arguments after the command's name; throws CliError(Usage).
ListCommandRequest parseListCommand(const QString &command, const QStringList &args);
int runListCommand(const ListCommandRequest &request, QTextStream &out, QTextStream &err);

} // namespace cli
