#include "tools/print/ListSession.h"

#include "archive/CliError.h"
#include "archive/LocationFailures.h"
#include "engine/ArchiveLocation.h"
#include "engine/Constants.h"
#include "engine/EngineError.h"
#include "output/report/file/LayoutReader.h"
#include "tools/cli/SuppliedLookup.h"
#include "tools/print/PrintCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace cli {

// The layout's boxes go to standard error; a damaged layout is remembered.
class ListSession::Messages final : public ReportMessages {
public:
    explicit Messages(QTextStream &err) : m_err(err) {}
    void show(const QString &text, const QString &caption, TqnMessageIcon) override
    {
        if (text == layouttext::damaged())
            damaged = true;
        QString flat = text;
        flat.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1String("\n\r"), QLatin1String("\n"));
        flat.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        m_err << (caption.isEmpty() ? QString() : caption + QStringLiteral(": ")) << flat << Qt::endl;
    }
    bool damaged = false;

private:
    QTextStream &m_err;
};

ListSession::ListSession(QTextStream &err, Clock clock)
    : m_messages(std::make_unique<Messages>(err)), m_session(std::move(clock))
{
    m_session.report().setMessages(m_messages.get());
}

ListSession::~ListSession() = default;

bool ListSession::damaged() const
{
    return m_messages->damaged;
}

void ListSession::open(const QString &archive, const QString &password, Members members)
{
    if (dao::ArchiveLocation(archive).isFile() && !QFileInfo(archive).isFile())
        throw CliError(ExitCode::NotAnArchive, fileNotFoundText(archive));
    m_archive = archive;
    try {
        m_session.open(dao::ArchiveLocation(archive).normalized(), password, members);
    } catch (const dao::EngineError &e) {
        if (e.number() == dao::errNotValidPassword)
            throw CliError(ExitCode::BadPassword, wrongPasswordText());
        if (std::optional<CliError> failure = serverFailure(archive, e))
            throw *failure;
        throw CliError(ExitCode::NotAnArchive, notAnArchiveText(archive, e.description()));
    } catch (const std::exception &e) {
        throw CliError(ExitCode::NotAnArchive, notAnArchiveText(archive, QString::fromLocal8Bit(e.what())));
    }
}

void ListSession::runList(const QString &name, const CardCriteria &criteria, const PrintedListRun::Produce &produce)
{
    TDataSet &catalogue = data().stampe();
    QStringList names;
    for (catalogue.first(); !catalogue.eof(); catalogue.next()) {
        const PrintedListEntry entry = PrintedListEntry::current(catalogue);
        if (entry.nome != name) {
            names << QStringLiteral("  ") + entry.nome;
            continue;
        }
        m_session.runList(entry, layoutFolderFor(m_archive, entry.tracciato), criteria,
                          [this, &produce](TqnReport &report) {
                              if (!damaged())
                                  produce(report);
                          });
        return;
    }
    throw CliError(ExitCode::Usage, QStringLiteral("L'archivio non ha un elenco chiamato \"%1\". Elenchi:\n%2")
                                        .arg(name, names.join(QLatin1Char('\n'))));
}

int ListSession::guarded(QTextStream &err, const std::function<int()> &work)
{
    try {
        return work();
    } catch (const CliError &e) {
        err << e.message() << Qt::endl;
        return int(e.code());
    } catch (const EReportError &e) {
        err << e.message() << Qt::endl;
        return int(ExitCode::NotAnArchive);
    } catch (const dao::EngineError &e) {
        err << e.description() << Qt::endl;
        return kPreparationFailed;
    }
}

} // namespace cli
