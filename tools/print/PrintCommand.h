#pragma once
// tavorio-cli stampa ARCHIVIO TRACCIATO.qnf --pdf USCITA.pdf [--password-stdin]: opens the
// archive through the program's own connection and seven datasets (registered as the main
// window "frm_main"), loads the layout, builds its pages and writes them as PDF. Needs a
// Qt GUI application (the offscreen platform does) for measuring text.

#include <QString>

class QTextStream;

namespace cli {

// Exit status: 0 written, 2 wrong password, 3 missing or damaged archive or layout, 4 the
// layout could not be built (the preparation error on standard error), 1 the PDF could
// not be written.
constexpr int kPreparationFailed = 4;

int runPrint(const QString &archive, const QString &layout, const QString &pdf, const QString &password,
             QTextStream &out, QTextStream &err);

} // namespace cli
