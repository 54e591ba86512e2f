#include "app/AccessImportRun.h"

#include "archive/AccessImport.h"
#include "archive/CliError.h"
#include "controls/TMessageBox.h"
#include "import/AccessFile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QProgressDialog>

#include <stdexcept>

namespace app {

namespace {

const QString kImportedArchive = QStringLiteral("tavorio.mdb");
const QString kKeptAccess = QStringLiteral("tavorio_access.mdb");
const QString kImporting = QStringLiteral("tavorio_importazione.mdb");

std::optional<QString> askAccessPassword(QWidget *parent, const QString &accessFile)
{
    bool ok = false;
    const QString text = QInputDialog::getText(
        parent, QStringLiteral("Password"),
        QStringLiteral("Il file Access \"%1\" è protetto da password.\nInserire la password del database:")
            .arg(QDir::toNativeSeparators(accessFile)),
        QLineEdit::Password, QString(), &ok);
    return ok ? std::optional<QString>(text) : std::nullopt;
}

std::runtime_error importFailure(const QString &text) { return std::runtime_error(text.toStdString()); }

} // namespace

QString importAccessArchive(QWidget *parent, const QString &accessFile, const QString &target,
                            const AccessPasswordPrompt &prompt)
{
    QString password;
    if (accessdb::AccessFile::hasPassword(accessFile)) {
        const std::optional<QString> given = (prompt ? prompt : AccessPasswordPrompt(askAccessPassword))(parent, accessFile);
        if (!given)
            throw importFailure(QStringLiteral("Importazione annullata: nessun archivio è stato creato."));
        password = *given;
    }
    QProgressDialog progress(QStringLiteral("Importazione dell'archivio Access in corso..."), QStringLiteral("Annulla"),
                             0, 0, parent);
    progress.setObjectName(QStringLiteral("frm_importazione"));
    progress.setWindowTitle(QStringLiteral("Importa un archivio Access"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.show();
    QApplication::processEvents();
    // The Access password protects the new archive too.
    cli::AccessImport import(accessFile, password, {target, password}, cli::ImportOptions{});
    import.setProgress([&progress](const QString &table, qint64 rows) {
        progress.setLabelText(QStringLiteral("Importazione della tabella %1: %2 righe...").arg(table).arg(rows));
        QApplication::processEvents();
        return !progress.wasCanceled();
    });
    try {
        const QString report = cli::importReportText(import.run());
        progress.close();
        return report;
    } catch (const cli::CliError &error) {
        // Closing the window counts as cancelling it: asked first.
        const bool cancelled = progress.wasCanceled();
        progress.close();
        if (cancelled)
            throw importFailure(QStringLiteral("Importazione annullata: nessun archivio è stato creato."));
        throw importFailure(error.message());
    }
}

std::optional<int> offerAccessImportAtStart(const AccessPasswordPrompt &prompt)
{
    const QString archive = QDir::current().filePath(kImportedArchive);
    if (!accessdb::AccessFile::looksLikeAccess(archive))
        return std::nullopt;
    const TMessageBox messages;
    const QString kept = QDir::current().filePath(kKeptAccess);
    const QString importing = QDir::current().filePath(kImporting);
    if (QFileInfo::exists(kept) || QFileInfo::exists(importing)) {
        messages.notice(QStringLiteral("   Il file tavorio.mdb è un archivio Access, ma accanto c'è già \"%1\": "
                                       "spostarlo altrove e riavviare per importare l'archivio.   ")
                            .arg(QFileInfo::exists(kept) ? kKeptAccess : kImporting));
        return 1;
    }
    if (!messages.confirm(QStringLiteral("   Il file tavorio.mdb in questa cartella è un archivio Access, non ancora "
                                         "nel formato di Tavorio.   \n   Importarlo ora? Il file Access resta accanto, "
                                         "con il nome tavorio_access.mdb.   ")))
        return 0;
    QString report;
    try {
        report = importAccessArchive(nullptr, archive, importing, prompt);
    } catch (const std::exception &error) {
        messages.notice(QStringLiteral("   %1   ").arg(QString::fromUtf8(error.what())));
        return 1;
    }
    // The Access file steps aside only now, and the new archive takes its name.
    if (!QFile::rename(archive, kept) || !QFile::rename(importing, archive)) {
        messages.notice(QStringLiteral("   L'archivio è stato importato in \"%1\", ma non ha potuto prendere il nome "
                                       "tavorio.mdb: rinominare i file a mano.   ")
                            .arg(QDir::toNativeSeparators(importing)));
        return 1;
    }
    messages.notice(QStringLiteral("   %1   ").arg(report.trimmed()));
    return std::nullopt;
}

} // namespace app
