#include "tools/cli/Commands.h"

#include "engine/ArchiveLocation.h"
#include "tools/cli/ArchiveCheck.h"
#include "tools/cli/CliError.h"
#include "tools/cli/HistoryCommand.h"
#include "tools/cli/PeopleCommand.h"
#include "tools/cli/ServerPrepare.h"
#include "store/NetworkFolderWarning.h"

#include <QTextStream>

namespace cli {

namespace {

int fail(const CliError &e, QTextStream &err)
{
    err << e.message() << Qt::endl;
    return int(e.code());
}

} // namespace

int runCreate(const QString &path, const QString &password, const ArchiveContents &contents,
              QTextStream &out, QTextStream &err)
{
    try {
        ArchiveCreator(path, password).create(contents);
    } catch (const CliError &e) {
        return fail(e, err);
    }
    out << QStringLiteral("Archivio creato: %1 (%2 schede%3).")
               // In one pass, as an address may hold "%2F"; on a server the password is the
               // office role's, not the archive's own.
               .arg(path, QString::number(contents.households),
                    password.isEmpty() || dao::ArchiveLocation(path).isServer() ? QString() : QStringLiteral(", protetto da password"))
        << Qt::endl;
    return int(ExitCode::Ok);
}

int runCheck(const QString &path, const QString &password, QTextStream &out, QTextStream &err)
{
    // A warning, not a failure: the check runs all the same.
    if (const std::optional<QString> warning = store::networkFolderWarning(path))
        err << QStringLiteral("Attenzione: ") << *warning << Qt::endl;
    CheckReport report;
    try {
        report = ArchiveCheck(path, password).run();
    } catch (const CliError &e) {
        return fail(e, err);
    }
    for (const TableCount &count : report.counts)
        out << count.table << ' ' << count.rows << '\n';
    out.flush();
    if (report.problems.isEmpty())
        return int(ExitCode::Ok);
    return fail(CliError(ExitCode::Damaged, damagedText(path, report.problems)), err);
}

int runTransfer(const TransferSide &from, const TransferSide &to, QTextStream &out, QTextStream &err)
{
    Comparison copied;
    try {
        copied = ArchiveTransfer(from, to).run();
    } catch (const CliError &e) {
        return fail(e, err);
    }
    out << QStringLiteral("Archivio trasferito: %1 -> %2 (%3 tabelle, %4 righe confrontate una per una).")
               // In one pass: an address may hold "%2F" and the like, which a later arg() would fill.
               .arg(from.location, to.location, QString::number(copied.tables), QString::number(copied.rows))
        << Qt::endl;
    return int(ExitCode::Ok);
}

int runImport(const QString &accessFile, const QString &accessPassword, const TransferSide &to,
              const ImportOptions &options, QTextStream &out, QTextStream &err)
{
    try {
        out << importReportText(AccessImport(accessFile, accessPassword, to, options).run());
    } catch (const CliError &e) {
        return fail(e, err);
    }
    out.flush();
    return int(ExitCode::Ok);
}

QString usageText()
{
    return QStringLiteral(
        "Uso:\n"
        "  tavorio-cli crea-archivio (FILE | INDIRIZZO) [--demo | --schede N] [--password-stdin]\n"
        "      Crea un nuovo archivio con le tabelle e le righe standard; non sovrascrive\n"
        "      mai un file esistente. --demo aggiunge circa sessanta famiglie di esempio,\n"
        "      --schede N aggiunge N famiglie generate (sempre le stesse per lo stesso N).\n"
        "      Su un server l'archivio si crea in un database vuoto che esiste già: uno che\n"
        "      contiene tabelle non viene toccato (uscita 1).\n"
        "  tavorio-cli verifica (FILE | INDIRIZZO) [--password-stdin]\n"
        "      Apre l'archivio in sola lettura, stampa il numero di righe di ogni tabella e\n"
        "      ne controlla l'integrità (e la cifratura, se ha una password); su un server\n"
        "      conta solo le righe: i suoi dati li custodisce il server.\n"
        "  tavorio-cli trasferisci DA A [--password-stdin]\n"
        "      Copia un intero archivio da un file a un server o da un server a un file\n"
        "      (DA e A: un FILE o un INDIRIZZO), con ogni tabella, chiave e campo binario,\n"
        "      poi rilegge la copia e la confronta con l'originale riga per riga. Non\n"
        "      sovrascrive mai un file esistente né un database che contiene tabelle\n"
        "      (uscita 1). Con --password-stdin legge due righe: la password di DA, poi\n"
        "      quella di A; un file A con una password è cifrato.\n"
        "  tavorio-cli importa FILE.mdb A [--password-stdin] [--prova] [--ignora-extra]\n"
        "      Porta in un nuovo archivio A (un FILE o un INDIRIZZO) le sette tabelle di un\n"
        "      archivio Access 97 o 2000, con ogni chiave e contatore, poi rilegge l'archivio\n"
        "      e ne confronta ogni valore con il file Access, che non viene mai modificato.\n"
        "      Tabelle o campi che l'archivio non ha fermano l'importazione, salvo con\n"
        "      --ignora-extra (restano fuori e il resoconto li elenca). --prova legge e\n"
        "      controlla senza scrivere. Con --password-stdin legge due righe: la password\n"
        "      del file Access, poi quella di A (con --prova solo la prima).\n"
        "  tavorio-cli stampa ARCHIVIO TRACCIATO.qnf --pdf USCITA.pdf [--sovrascrivi]\n"
        "             [--password-stdin]\n"
        "      Costruisce le pagine del tracciato sulle schede dell'archivio e le scrive\n"
        "      in PDF. Esce con 3 se il tracciato manca o è danneggiato, con 4 se la\n"
        "      preparazione del report non riesce (il motivo va sullo standard error).\n"
        "  tavorio-cli stampa ARCHIVIO --elenco NOME [--fascia F] [--paese P] [--cerca TESTO]\n"
        "             --pdf USCITA.pdf [--sovrascrivi] [--password-stdin]\n"
        "      Stampa in PDF un elenco del catalogo dell'archivio, con il suo ordine e il\n"
        "      tracciato della cartella \"stampe\" accanto all'archivio, sulle schede scelte\n"
        "      come nella finestra di selezione. Un NOME sconosciuto: gli elenchi vanno sullo\n"
        "      standard error e l'uscita è 64.\n"
        "  tavorio-cli statistiche ARCHIVIO [--al GG/MM/AAAA] [--fascia F] [--paese P]\n"
        "             [--cerca TESTO] [--csv FILE] [--sovrascrivi] [--password-stdin]\n"
        "      Stampa le statistiche delle schede scelte alla data indicata (oggi se manca);\n"
        "      con --csv le scrive anche in un file CSV (UTF-8, separatore ';').\n"
        "  tavorio-cli esporta ARCHIVIO --elenco NOME [--fascia F] [--paese P] [--cerca TESTO]\n"
        "             (--csv FILE | --ods FILE) [--sovrascrivi] [--password-stdin]\n"
        "      Scrive le righe di un elenco del catalogo come foglio di calcolo: una riga per\n"
        "      scheda stampata, una colonna per casella della banda dati.\n"
        "  Stampa, statistiche ed esporta non sostituiscono mai l'archivio, le sue copie o\n"
        "  un altro archivio, né un file esistente senza --sovrascrivi, né scrivono due\n"
        "  uscite nello stesso file: in questi casi non scrivono nulla (uscita 1).\n"
        "  tavorio-cli documento ARCHIVIO MODELLO (--scheda ID | --tutte [--fascia F]\n"
        "             [--paese P] [--cerca TESTO]) --uscita CARTELLA [--sovrascrivi]\n"
        "             [--password-stdin]\n"
        "      Riempie il modello Word (.docx, .docm, .odt, .doc) con una scheda o con tutte\n"
        "      quelle scelte come negli elenchi stampati; un documento per scheda nella\n"
        "      CARTELLA, chiamato con protocollo e capofamiglia (1: documenti non prodotti).\n"
        "      Un MODELLO senza cartella che non c'è si cerca in \"word\" accanto all'archivio\n"
        "      e fra i modelli forniti. Se un documento esiste già non ne produce nessuno\n"
        "      (uscita 1), a meno di --sovrascrivi.\n")
        + serverPrepareUsage() + peopleUsage() + historyUsage() + QStringLiteral("\n")
        + addressText()
        + QStringLiteral(
            "Con --password-stdin la password è la prima riga dello standard input\n"
            "(una riga vuota: nessuna password).\n"
            "Codici di uscita: 0 riuscito, 1 archivio non creato, 2 password errata o mancante,\n"
            "3 archivio mancante o non valido (un file, o un database che il server non ha),\n"
            "5 archivio danneggiato, 6 collegamento al server dell'archivio non riuscito o\n"
            "interrotto, 64 riga di comando errata (anche un INDIRIZZO non valido).\n");
}

QString addressText()
{
    return QStringLiteral(
        "Un INDIRIZZO nomina un database di un server PostgreSQL:\n"
        "  postgresql://RUOLO@HOST[:PORTA]/DATABASE[?sslmode=MODO&sslrootcert=FILE]\n"
        "e non contiene mai la password, che è quella del RUOLO e arriva come quella di un file.\n"
        "Il server deve dimostrare la sua identità (di norma sslmode=verify-full e\n"
        "channel_binding=require): il certificato dell'autorità (CA) del server si mette in\n"
        "~/.postgresql/root.crt dell'utente che esegue il comando, o lo indica sslrootcert.\n"
        "sslmode=disable e channel_binding=disable valgono solo per un server su questo computer.\n");
}

} // namespace cli
