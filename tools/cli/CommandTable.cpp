#include "tools/cli/CommandTable.h"

#include <QStringList>
#include <algorithm>

namespace cli {

namespace {

using enum ExitCode;

const CommandEntry kCommands[] = {
    {"crea-archivio", "(FILE | INDIRIZZO) [--demo | --schede N] [--password-stdin]",
     "Crea un nuovo archivio con le tabelle e le righe standard.",
     "Non sovrascrive mai un file esistente. --demo aggiunge circa sessanta famiglie di\n"
     "esempio, --schede N aggiunge N famiglie generate (sempre le stesse per lo stesso N).\n"
     "Su un server l'archivio si crea in un database vuoto che esiste già: uno che\n"
     "contiene tabelle non viene toccato (uscita 1).\n",
     {Ok, Refused, BadPassword, NotAnArchive, Unreachable, Usage}},
    {"verifica", "(FILE | INDIRIZZO) [--password-stdin]",
     "Conta le righe di ogni tabella e controlla l'integrità dell'archivio.",
     "Apre l'archivio in sola lettura e ne controlla anche la cifratura, se ha una\n"
     "password; su un server conta solo le righe: i suoi dati li custodisce il server.\n",
     {Ok, BadPassword, NotAnArchive, Damaged, Unreachable, Usage}},
    {"trasferisci", "DA A [--password-stdin]",
     "Copia un intero archivio fra un file e un server e confronta la copia.",
     "DA e A sono un FILE o un INDIRIZZO. Copia ogni tabella, chiave e campo binario,\n"
     "poi rilegge la copia e la confronta con l'originale riga per riga. Non\n"
     "sovrascrive mai un file esistente né un database che contiene tabelle\n"
     "(uscita 1). Con --password-stdin legge due righe: la password di DA, poi\n"
     "quella di A; un file A con una password è cifrato.\n",
     {Ok, Refused, BadPassword, NotAnArchive, Unreachable, Usage}},
    {"importa", "FILE.mdb A [--password-stdin] [--prova] [--ignora-extra]",
     "Porta in un nuovo archivio le sette tabelle di un archivio Access 97 o 2000.",
     "A è un FILE o un INDIRIZZO. Ogni chiave e contatore passa; poi rilegge l'archivio\n"
     "e ne confronta ogni valore con il file Access, che non viene mai modificato.\n"
     "Tabelle o campi che l'archivio non ha fermano l'importazione, salvo con\n"
     "--ignora-extra (restano fuori e il resoconto li elenca). --prova legge e\n"
     "controlla senza scrivere. Con --password-stdin legge due righe: la password\n"
     "del file Access, poi quella di A (con --prova solo la prima).\n",
     {Ok, Refused, BadPassword, NotAnArchive, Unreachable, Usage}},
    {"stampa",
     "ARCHIVIO (TRACCIATO.qnf | --elenco NOME [--fascia F] [--paese P]\n"
     "[--cerca TESTO]) --pdf USCITA.pdf [--sovrascrivi] [--password-stdin]",
     "Costruisce le pagine di un tracciato o di un elenco e le scrive in PDF.",
     "Con --elenco l'elenco è quello del catalogo dell'archivio, con il suo ordine e il\n"
     "tracciato della cartella \"stampe\" accanto all'archivio, sulle schede scelte\n"
     "come nella finestra di selezione; un NOME sconosciuto: gli elenchi vanno sullo\n"
     "standard error e l'uscita è 64. Un tracciato che manca o è danneggiato esce\n"
     "con 3, una preparazione del report che non riesce con 4 (il motivo va sullo\n"
     "standard error).\n",
     {Ok, Refused, BadPassword, NotAnArchive, NotBuilt, Unreachable, Usage}},
    {"statistiche",
     "ARCHIVIO [--al GG/MM/AAAA] [--fascia F] [--paese P] [--cerca TESTO]\n"
     "[--csv FILE] [--sovrascrivi] [--password-stdin]",
     "Stampa le statistiche delle schede scelte alla data indicata (oggi se manca).",
     "Con --csv le scrive anche in un file CSV (UTF-8, separatore ';').\n",
     {Ok, Refused, BadPassword, NotAnArchive, NotBuilt, Unreachable, Usage}},
    {"esporta",
     "ARCHIVIO --elenco NOME [--fascia F] [--paese P] [--cerca TESTO]\n"
     "(--csv FILE | --ods FILE) [--sovrascrivi] [--password-stdin]",
     "Scrive le righe di un elenco del catalogo come foglio di calcolo.",
     "Una riga per scheda stampata, una colonna per casella della banda dati.\n"
     "Stampa, statistiche ed esporta non sostituiscono mai l'archivio, le sue copie o\n"
     "un altro archivio, né un file esistente senza --sovrascrivi, né scrivono due\n"
     "uscite nello stesso file: in questi casi non scrivono nulla (uscita 1).\n",
     {Ok, Refused, BadPassword, NotAnArchive, NotBuilt, Unreachable, Usage}},
    {"documento",
     "ARCHIVIO MODELLO (--scheda ID | --tutte [--fascia F] [--paese P]\n"
     "[--cerca TESTO]) --uscita CARTELLA [--sovrascrivi] [--password-stdin]",
     "Riempie un modello Word con una scheda o con tutte quelle scelte.",
     "Il modello è un .docx, .docm, .odt o .doc; le schede si scelgono come negli\n"
     "elenchi stampati. Un documento per scheda nella CARTELLA, chiamato con\n"
     "protocollo e capofamiglia. Un MODELLO senza cartella che non c'è si cerca in\n"
     "\"word\" accanto all'archivio e fra i modelli forniti. Se un documento esiste già\n"
     "non ne produce nessuno (uscita 1), a meno di --sovrascrivi.\n",
     {Ok, Refused, BadPassword, NotAnArchive, Unreachable, Usage}},
    {"server-prepara",
     "--nomi NOME[,NOME...] --rete RETE --cartella CARTELLA\n"
     "--password-stdin [--database NOME] [--proprietario RUOLO] [--sportello RUOLO]\n"
     "[--ascolta INDIRIZZI] [--amministratore INDIRIZZO] [--sovrascrivi]",
     "Prepara una volta il server PostgreSQL dove gira, eseguito come suo amministratore.",
     "Con sudo -u postgres: certificati per i NOMI del server, TLS e password\n"
     "scram-sha-256, accesso da RETE (per esempio 192.168.1.0/24) solo con TLS, il\n"
     "ruolo proprietario e quello degli sportelli (la sua password è la prima riga\n"
     "dello standard input), il database con l'archivio vuoto, e in CARTELLA\n"
     "tavorio.ini e il certificato da copiare accanto al programma di ogni sportello.\n",
     {Ok, Refused, Usage}},
    {"persone",
     "INDIRIZZO (elenca | aggiungi NOME --ruolo operatore|responsabile |\n"
     "disattiva NOME | riattiva NOME | password NOME) [--password-stdin]",
     "Gestisce le persone di un archivio su un server (da parte di un Responsabile).",
     "Ognuna entra con il suo nome e la sua password. Con --password-stdin la prima\n"
     "riga è la vostra password, la seconda (per aggiungi e password) quella nuova\n"
     "della persona. Chi è disattivato non entra più; le sue modifiche restano a suo\n"
     "nome.\n",
     {Ok, Refused, BadPassword, NotAnArchive, Unreachable, Usage}},
    {"storia",
     "ARCHIVIO [--scheda ID] [--dal GG/MM/AAAA] [--csv FILE] [--sovrascrivi]\n"
     "[--password-stdin]",
     "Stampa la storia delle modifiche, dalla più recente.",
     "Per ogni modifica: quando, chi, l'azione, il record e ogni campo cambiato con il\n"
     "valore di prima e di dopo. --scheda limita alla scheda ID e ai suoi familiari,\n"
     "--dal alle modifiche da quel giorno; con --csv la scrive in un file CSV invece\n"
     "di stamparla.\n",
     {Ok, Refused, BadPassword, NotAnArchive, Unreachable, Usage}},
};

const ExitEntry kExits[] = {
    {Ok, "riuscito"},
    {Refused, "nulla creato o scritto: archivio non creato o non trasferito, documenti non "
              "prodotti, file non scritto (anche quando esiste già o è un archivio)"},
    {BadPassword, "password errata o mancante"},
    {NotAnArchive, "archivio, tracciato o modello mancante o non valido (un file, o un database "
                   "che il server non ha)"},
    {NotBuilt, "le pagine dell'elenco non si possono costruire"},
    {Damaged, "archivio danneggiato"},
    {Unreachable, "collegamento al server dell'archivio non riuscito o interrotto"},
    {Usage, "riga di comando errata (anche un INDIRIZZO non valido o un nome di elenco sconosciuto)"},
};

constexpr int kSynopsisIndent = 13;   // continuation lines start under the arguments
constexpr int kUsageWidth = 80;
constexpr int kMeaningIndent = 5;      // a meaning's further lines start under its first word

} // namespace

std::span<const CommandEntry> commandTable() { return kCommands; }
std::span<const ExitEntry> exitTable() { return kExits; }

const CommandEntry *findCommand(const QString &name)
{
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [&](const CommandEntry &c) { return name == QLatin1String(c.name); });
    return found == std::end(kCommands) ? nullptr : found;
}

QString synopsisText(const CommandEntry &command)
{
    const QStringList lines = QString::fromUtf8(command.arguments).split(QLatin1Char('\n'));
    QString text = QStringLiteral("  tavorio-cli %1 %2\n").arg(QLatin1String(command.name), lines.front());
    for (qsizetype i = 1; i < lines.size(); ++i)
        text += QString(kSynopsisIndent, QLatin1Char(' ')) + lines[i] + QLatin1Char('\n');
    return text;
}

QString exitCodesText()
{
    QString text = QStringLiteral("Codici di uscita:\n");
    for (const ExitEntry &exit : kExits) {
        QString line = QStringLiteral("  %1").arg(int(exit.code), 2);
        for (const QString &word : QString::fromUtf8(exit.meaning).split(QLatin1Char(' '))) {
            if (line.size() + 1 + word.size() > kUsageWidth) {
                text += line + QLatin1Char('\n');
                line = QString(kMeaningIndent - 1, QLatin1Char(' '));
            }
            line += QLatin1Char(' ') + word;
        }
        text += line + QLatin1Char('\n');
    }
    return text;
}

} // namespace cli
