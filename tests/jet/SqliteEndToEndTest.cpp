// The translated texts run on a real connection with the registered collation and
// functions, so the rows they select and their order are what the engine will see.

#include "JetTestSupport.h"
#include "engine/sqlite/Bind.h"
#include "engine/sqlite/SqlFunctions.h"
#include "engine/sqlite/SqliteDialect.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <sqlite3.h>

using dao::Value;
using namespace dao::jet;
using namespace dao::sqlite;

namespace {

class JetOnSqlite : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(sqlite3_open(":memory:", &m_db), SQLITE_OK);
        registerFunctions(m_db);
        exec("CREATE TABLE Persone (ID Long, Nome Text(50), Capofamiglia \"Yes/No\", DataNascita \"Date/Time\")");
        const struct {
            int id;
            const char *name;
            int head;
            const char *born;
        } rows[] = {
            {1, "rossi", -1, "1/1/1950"}, {2, "Àlfa", 0, "6/15/1975"},  {3, "alfa", 0, "1/1/1990"},
            {4, "Bianchi", -1, "1/1/1985"}, {5, "ROSSI", 0, "1/1/2001"}, {6, "Émile", -1, "1/1/1960"},
            {7, "emile", 0, "1/1/1970"},   {8, "Zeta", 0, "1/1/2010"},  {9, nullptr, 0, "1/1/2011"},
            {10, "Al \"Capo\"", -1, "1/1/1940"}, {11, "Rossini", 0, "1/1/1930"},
        };
        for (const auto &row : rows) {
            Statement insert(m_db, "INSERT INTO Persone VALUES (?, ?, ?, ?)");
            bindParams(insert.get(), {qint64(row.id), row.name ? Value(row.name) : Value(), bool(row.head),
                                      parseDateLiteral(QString::fromLatin1(row.born))});
            ASSERT_EQ(sqlite3_step(insert.get()), SQLITE_DONE);
        }
    }

    void TearDown() override { sqlite3_close(m_db); }

    class Statement final {
    public:
        Statement(sqlite3 *db, const QString &sql)
        {
            const QByteArray utf8 = sql.toUtf8();
            EXPECT_EQ(sqlite3_prepare_v2(db, utf8.constData(), -1, &m_statement, nullptr), SQLITE_OK)
                << sqlite3_errmsg(db) << " in " << utf8.constData();
        }
        ~Statement() { sqlite3_finalize(m_statement); }
        Statement(const Statement &) = delete;
        Statement &operator=(const Statement &) = delete;
        sqlite3_stmt *get() const { return m_statement; }

    private:
        sqlite3_stmt *m_statement = nullptr;
    };

    void exec(const char *sql) { ASSERT_EQ(sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr), SQLITE_OK); }

    // The IDs of the rows a condition selects, in the order of a sort text.
    QList<int> ids(const QString &condition, const QString &sort = QStringLiteral("ID"))
    {
        const SqlFragment where = dialect().condition(condition, m_columns);
        Statement select(m_db, QStringLiteral("SELECT ID FROM Persone WHERE %1 ORDER BY %2")
                                   .arg(where.sql, dialect().sort(sort, m_columns)));
        bindParams(select.get(), where.params);
        QList<int> result;
        while (sqlite3_step(select.get()) == SQLITE_ROW)
            result.append(sqlite3_column_int(select.get(), 0));
        return result;
    }

    QString text(const char *sql)
    {
        Statement select(m_db, QString::fromUtf8(sql));
        if (sqlite3_step(select.get()) != SQLITE_ROW || sqlite3_column_type(select.get(), 0) == SQLITE_NULL)
            return QStringLiteral("<null>");
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(select.get(), 0)));
    }

    sqlite3 *m_db = nullptr;
    const Columns m_columns = {{QStringLiteral("ID"), 4},
                               {QStringLiteral("Nome"), 10},
                               {QStringLiteral("Capofamiglia"), 1},
                               {QStringLiteral("DataNascita"), 8}};
};

TEST_F(JetOnSqlite, SortPutsAccentsBesideBaseLettersAndIgnoresCase)
{
    EXPECT_EQ(ids(QStringLiteral("[ID] > 0"), QStringLiteral("Nome, [ID] ASC ")),
              (QList<int>{9, 10, 3, 2, 4, 7, 6, 1, 5, 11, 8}));
    EXPECT_EQ(ids(QStringLiteral("[ID] > 0"), QStringLiteral("nome DESC, ID DESC")),
              (QList<int>{8, 11, 5, 1, 6, 7, 4, 2, 3, 10, 9}));
}

TEST_F(JetOnSqlite, ComparisonsUseTheEngineOrder)
{
    EXPECT_EQ(ids(QStringLiteral("[Nome] = \"ROSSI\"")), (QList<int>{1, 5}));
    EXPECT_EQ(ids(QStringLiteral("[Nome] = \"alfa\"")), (QList<int>{3}));
    EXPECT_EQ(ids(QStringLiteral("[Nome] > \"b\" AND [Nome] < \"s\"")), (QList<int>{1, 4, 5, 6, 7, 11}));
    EXPECT_EQ(ids(QStringLiteral("LCASE([Nome]) = \"émile\"")), (QList<int>{6}));
    EXPECT_EQ(ids(QStringLiteral("[Nome] = \"Al \"\"Capo\"\"\"")), (QList<int>{10}));
}

TEST_F(JetOnSqlite, LikeNullsBooleansAndDatesSelectTheRightRows)
{
    EXPECT_EQ(ids(QStringLiteral("[Nome] LIKE \"r*\"")), (QList<int>{1, 5, 11}));
    EXPECT_EQ(ids(QStringLiteral("[Nome] NOT LIKE \"r*\"")), (QList<int>{2, 3, 4, 6, 7, 8, 10}));
    EXPECT_EQ(ids(QStringLiteral("UCASE([Nome]) LIKE \"[!A-Z]*\"")), (QList<int>{2, 6}));
    EXPECT_EQ(ids(QStringLiteral("[Nome] IS NULL")), (QList<int>{9}));
    EXPECT_EQ(ids(QStringLiteral("[Capofamiglia] = True")), (QList<int>{1, 4, 6, 10}));
    EXPECT_EQ(ids(QStringLiteral("NOT [Capofamiglia] AND [DataNascita] < #1/1/1980#")), (QList<int>{2, 7, 11}));
    EXPECT_EQ(ids(QStringLiteral("[DataNascita] = #06/15/1975#")), (QList<int>{2}));
}

TEST_F(JetOnSqlite, HostileTextIsOnlyAValue)
{
    EXPECT_TRUE(ids(QStringLiteral("[Nome] = \"x\"\"; DROP TABLE Persone; --\"")).isEmpty());
    EXPECT_EQ(text("SELECT count(*) FROM Persone"), QStringLiteral("11"));
}

TEST_F(JetOnSqlite, FunctionsHandleNullNumbersAndAccents)
{
    EXPECT_EQ(text("SELECT jet_lcase('ÀBÇ')"), QStringLiteral("àbç"));
    EXPECT_EQ(text("SELECT jet_ucase('àbç')"), QStringLiteral("ÀBÇ"));
    EXPECT_EQ(text("SELECT jet_lcase(NULL)"), QStringLiteral("<null>"));
    EXPECT_EQ(text("SELECT jet_ucase(12)"), QStringLiteral("12"));
    EXPECT_EQ(text("SELECT jet_like(NULL, 'a')"), QStringLiteral("<null>"));
    EXPECT_EQ(text("SELECT jet_like('a', NULL)"), QStringLiteral("<null>"));
    EXPECT_EQ(text("SELECT jet_like(123, '1#3')"), QStringLiteral("1"));
}

TEST_F(JetOnSqlite, BindKeepsEveryValueKind)
{
    Statement select(m_db, QStringLiteral("SELECT typeof(?1), typeof(?2), typeof(?3), typeof(?4), typeof(?5), "
                                          "typeof(?6), typeof(?7), ?2"));
    EXPECT_EQ(bindParams(select.get(), {Value(), true, qint64(5), 2.5, dao::Date{1.5}, QStringLiteral("ü"),
                                        QByteArray()}),
              8);
    ASSERT_EQ(sqlite3_step(select.get()), SQLITE_ROW);
    QStringList types;
    for (int i = 0; i < 7; ++i)
        types.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(select.get(), i))));
    EXPECT_EQ(types, (QStringList{"null", "integer", "integer", "real", "real", "text", "blob"}));
    EXPECT_EQ(sqlite3_column_int(select.get(), 7), -1);
    EXPECT_EQ(jettest::errorNumberOf([&] { bindParams(select.get(), {Value(1)}, 9); }), dao::errOperationNotSupported);
}

// Twenty levels of any nesting still make SQLite the library's parser takes (it gives up at
// about a hundred of its own); one more is refused before anything is built, and a text
// nested thousands deep is refused rather than exhausting the stack.
TEST_F(JetOnSqlite, NestingIsBoundedBelowWhatSqliteParses)
{
    const auto repeat = [](const char *piece, int times) { return QString::fromUtf8(piece).repeated(times); };
    const auto shapes = [&](int depth) {
        return QStringList{
            repeat("(", depth) + "[ID] = 1" + repeat(")", depth),
            repeat("NOT ", depth) + "[ID] = 1",
            repeat("NOT (", depth / 2) + "[ID] = 1" + repeat(")", depth / 2),
            repeat("LCASE(", depth) + "[Nome]" + repeat(")", depth) + " = \"rossi\"",
            "[ID] = " + repeat("(", depth) + "1" + repeat(")", depth),
            repeat("NOT ([ID] = 2 OR ", depth / 2) + "[ID] = 1" + repeat(")", depth / 2),
            repeat("UCASE((", depth / 2) + "[Nome]" + repeat("))", depth / 2) + " LIKE \"R*\"",
        };
    };
    const QStringList flat = shapes(0);
    const QStringList deepest = shapes(20);
    for (qsizetype i = 0; i < flat.size(); ++i)
        EXPECT_EQ(ids(deepest[i]), ids(flat[i])) << deepest[i].toStdString();
    for (const QString &condition : shapes(22))
        EXPECT_EQ(jettest::errorNumberOf([&] { dialect().condition(condition, m_columns); }), dao::errUnsupportedText)
            << condition.toStdString();
    try {
        dialect().condition(repeat("(", 100000), m_columns);
        ADD_FAILURE() << "no error";
    } catch (const dao::EngineError &error) {
        EXPECT_EQ(error.number(), dao::errUnsupportedText);
        // The message quotes the start of the text only.
        EXPECT_TRUE(error.description().startsWith(
            QStringLiteral("Errore di sintassi nell'espressione: condizione annidata oltre 20 livelli, trovato '(' (posizione 22 in '(((")));
        EXPECT_LT(error.description().size(), 400);
    }
}

} // namespace
