#pragma once
// tavorio-cli persone INDIRIZZO (elenca | aggiungi NOME --ruolo operatore|responsabile |
// disattiva NOME | riattiva NOME | password NOME) [--password-stdin]: the people of an archive
// on a server, managed by a Responsabile from a terminal. The caller's password is the first
// line of standard input; for aggiungi and password the new person's password the second.

#include "engine/People.h"

#include <QString>
#include <QStringList>

class QTextStream;

namespace cli {

struct PeopleRequest {
    QString archive;
    QString action;        // elenca, aggiungi, disattiva, riattiva, password
    QString person;
    dao::PersonRole role = dao::PersonRole::Operatore;
    bool passwordStdin = false;
    QString password;      // the caller's
    QString newPassword;   // aggiungi, password

    bool needsNewPassword() const { return action == QLatin1String("aggiungi") || action == QLatin1String("password"); }
};

// The arguments after "persone"; throws CliError(Usage).
PeopleRequest parsePeople(const QStringList &args);
int runPeople(const PeopleRequest &request, QTextStream &out, QTextStream &err);

} // namespace cli
