#pragma once
// tavorio-cli storia ARCHIVIO [--scheda ID] [--dal GG/MM/AAAA] [--csv FILE] [--sovrascrivi]
// [--password-stdin]: the archive's change history, newest first, printed one change of a
// field per line, or written as a spreadsheet file.

#include <QDate>
#include <QString>
#include <QStringList>

class QTextStream;

namespace cli {

struct HistoryRequest {
    QString archive;
    qint64 card = 0;       // 0: every card
    QDate since;           // invalid: from the start
    QString csv;
    bool overwrite = false;
    bool passwordStdin = false;
    QString password;
};

HistoryRequest parseHistory(const QStringList &args);
int runHistory(const HistoryRequest &request, QTextStream &out, QTextStream &err);

} // namespace cli
