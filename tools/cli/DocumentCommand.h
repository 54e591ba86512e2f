#pragma once
// documento ARCHIVIO MODELLO (--scheda ID | --tutte [--fascia F] [--paese P] [--cerca TESTO])
//           --uscita CARTELLA [--sovrascrivi] [--password-stdin]
// The program's Word fill without a window: one document per card, from the template, named
// after the card's protocol and head of household, written into the output folder (files
// readable by their owner only). --tutte takes the cards the printed lists would take with
// the same band, country and search text. A template named without a folder that is not
// there is looked for beside the archive ("word/") and among the supplied templates.
// Documents already in the output folder are not replaced, and then none is made, unless
// --sovrascrivi says so.

#include "output/criteria/CardCriteria.h"

#include <QString>
#include <QStringList>

class QTextStream;

namespace cli {

struct DocumentRequest {
    QString archive;
    QString templatePath;
    QString outputFolder;
    qint64 cardId = -1;   // --scheda; -1 with --tutte
    CardCriteria criteria;
    bool passwordStdin = false;
    bool overwrite = false;   // --sovrascrivi
    QString password;
};

// The arguments after "documento"; throws CliError(Usage) with the reason.
DocumentRequest parseDocumentCommand(const QStringList &args);

int runDocument(const DocumentRequest &request, QTextStream &out, QTextStream &err);

// The file name of a card's document, without extension: protocol and head of household,
// with what a file name cannot hold replaced; "scheda ID" when both are empty.
QString documentBaseName(const QString &protocol, const QString &headOfHousehold, qint64 id);

} // namespace cli
