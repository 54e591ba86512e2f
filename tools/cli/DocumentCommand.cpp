#include "tools/cli/DocumentCommand.h"

#include "archive/CliError.h"
#include "db/RecordText.h"
#include "db/TField.h"
#include "engine/ArchiveLocation.h"
#include "output/word/Application.h"
#include "output/word/AutomationError.h"
#include "output/word/CardPlaceholders.h"
#include "output/word/DocumentWindow.h"
#include "platform/OutputFile.h"
#include "store/TArcDatabase.h"
#include "store/TArcTable.h"
#include "tools/cli/ArchiveCheck.h"
#include "tools/cli/SuppliedLookup.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTextStream>

namespace cli {

namespace {

const QString kNotice = QStringLiteral("Impossibile collegarsi a Microsoft Word !");

CliError usage(const QString &reason) { return CliError(ExitCode::Usage, reason); }

CliError notMade(const QString &details)
{
    return CliError(ExitCode::Refused, kNotice + QLatin1Char('\n') + details);
}

// The template is read once before any card: a template that cannot be used stops the
// command before anything is written. Returns the documents' extension.
QString checkTemplate(const QString &templatePath)
{
    try {
        word::Application probe;
        return probe.Documents().Add(templatePath).extension();
    } catch (const word::AutomationError &e) {
        throw notMade(e.description());
    }
}

void prepareOutputFolder(const QString &folder)
{
    if (QFileInfo(folder).isDir())
        return;
    try {
        word::makePrivateFolder(folder);
    } catch (const word::AutomationError &e) {
        throw notMade(e.description());
    }
}

void configure(TArcDatabase &database, TArcTable &cards, const DocumentRequest &request)
{
    database.setDatabase(dao::ArchiveLocation(request.archive).normalized());
    database.setDatabasePassword(request.password);
    database.setReadOnly(true);
    cards.setDatabase(&database);
    cards.setTableName(QStringLiteral("Anagrafica"));
    cards.setTableType(2);
    cards.setSortedBy({QStringLiteral("[ID_SCHEDA] ASC")});
    if (request.cardId >= 0) {
        cards.setFilter(QStringLiteral("[ID_SCHEDA] = %1").arg(request.cardId));
        cards.setFiltered(true);
    } else if (!request.criteria.acceptsAll()) {
        const CardCriteria criteria = request.criteria;
        cards.setOnFilterRecord([criteria](TDataSet &dataSet, bool &accept) { accept = criteria.accepts(dataSet); });
        cards.FilterCriteria = [criteria] { return std::make_optional(criteria.filterCriteria()); };
        cards.setFiltered(true);
    }
}

// Names already used in this run get the card's key, so no card overwrites another's file.
QString outputPath(const DocumentRequest &request, TArcTable &cards, const QString &extension, QSet<QString> &used)
{
    const qint64 id = cards.fieldByName(QStringLiteral("ID_SCHEDA"))->asInteger();
    QString base = documentBaseName(cards.fieldByName(QStringLiteral("Protocollo"))->asString(),
                                    cards.fieldByName(QStringLiteral("Capofamiglia"))->asString(), id);
    if (used.contains(base.toLower()))
        base += QStringLiteral(" (%1)").arg(id);
    used.insert(base.toLower());
    return QDir(request.outputFolder).filePath(base + extension);
}

// Every card's file name, in card order; without --sovrascrivi a name already taken in the
// folder stops the command before any document is written.
QStringList outputPaths(const DocumentRequest &request, TArcTable &cards, const QString &extension)
{
    QSet<QString> used;
    QStringList paths;
    QStringList taken;
    platform::OutputTargets spared(dao::ArchiveLocation(request.archive).file(), true);
    for (cards.first(); !cards.eof(); cards.next()) {
        paths << outputPath(request, cards, extension, used);
        const platform::OutputRefusal refusal = spared.add(paths.back());
        if (refusal == platform::OutputRefusal::Archive || refusal == platform::OutputRefusal::ArchiveFile)
            throw CliError(ExitCode::Refused, QStringLiteral("Nessun documento prodotto: ")
                                                  + platform::OutputTargets::text(refusal, paths.back()));
        if (!request.overwrite && QFileInfo::exists(paths.back()))
            taken << QStringLiteral("  ") + paths.back();
    }
    if (!taken.isEmpty())
        throw CliError(ExitCode::Refused,
                       QStringLiteral("Nessun documento prodotto: questi file esistono già (--sovrascrivi li sostituisce):\n")
                           + taken.join(QLatin1Char('\n')));
    return paths;
}

int makeDocuments(const DocumentRequest &request, const QString &extension, QTextStream &out)
{
    TArcDatabase database;
    TArcTable cards;
    configure(database, cards, request);
    database.Open();
    cards.open();
    const QStringList paths = outputPaths(request, cards, extension);

    word::Application application;
    int made = 0;
    for (cards.first(); !cards.eof(); cards.next()) {
        try {
            word::Document &document = application.Documents().Add(request.templatePath);
            word::replacePlaceholders(application, word::cardPlaceholders(cards, cards.BoundFieldNames()));
            const QString &path = paths.at(made);
            document.SaveAs(path);
            document.Close(word::wdDoNotSaveChanges);
            out << path << '\n';
            ++made;
        } catch (const word::AutomationError &e) {
            throw notMade(e.description());
        }
    }
    out.flush();
    return made;
}

} // namespace

DocumentRequest parseDocumentCommand(const QStringList &args)
{
    DocumentRequest request;
    bool all = false;
    QStringList files;
    const auto valueOf = [&args](qsizetype &i) {
        if (++i == args.size())
            throw usage(QStringLiteral("%1 richiede un valore.").arg(args[i - 1]));
        return args[i];
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--password-stdin")) {
            request.passwordStdin = true;
        } else if (arg == QLatin1String("--tutte")) {
            all = true;
        } else if (arg == QLatin1String("--scheda")) {
            bool ok = false;
            request.cardId = valueOf(i).toLongLong(&ok);
            if (!ok || request.cardId < 0)
                throw badCardNumber(args[i]);
        } else if (arg == QLatin1String("--fascia")) {
            request.criteria.band = valueOf(i);
        } else if (arg == QLatin1String("--paese")) {
            request.criteria.country = valueOf(i);
        } else if (arg == QLatin1String("--cerca")) {
            // Folded as the search box folds what is typed.
            request.criteria.searchText = upperAsciiLetters(valueOf(i));
        } else if (arg == QLatin1String("--sovrascrivi")) {
            request.overwrite = true;
        } else if (arg == QLatin1String("--uscita")) {
            request.outputFolder = valueOf(i);
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            throw cli::unknownOption(arg);
        } else {
            files << arg;
        }
    }
    if (files.size() != 2)
        throw usage(QStringLiteral("documento richiede l'ARCHIVIO e il MODELLO."));
    request.archive = files[0];
    request.templatePath = templatePathFor(files[0], files[1]);
    if (all == (request.cardId >= 0))
        throw usage(QStringLiteral("indicare --scheda ID oppure --tutte."));
    if (!all && !request.criteria.acceptsAll())
        throw usage(QStringLiteral("--fascia, --paese e --cerca valgono solo con --tutte."));
    if (request.outputFolder.isEmpty())
        throw usage(QStringLiteral("manca --uscita CARTELLA."));
    return request;
}

QString documentBaseName(const QString &protocol, const QString &headOfHousehold, qint64 id)
{
    QString base = (protocol.trimmed() + QLatin1Char(' ') + headOfHousehold.trimmed()).trimmed();
    for (QChar &c : base) {
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    }
    base = base.simplified();
    while (base.startsWith(QLatin1Char('.')))
        base.remove(0, 1);
    return base.isEmpty() ? QStringLiteral("scheda %1").arg(id) : base;
}

int runDocument(const DocumentRequest &request, QTextStream &out, QTextStream &err)
{
    try {
        ArchiveCheck(request.archive, request.password).run();
        const QString extension = checkTemplate(request.templatePath);
        prepareOutputFolder(request.outputFolder);
        const int made = makeDocuments(request, extension, out);
        if (made == 0 && request.cardId >= 0)
            throw CliError(ExitCode::Refused, QStringLiteral("Nessuna scheda con ID_SCHEDA %1.").arg(request.cardId));
        err << QStringLiteral("Documenti prodotti: %1.").arg(made) << Qt::endl;
    } catch (const CliError &e) {
        err << e.message() << Qt::endl;
        return int(e.code());
    } catch (const std::exception &e) {
        err << kNotice << '\n' << QString::fromLocal8Bit(e.what()) << Qt::endl;
        return int(ExitCode::Refused);
    }
    return int(ExitCode::Ok);
}

} // namespace cli
