#include "archive/AccessImport.h"

#include "archive/CliError.h"
#include "archive/CopySource.h"
#include "engine/Constants.h"
#include "import/AccessFile.h"
#include "import/AccessMapping.h"

#include <QFileInfo>

#include <map>

namespace cli {

namespace {

CliError importRefusal(const QString &file, const QString &reason)
{
    return CliError(ExitCode::NotAnArchive, QStringLiteral("Il file Access \"%1\" non si può importare: %2.").arg(file, reason));
}

// The Access file opened and matched with the archive's tables; its refusals in the
// command's words.
class AccessSource final : public CopySource {
public:
    AccessSource(const QString &path, const QString &password, const ImportOptions &options)
    {
        try {
            m_file = std::make_unique<accessdb::AccessFile>(path, password);
        } catch (const accessdb::AccessError &e) {
            throw CliError(e.kind() == accessdb::AccessError::Kind::BadPassword ? ExitCode::BadPassword
                                                                               : ExitCode::NotAnArchive,
                           e.message());
        }
        m_mapping = read([&] { return accessdb::mapToArchive(*m_file); });
        if (!m_mapping.problems.isEmpty())
            throw importRefusal(path, m_mapping.problems.join(QLatin1String("; ")));
        if (!m_mapping.extras.isEmpty() && !options.ignoreExtra)
            throw CliError(ExitCode::Refused,
                           QStringLiteral("Il file Access \"%1\" contiene ciò che l'archivio di Tavorio non ha: %2.\n"
                                          "Con --ignora-extra si importa il resto e questi si lasciano fuori.")
                               .arg(path, m_mapping.extras.join(QLatin1String(", "))));
    }

    const accessdb::AccessMapping &mapping() const { return m_mapping; }
    qint64 rowsRead(const QString &table) const
    {
        const auto it = m_rowsRead.find(table);
        return it == m_rowsRead.end() ? 0 : it->second;
    }

    QStringList tables() override
    {
        QStringList names;
        for (const accessdb::MappedTable &t : m_mapping.tables)
            names << t.archive.name;
        return names;
    }

    dao::TableSpec definition(const QString &table) override { return mapped(table).archive; }

    qint64 keyCounter(const QString &table) override { return std::max<qint64>(0, mapped(table).nextCounter - 1); }

    void readRows(const QString &table, const std::function<bool(const std::vector<dao::Value> &)> &row) override
    {
        const accessdb::MappedTable &t = mapped(table);
        std::vector<dao::Value> values(t.columns.size());
        qint64 &count = m_rowsRead[table];
        count = 0;
        read([&] {
            m_file->readRows(t.accessName, [&](const std::vector<dao::Value> &stored) {
                ++count;
                for (size_t i = 0; i < t.columns.size(); ++i) {
                    values[i] = stored[size_t(t.columns[i])];
                    checkLength(t, i, values[i], count);
                }
                return row(values);
            });
            return 0;
        });
    }

    QList<dao::QueryDefInfo> queries() override { return {}; }

private:
    const accessdb::MappedTable &mapped(const QString &table) const
    {
        for (const accessdb::MappedTable &t : m_mapping.tables)
            if (t.archive.name == table)
                return t;
        throw std::logic_error("table not mapped");
    }

    // A text field longer in the file than in the archive: its values must fit.
    void checkLength(const accessdb::MappedTable &t, size_t field, const dao::Value &value, qint64 row) const
    {
        const dao::FieldSpec &target = t.archive.fields[field];
        if (target.type == dao::dbText && value.isText() && value.asText().size() > target.size)
            throw importRefusal(m_file->path(), QStringLiteral("il campo %1.%2 della riga %3 ha %4 caratteri, più dei %5 "
                                                               "che l'archivio tiene")
                                                    .arg(t.archive.name, target.name)
                                                    .arg(row)
                                                    .arg(value.asText().size())
                                                    .arg(target.size));
    }

    template <typename F>
    auto read(F f) -> decltype(f())
    {
        try {
            return f();
        } catch (const accessdb::AccessError &e) {
            throw CliError(ExitCode::NotAnArchive, e.message());
        }
    }

    std::unique_ptr<accessdb::AccessFile> m_file;
    accessdb::AccessMapping m_mapping;
    std::map<QString, qint64> m_rowsRead;
};

} // namespace

AccessImport::AccessImport(QString accessFile, QString accessPassword, TransferSide to, ImportOptions options)
    : m_file(std::move(accessFile)), m_password(std::move(accessPassword)), m_to(std::move(to)), m_options(options)
{
}

ImportReport AccessImport::run()
{
    ImportReport report;
    report.source = m_file;
    report.target = m_to.location;
    report.trial = m_options.trial;
    if (!QFileInfo(m_file).isFile())
        throw CliError(ExitCode::NotAnArchive, fileNotFoundText(m_file));
    if (m_options.trial) {
        AccessSource source(m_file, m_password, m_options);
        for (const QString &table : source.tables()) {
            qint64 rows = 0;
            source.readRows(table, [&](const std::vector<dao::Value> &) {
                return !m_progress || ++rows % 250 != 0 || m_progress(table, rows);
            });
            report.tables.push_back({table, source.rowsRead(table), 0});
        }
        report.leftOut = source.mapping().extras;
        return report;
    }
    // The copy's source: its row counts are the rows read. The check opens its own.
    std::shared_ptr<AccessSource> copied;
    ArchiveTransfer transfer(
        m_file,
        [&]() -> std::shared_ptr<CopySource> {
            auto source = std::make_shared<AccessSource>(m_file, m_password, m_options);
            if (!copied)
                copied = source;
            return source;
        },
        m_to);
    transfer.setProgress(m_progress);
    const Comparison comparison = transfer.run();
    for (const TableRows &t : comparison.perTable)
        report.tables.push_back({t.table, copied->rowsRead(t.table), t.rows});
    report.leftOut = copied->mapping().extras;
    return report;
}

QString importReportText(const ImportReport &report)
{
    QString text = report.trial ? QStringLiteral("Prova di importazione di \"%1\": nulla è stato scritto.\n").arg(report.source)
                                : QStringLiteral("Archivio Access \"%1\" importato in \"%2\"; ogni valore è stato riletto e "
                                                 "confrontato con il file Access.\n")
                                      .arg(report.source, report.target);
    text += report.trial ? QStringLiteral("Tabella              righe lette\n")
                         : QStringLiteral("Tabella              righe lette  righe scritte\n");
    for (const ImportedTable &t : report.tables) {
        text += t.table.leftJustified(20) + QString::number(t.read).rightJustified(13);
        if (!report.trial)
            text += QString::number(t.written).rightJustified(15);
        text += QLatin1Char('\n');
    }
    if (report.leftOut.isEmpty())
        text += QStringLiteral("Nulla è stato lasciato fuori.\n");
    else
        text += QStringLiteral("Lasciati fuori: %1.\n").arg(report.leftOut.join(QLatin1String(", ")));
    return text;
}

} // namespace cli
