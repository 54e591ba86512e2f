#pragma once
// tavorio-cli stampa: opens the archive through the program's own connection and seven
// datasets (registered as the main window "frm_main"), builds a layout's pages and writes
// them as PDF. Two forms:
//   stampa ARCHIVIO TRACCIATO.qnf --pdf USCITA.pdf               a layout file as it is;
//   stampa ARCHIVIO --elenco NOME [--fascia F] [--paese P] [--cerca TESTO] --pdf USCITA.pdf
//       a list of the archive's catalogue, produced as the print selection window does:
//       the list's order, its layout from the "stampe" folder beside the archive, the
//       print criteria through the card table's record filter.
// Needs a Qt GUI application (the offscreen platform does) for measuring text.

#include "output/criteria/CardCriteria.h"
#include "archive/CliError.h"

#include <QDateTime>
#include <QString>
#include <functional>

class QTextStream;

namespace cli {

// Exit status: 0 written, 2 wrong password, 3 missing or damaged archive or layout (or a
// catalogue row whose Tracciato is not a file of the layout folder), 4 the layout could not
// be built (the preparation error on standard error) or the engine refused the catalogue
// row's Ordine (its error on standard error), 1 the PDF could not be written, 64 a list
// name the catalogue does not hold (the catalogue on standard error).
constexpr int kPreparationFailed = int(ExitCode::NotBuilt);

struct PrintRequest {
    QString archive;
    QString layout;         // the layout form
    QString listName;       // the list form: Stampe.Nome
    CardCriteria criteria;  // the list form only
    QString pdf;
    bool overwrite = false;   // --sovrascrivi: an existing PDF (never an archive) may be replaced
    QString password;
    std::function<QDateTime()> clock;   // DATE, TIME and members' ages; the system clock when empty
};

int runPrint(const PrintRequest &request, QTextStream &out, QTextStream &err);

} // namespace cli
