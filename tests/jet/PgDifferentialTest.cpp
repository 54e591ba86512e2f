// The same conditions, sorts and record conditions run over the same rows on the archive
// file's storage (SQLite with the registered functions) and on the PostgreSQL test server
// (the server's translation and functionDefinitions()): the same rows in the same order, or
// the same refusal. The texts come from the fuzz corpus and from a generator over the
// table's columns: texts with accents, case, quotes and numbers in them, nulls, numbers,
// dates, booleans. A short deterministic sample by default, a long one with
// TAVORIO_LONG_TESTS=1.

#include "JetTestSupport.h"
#include "PgTestLink.h"
#include "engine/pg/PgDialect.h"
#include "engine/pg/ServerFunctions.h"
#include "engine/sqlite/Bind.h"
#include "engine/sqlite/SqlFunctions.h"
#include "engine/sqlite/SqliteDialect.h"
#include "tests/support/RunLength.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>
#include <random>
#include <tuple>
#include <sqlite3.h>

using dao::Value;
namespace jet = dao::jet;
namespace sqlite = dao::sqlite;

namespace {

const jet::Columns &tableColumns()
{
    static const jet::Columns columns = {
        {QStringLiteral("ID"), 4},       {QStringLiteral("Capofamiglia"), 10}, {QStringLiteral("Note"), 12},
        {QStringLiteral("Caritas"), 1},  {QStringLiteral("Scadenza"), 8},      {QStringLiteral("Importo"), 7},
        {QStringLiteral("Via e n°"), 10}, {QStringLiteral("Codice"), 10},      {QStringLiteral("Numero"), 3},
        {QStringLiteral("Quota"), 5},
    };
    return columns;
}

const QStringList &textPool()
{
    static const QStringList pool = {
        "Rossi", "ROSSI", "rossi", "Àlfa", "alfa", "Émile", "emile", "Nuñez", "O'Brien", "Al \"Capo\"", "", " ",
        "12", " 7 ", "1e3", "0.5", "-3", "abc", "Straße", "STRASSE", "Œuvre", "Ørsted", "zeta", "Zoë", "10", "9",
        "[*?#]", "a*b", "Via Roma 1", "10.0", "46000", "Perché", "PERCHE", "ÿ", "ß", "Ελλάδα", "Мария", "1e400",
        "1e5000", "+5", ".5", "5.", "0x10", "1e", "-0", "ǅemal", "ﬀ",
    };
    return pool;
}

QString quotedText(const QString &text)
{
    QString inner = text;
    inner.replace(u'"', QStringLiteral("\"\""));
    return u'"' + inner + u'"';
}

class Generator final {
public:
    explicit Generator(unsigned seed) : m_random(seed) {}

    int below(int n) { return int(m_random() % unsigned(n)); }

    QString condition(int depth = 0)
    {
        const int pick = below(depth > 2 ? 4 : 8);
        switch (pick) {
        case 0: case 1:
            return operand() + u' ' + QStringList{"=", "<>", "<", ">", "<=", ">="}[below(6)] + u' ' + operand();
        case 2:
            return operand() + (below(3) == 0 ? QStringLiteral(" NOT LIKE ") : QStringLiteral(" LIKE ")) + pattern();
        case 3:
            return below(3) == 0 ? operand() : operand() + (below(2) ? QStringLiteral(" IS NULL") : QStringLiteral(" IS NOT NULL"));
        case 4:
            return QStringLiteral("NOT ") + condition(depth + 1);
        case 5:
            return u'(' + condition(depth + 1) + u')';
        default:
            return condition(depth + 1) + (pick == 6 ? QStringLiteral(" AND ") : QStringLiteral(" OR ")) + condition(depth + 1);
        }
    }

    QString sort()
    {
        QStringList items;
        const int count = 1 + below(3);
        for (int i = 0; i < count; ++i)
            items << u'[' + column() + u']' + QStringList{"", " ASC", " DESC"}[below(3)];
        return items.join(QStringLiteral(", "));
    }

    dao::RecordCondition recordCondition()
    {
        static const dao::TextForm forms[] = {dao::TextForm::Plain, dao::TextForm::Number, dao::TextForm::Boolean,
                                              dao::TextForm::Date, dao::TextForm::DateTime, dao::TextForm::Time};
        static const QStringList needles = {"ROSSI", "ALFA", "12", "/20", "TRUE", "10:", " ", "É", "OSS", "12:00:00",
                                            "FALSE", "1E+20", "", "Ñ", "46000"};
        dao::RecordCondition condition;
        if (below(2)) {
            const dao::TextForm form = forms[below(6)];
            const QStringList equalsTexts = {"Rossi", "ROSSI", "12", "True", "False", "01/01/2026", "12:00:00", "", "10.25", "-1"};
            condition.equals.push_back({{column(), form}, equalsTexts[below(int(equalsTexts.size()))]});
        }
        dao::RecordCondition::Contains contains;
        const int count = below(4);
        for (int i = 0; i < count; ++i)
            contains.columns.push_back({column(), forms[below(6)]});
        contains.text = needles[below(int(needles.size()))];
        condition.contains.push_back(contains);
        return condition;
    }

private:
    QString column() { return tableColumns()[size_t(below(int(tableColumns().size())))].name; }

    QString operand()
    {
        switch (below(12)) {
        case 0: case 1: case 2: case 3:
            return u'[' + column() + u']';
        case 4:
            return quotedText(textPool()[below(int(textPool().size()))]);
        case 5:
            return QStringList{"0", "1", "-1", "12", "12.5", "-0.5", "46000", "7", "10", "100000000000000000000"}[below(10)];
        case 6:
            return QStringList{"#1/1/2026#", "#12/31/2025 23:59:59#", "#12:00:00#", "#6/15/1975#"}[below(4)];
        case 7:
            return QStringList{"True", "False", "Null"}[below(3)];
        case 8:
            return (below(2) ? QStringLiteral("LCASE(") : QStringLiteral("UCASE(")) + operand() + u')';
        case 9:
            return u'(' + operand() + u')';
        default:
            return u'[' + column() + u']';
        }
    }

    QString pattern()
    {
        if (below(8) == 0)
            return u'[' + column() + u']';
        return quotedText(QStringList{"r*", "*a*", "[a-m]*", "?????", "*#*", "[!a-z]*", "À*", "*[*]*", "*ß", "[z-a]*",
                                      "[]x", "#", "*", "ros?i", "*1*", "[!]*"}[below(16)]);
    }

    std::mt19937 m_random;
};

Value cellValue(std::mt19937 &random, int column)
{
    const auto pick = [&random](int n) { return int(random() % unsigned(n)); };
    if (column > 0 && pick(6) == 0)
        return {};
    switch (tableColumns()[size_t(column)].type) {
    case 1:
        return Value(qint64(pick(2) ? -1 : 0));
    case 3:
        return Value(qint64(pick(200) - 50));
    case 5:
        return Value(QList<double>{10, 10.25, 0, -3, 1e6}[pick(5)]);
    case 7:
        return Value(QList<double>{12.5, 0, 1e20, 3, 0.1, -2.5, 46000}[pick(7)]);
    case 8:
        return Value(QList<double>{46000, 46000.5, -1, 0, 27195, 46022.25, 36525.999994}[pick(7)]);
    default:
        return Value(textPool()[pick(int(textPool().size()))]);
    }
}

class PgDifferential : public ::testing::Test {
protected:
    void SetUp() override
    {
        TAVORIO_REQUIRE_PG();
        m_server = std::make_unique<jettest::PgTestLink>();
        for (const QString &statement : dao::pg::functionDefinitions())
            m_server->exec(statement);
        m_server->exec(QStringLiteral(
            "CREATE TABLE \"T\" (\"ID\" integer, \"Capofamiglia\" varchar(50), \"Note\" text, \"Caritas\" smallint, "
            "\"Scadenza\" double precision, \"Importo\" double precision, \"Via e n°\" varchar(50), "
            "\"Codice\" varchar(10), \"Numero\" smallint, \"Quota\" double precision)"));
        ASSERT_EQ(sqlite3_open(":memory:", &m_file), SQLITE_OK);
        sqlite::registerFunctions(m_file);
        sqliteExec("CREATE TABLE T (ID LONG, Capofamiglia TEXT(50), Note LONGTEXT, Caritas BIT, Scadenza DATETIME, "
                   "Importo DOUBLE, \"Via e n°\" TEXT(50), Codice TEXT(10), Numero SHORT, Quota CURRENCY)");
        std::mt19937 random(7);
        for (int id = 1; id <= 40; ++id) {
            std::vector<Value> row{Value(qint64(id))};
            for (int c = 1; c < int(tableColumns().size()); ++c)
                row.push_back(cellValue(random, c));
            const QString marks = QStringLiteral("?, ?, ?, ?, ?, ?, ?, ?, ?, ?");
            m_server->rows(QStringLiteral("INSERT INTO \"T\" VALUES (%1)").arg(marks), row);
            sqlite3_stmt *insert = prepare(QStringLiteral("INSERT INTO T VALUES (%1)").arg(marks));
            sqlite::bindParams(insert, row);
            ASSERT_EQ(sqlite3_step(insert), SQLITE_DONE);
            sqlite3_finalize(insert);
        }
    }

    void TearDown() override { sqlite3_close(m_file); }

    void sqliteExec(const char *sql) { ASSERT_EQ(sqlite3_exec(m_file, sql, nullptr, nullptr, nullptr), SQLITE_OK); }

    sqlite3_stmt *prepare(const QString &sql)
    {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(m_file, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(m_file)) + " in " + sql.toStdString());
        return statement;
    }

    // "error N" when the translation refuses the text, else the IDs in order.
    template <typename Translate>
    QString outcome(Translate translate, bool server)
    {
        jet::SqlFragment where;
        QString sort;
        try {
            std::tie(where, sort) = translate();
        } catch (const dao::EngineError &error) {
            return QStringLiteral("error %1").arg(error.number());
        }
        const QString id = server ? QStringLiteral("\"ID\"") : QStringLiteral("ID");
        const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4%1")
                                .arg(id, server ? QStringLiteral("\"T\"") : QStringLiteral("T"),
                                     where.sql.isEmpty() ? QStringLiteral("1 = 1") : where.sql,
                                     sort.isEmpty() ? QString() : sort + QStringLiteral(", "));
        QStringList ids;
        if (server) {
            // Every parameter carries its type, so the server never has to guess one.
            for (qsizetype at = where.sql.indexOf(u'?'); at >= 0; at = where.sql.indexOf(u'?', at + 1))
                EXPECT_EQ(where.sql.mid(at + 1, 2), QStringLiteral("::")) << where.sql.toStdString();
            for (const QStringList &row : m_server->rows(sql, where.params))
                ids << row[0];
        } else {
            sqlite3_stmt *select = prepare(sql);
            sqlite::bindParams(select, where.params);
            while (sqlite3_step(select) == SQLITE_ROW)
                ids << QString::number(sqlite3_column_int(select, 0));
            sqlite3_finalize(select);
        }
        return ids.join(u' ');
    }

    void compare(const QString &condition, const QString &sort)
    {
        const auto &columns = tableColumns();
        const QString file = outcome([&] { return std::pair(sqlite::dialect().condition(condition, columns), sqlite::dialect().sort(sort, columns)); }, false);
        QString server;
        try {
            server = outcome([&] { return std::pair(dao::pg::dialect().condition(condition, columns), dao::pg::dialect().sort(sort, columns)); }, true);
        } catch (const std::exception &error) {
            server = QString::fromUtf8(error.what());
        }
        EXPECT_EQ(server.toStdString(), file.toStdString()) << "condition: " << condition.toStdString() << "\nsort: " << sort.toStdString();
    }

    void compare(const dao::RecordCondition &condition)
    {
        const auto &columns = tableColumns();
        const QString file = outcome([&] { return std::pair(sqlite::dialect().recordCondition(condition, columns), QString()); }, false);
        const QString server = outcome([&] { return std::pair(dao::pg::dialect().recordCondition(condition, columns), QString()); }, true);
        QStringList terms;
        for (const auto &equals : condition.equals)
            terms << QStringLiteral("%1/%2 = '%3'").arg(equals.column.name, QChar(char(equals.column.form)), equals.text);
        for (const auto &contains : condition.contains) {
            QStringList names;
            for (const auto &c : contains.columns)
                names << c.name + u'/' + QChar(char(c.form));
            terms << QStringLiteral("(%1) contains '%2'").arg(names.join(u','), contains.text);
        }
        EXPECT_EQ(server.toStdString(), file.toStdString()) << terms.join(QStringLiteral(" and ")).toStdString();
    }

    // Fifty times the sample in the long run, ten times under the sanitizers: every generated
    // form already meets the server many times over at the sample's size.
    static int sampleSize(int sample) { return testsupport::sizedRun(sample, sample * 10, sample * 50); }

    std::unique_ptr<jettest::PgTestLink> m_server;
    sqlite3 *m_file = nullptr;
};

TEST_F(PgDifferential, FuzzCorpusTextsSelectTheSameRows)
{
    const QDir corpus(QStringLiteral(TAVORIO_SOURCE_DIR "/fuzz/corpus/jet"));
    const QStringList names = corpus.entryList(QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString &name : names) {
        QFile file(corpus.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll()).trimmed();
        QString condition = text;
        QString sort;
        try {
            const jet::SelectText select = jet::parseSelect(text);
            condition = select.condition;
            sort = select.sort;
        } catch (const dao::EngineError &) {
        }
        compare(condition, sort);
        compare(QStringLiteral("[ID] > 0"), text);
    }
}

TEST_F(PgDifferential, GeneratedConditionsAndSortsSelectTheSameRowsInTheSameOrder)
{
    Generator generator(2026);
    for (int i = 0; i < sampleSize(300) && !HasFailure(); ++i) {
        const QString condition = generator.condition();
        compare(condition, generator.sort());
    }
}

TEST_F(PgDifferential, GeneratedRecordConditionsSelectTheSameRows)
{
    Generator generator(25);
    for (int i = 0; i < sampleSize(150) && !HasFailure(); ++i)
        compare(generator.recordCondition());
}

} // namespace
