// Connecting, disconnecting, the open-table list, the catalogue and the password change.

#include "StoreTestSupport.h"
#include "TArcTableTestSupport.h"

#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Workspace.h"
#include "platform/FileOps.h"
#include "store/TArcDatabase.h"

#include <QUuid>

#include <functional>
#include <stdexcept>
#include <vector>

namespace {

using store_test::StoreTest;

using table_test::messageOf;

// Counts the hooks so a test can tell whether connect or disconnect ran at all.
struct HookCounts {
    int beforeConnect = 0, afterConnect = 0, beforeDisconnect = 0, afterDisconnect = 0;
    void attach(TArcDatabase &db)
    {
        db.OnBeforeConnect = [this](TArcDatabase &) { ++beforeConnect; };
        db.OnAfterConnect = [this](TArcDatabase &) { ++afterConnect; };
        db.OnBeforeDisconnect = [this](TArcDatabase &) { ++beforeDisconnect; };
        db.OnAfterDisconnect = [this](TArcDatabase &) { ++afterDisconnect; };
    }
    int total() const { return beforeConnect + afterConnect + beforeDisconnect + afterDisconnect; }
};

// A table dataset as the connection sees it; it behaves like the real one in leaving its
// own list entry alone while the disconnect mark is set.
class FakeTable final : public TArcOpenTable {
public:
    FakeTable(TArcDatabase &db, std::vector<FakeTable *> &closed, bool failing)
        : m_db(db), m_closed(closed), m_failing(failing) {}
    void setClosingForDisconnect(bool closing) override { m_mark = closing; }
    void closeForDisconnect() override
    {
        markSeenAtClose = m_mark;
        listSizeAtClose = int(m_db.OpenTableList().size());
        m_closed.push_back(this);
        if (!m_mark)
            m_db.removeOpenTable(this);
        m_mark = false;
        if (m_failing)
            throw std::runtime_error("chiusura fallita");
    }
    void forceReadOnly() override { readOnly = true; }

    bool markSeenAtClose = false;
    int listSizeAtClose = -1;
    bool readOnly = false;

private:
    TArcDatabase &m_db;
    std::vector<FakeTable *> &m_closed;
    bool m_failing;
    bool m_mark = false;
};

class ConnectTest : public StoreTest {
protected:
    void SetUp() override
    {
        m_path = pathOf(QStringLiteral("tavorio.mdb"));
        store_test::makeArchive(m_path, QStringLiteral("segreta"), 4);
        m_db.setDatabase(m_path);
        m_db.setDatabasePassword(QStringLiteral("segreta"));
    }

    QString m_path;
    TArcDatabase m_db;
};

TEST_F(ConnectTest, ConnectAndDisconnectRunOnceEach)
{
    HookCounts hooks;
    hooks.attach(m_db);
    m_db.Close();
    EXPECT_EQ(hooks.total(), 0);

    m_db.Open();
    ASSERT_TRUE(m_db.Connected());
    EXPECT_EQ(m_db.DatabaseVersionInfo(), m_db.database()->Version());
    const auto engine = m_db.engineObject();
    m_db.setConnected(true);
    EXPECT_EQ(hooks.beforeConnect, 1);
    EXPECT_EQ(hooks.afterConnect, 1);
    EXPECT_EQ(m_db.engineObject(), engine);

    m_db.Close();
    m_db.Close();
    EXPECT_EQ(hooks.beforeDisconnect, 1);
    EXPECT_EQ(hooks.afterDisconnect, 1);
    EXPECT_FALSE(m_db.Connected());
    EXPECT_TRUE(m_db.TableNameList().isEmpty());
    EXPECT_EQ(m_db.engineObject(), engine); // engine and workspace stay after a disconnect
}

TEST_F(ConnectTest, EveryConnectStartsAFreshEngineAndClosesTheOldWorkspace)
{
    m_db.Open();
    const auto firstEngine = m_db.engineObject();
    const auto firstWorkspace = m_db.workspaceObject();
    m_db.Close();
    EXPECT_FALSE(firstWorkspace->isClosed());
    m_db.Open();
    EXPECT_NE(m_db.engineObject(), firstEngine);
    EXPECT_NE(m_db.workspaceObject(), firstWorkspace);
    EXPECT_TRUE(firstWorkspace->isClosed());
}

TEST_F(ConnectTest, EmptyPathOrTypeFailsBeforeAnyHook)
{
    HookCounts hooks;
    hooks.attach(m_db);
    m_db.setDatabase(QString());
    EXPECT_EQ(messageOf([&] { m_db.Open(); }),
              QStringLiteral("TArcDatabase.F_Set_Active: Database property is not defined!"));
    m_db.setDatabaseType(QString());
    m_db.setDatabase(m_path);
    EXPECT_EQ(messageOf([&] { m_db.Open(); }),
              QStringLiteral("TArcDatabase.F_Set_Active: DatabaseType property is not defined!"));
    EXPECT_EQ(hooks.total(), 0);
    EXPECT_FALSE(m_db.Connected());
}

TEST_F(ConnectTest, TypeIsComparedWithoutCase)
{
    m_db.setDatabaseType(QStringLiteral("aCCESS"));
    m_db.setDatabase(m_path);
    m_db.Open();
    EXPECT_TRUE(m_db.Connected());
}

TEST_F(ConnectTest, MissingFileIsLookedForBesideTheExecutable)
{
    const QString name = QStringLiteral("tavorio-%1.mdb").arg(QUuid::createUuid().toString(QUuid::Id128));
    const QString besideExe = platform::executableFolder() + name;
    store_test::makeArchive(besideExe, QStringLiteral("segreta"), 1);
    struct Cleanup {
        QString path;
        ~Cleanup() { platform::deleteFile(path); }
    } cleanup{besideExe};

    m_db.setDatabase(pathOf(name));
    m_db.Open();
    EXPECT_TRUE(m_db.Connected());
    EXPECT_EQ(m_db.Database(), besideExe);
}

TEST_F(ConnectTest, MissingEverywhereNamesThePathBesideTheExecutable)
{
    const QString name = QStringLiteral("assente-%1.mdb").arg(QUuid::createUuid().toString(QUuid::Id128));
    m_db.setDatabase(pathOf(name));
    const QString expected = platform::executableFolder() + name;
    EXPECT_EQ(messageOf([&] { m_db.Open(); }), QStringLiteral("Cannot find Database:\r\n") + expected);
    EXPECT_EQ(m_db.Database(), expected);
    EXPECT_FALSE(m_db.Connected());

    m_db.setSmartOpen(false);
    m_db.setDatabase(pathOf(name));
    EXPECT_EQ(messageOf([&] { m_db.Open(); }), QStringLiteral("Cannot find Database:\r\n") + pathOf(name));
}

TEST_F(ConnectTest, OdbcDirectWorkspaceIsRefusedForAccessFiles)
{
    m_db.setEngineType(1);
    EXPECT_EQ(messageOf([&] { m_db.Open(); }),
              QStringLiteral("TArcDatabase.F_Set_Active: ODBC direct workspaces\r\nare NOT supported for MS Access Databases!"));
    EXPECT_FALSE(m_db.Connected());
}

TEST_F(ConnectTest, ConnectText)
{
    m_db.setDatabasePassword(QString());
    EXPECT_EQ(m_db.connectText(), QStringLiteral(";UID=Admin;PWD=;"));
    m_db.setDatabasePassword(QStringLiteral("a%2b"));
    m_db.setDatabaseParameters(QStringLiteral("X=1"));
    EXPECT_EQ(m_db.connectText(), QStringLiteral(";UID=Admin;PWD=a%2b;X=1"));
}

TEST_F(ConnectTest, WrongPasswordPassesTheEngineErrorOn)
{
    EXPECT_EQ(m_db.LastEngineError().Number, 0);
    HookCounts hooks;
    hooks.attach(m_db);
    m_db.setDatabasePassword(QStringLiteral("sbagliata"));
    int number = 0;
    try {
        m_db.Open();
        ADD_FAILURE() << "connect succeeded";
    } catch (const dao::EngineError &error) {
        number = error.number();
        EXPECT_EQ(m_db.LastEngineError().Description, error.description());
    }
    EXPECT_NE(number, 0);
    EXPECT_EQ(m_db.LastEngineError().Number, number);
    EXPECT_FALSE(m_db.Connected());
    EXPECT_EQ(m_db.database(), nullptr);
    EXPECT_NE(m_db.workspace(), nullptr);
    m_db.Close();
    EXPECT_EQ(hooks.beforeDisconnect, 0);
    EXPECT_EQ(hooks.afterConnect, 0);

    m_db.setDatabasePassword(QStringLiteral("segreta"));
    m_db.Open();
    EXPECT_TRUE(m_db.Connected());
}

TEST_F(ConnectTest, DisconnectClosesEveryTableEvenWhenOneFails)
{
    m_db.Open();
    std::vector<FakeTable *> closed;
    std::vector<std::unique_ptr<FakeTable>> tables;
    for (int i = 0; i < 7; ++i) {
        tables.push_back(std::make_unique<FakeTable>(m_db, closed, i == 2));
        m_db.addOpenTable(QStringLiteral("Tabella%1").arg(i), tables.back().get());
    }
    m_db.Close();

    ASSERT_EQ(closed.size(), 7u);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(closed[size_t(i)], tables[size_t(i)].get()) << i;
        EXPECT_TRUE(tables[size_t(i)]->markSeenAtClose) << i;
        EXPECT_EQ(tables[size_t(i)]->listSizeAtClose, 7) << i;
    }
    EXPECT_TRUE(m_db.OpenTableList().isEmpty());
    EXPECT_FALSE(m_db.Connected());
}

TEST_F(ConnectTest, OpenTableListKeepsOrderAndReadOnlyReachesEveryTable)
{
    std::vector<FakeTable *> closed;
    FakeTable a(m_db, closed, false), b(m_db, closed, false), c(m_db, closed, false);
    m_db.addOpenTable(QStringLiteral("A"), &a);
    m_db.addOpenTable(QStringLiteral("B"), &b);
    m_db.addOpenTable(QStringLiteral("C"), &c);
    m_db.removeOpenTable(&b);
    ASSERT_EQ(m_db.OpenTableList().size(), 2);
    EXPECT_EQ(m_db.OpenTableList().at(0), qMakePair(QStringLiteral("A"), static_cast<TArcOpenTable *>(&a)));
    EXPECT_EQ(m_db.OpenTableList().at(1), qMakePair(QStringLiteral("C"), static_cast<TArcOpenTable *>(&c)));

    m_db.setReadOnly(true);
    EXPECT_TRUE(a.readOnly);
    EXPECT_TRUE(c.readOnly);
    EXPECT_FALSE(b.readOnly);
    m_db.removeOpenTable(&a);
    m_db.removeOpenTable(&c);
}

struct Refusal {
    const char *name;
    std::function<void(TArcDatabase &)> change;
    std::function<QString(const TArcDatabase &)> read;
    const char *message;
};

class RefusalTest : public ConnectTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusalTest, ChangeWhileConnectedIsRefusedAndChangesNothing)
{
    m_db.Open();
    const QString before = GetParam().read(m_db);
    EXPECT_EQ(messageOf([&] { GetParam().change(m_db); }), QString::fromLatin1(GetParam().message));
    EXPECT_EQ(GetParam().read(m_db), before);
    EXPECT_TRUE(m_db.Connected());
}

QString text(bool value) { return value ? QStringLiteral("1") : QStringLiteral("0"); }

INSTANTIATE_TEST_SUITE_P(
    Connected, RefusalTest,
    ::testing::Values(
        Refusal{"Database", [](TArcDatabase &d) { d.setDatabase(QStringLiteral("/altro.mdb")); },
                [](const TArcDatabase &d) { return d.Database(); },
                "TArcDatabase.F_Set_Database: Cannot set Database while Database is connected!"},
        Refusal{"DatabasePassword", [](TArcDatabase &d) { d.setDatabasePassword(QStringLiteral("x")); },
                [](const TArcDatabase &d) { return d.DatabasePassword(); },
                "TArcDatabase.F_Set_DatabasePassword: Cannot change Database Password while Database is connected!"},
        Refusal{"Exclusive", [](TArcDatabase &d) { d.setExclusive(true); },
                [](const TArcDatabase &d) { return text(d.Exclusive()); },
                "TArcDatabase.F_Set_Exclusive: Cannot change Exclusive mode while Database is connected!"},
        Refusal{"DatabaseParameters", [](TArcDatabase &d) { d.setDatabaseParameters(QStringLiteral("X=1")); },
                [](const TArcDatabase &d) { return d.DatabaseParameters(); },
                "TArcDatabase.F_Set_DatabaseParameters: Cannot set DatabaseParameters while Database is connected!"},
        Refusal{"ReadOnly", [](TArcDatabase &d) { d.setReadOnly(true); },
                [](const TArcDatabase &d) { return text(d.ReadOnly()); },
                "TArcDatabase.F_Set_ReadOnly: Cannot change mode while Database is connected!"},
        Refusal{"LoginPrompt", [](TArcDatabase &d) { d.setLoginPrompt(true); },
                [](const TArcDatabase &d) { return text(d.LoginPrompt()); },
                "TArcDatabase.F_Set_LoginPrompt: Cannot change LoginPrompt while Database is connected!"},
        Refusal{"DatabaseType", [](TArcDatabase &d) { d.setDatabaseType(QStringLiteral("ODBC")); },
                [](const TArcDatabase &d) { return d.DatabaseType() + u'|' + d.Database(); },
                "TArcDatabase.F_Set_DatabaseType: Cannot set Database Type while Database is connected!"},
        Refusal{"UserName", [](TArcDatabase &d) { d.setUserName(QStringLiteral("x")); },
                [](const TArcDatabase &d) { return d.UserName(); },
                "TArcDatabase.F_Set_UserName: Cannot change User Name while Database is connected!"},
        Refusal{"Password", [](TArcDatabase &d) { d.setPassword(QStringLiteral("x")); },
                [](const TArcDatabase &d) { return d.Password(); },
                "TArcDatabase.F_Set_Password: Cannot change Password while Database is connected!"},
        Refusal{"SystemDatabase", [](TArcDatabase &d) { d.setSystemDatabase(QStringLiteral("x.mdw")); },
                [](const TArcDatabase &d) { return d.SystemDatabase(); },
                "TArcDatabase.F_Set_SystemDatabase: Cannot set SystemDatabase while Database is connected!"},
        Refusal{"Version", [](TArcDatabase &d) { d.setVersion(QStringLiteral("3.5")); },
                [](const TArcDatabase &d) { return d.Version(); },
                "TArcDatabase.F_Set_DaoVersion: Cannot set Dao Version while Database is connected!"},
        Refusal{"Workspace", [](TArcDatabase &d) { d.setWorkspace(QStringLiteral("x")); },
                [](const TArcDatabase &d) { return d.Workspace(); },
                "TArcDatabase.F_Set_Workspace: Cannot set Workspace while Database is connected!"},
        Refusal{"EngineType", [](TArcDatabase &d) { d.setEngineType(1); },
                [](const TArcDatabase &d) { return QString::number(d.EngineType()); },
                "TArcDatabase.F_Set_EngineType: Cannot set EngineType Type while Database is connected!"},
        Refusal{"PrivateEngine", [](TArcDatabase &d) { d.setPrivateEngine(true); },
                [](const TArcDatabase &d) { return text(d.PrivateEngine()); },
                "TArcDatabase.F_Set_EngineType: Cannot set PrivateEngine Type while Database is connected!"},
        Refusal{"TrackTransactions", [](TArcDatabase &d) { d.setTrackTransactions(false); },
                [](const TArcDatabase &d) { return text(d.TrackTransactions()); },
                "Cannot set TrackTransactions property when Database is connected!"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ConnectTest, ChangeDatabasePasswordPreconditionsAndOutcome)
{
    EXPECT_EQ(messageOf([&] { m_db.ChangeDatabasePassword(QStringLiteral("segreta"), QStringLiteral("nuova")); }),
              QStringLiteral("Database is not connected!"));
    m_db.Open();
    EXPECT_EQ(messageOf([&] { m_db.ChangeDatabasePassword(QStringLiteral("segreta"), QStringLiteral("nuova")); }),
              QStringLiteral("Database must be opened in exclusive mode!"));
    m_db.Close();

    m_db.setExclusive(true);
    m_db.Open();
    EXPECT_FALSE(m_db.ChangeDatabasePassword(QStringLiteral("sbagliata"), QStringLiteral("nuova")));
    EXPECT_TRUE(m_db.ChangeDatabasePassword(QStringLiteral("segreta"), QStringLiteral("nuova")));
    m_db.Close();
    EXPECT_EQ(m_db.DatabasePassword(), QStringLiteral("segreta")); // the caller stores the new one
    m_db.setExclusive(false);
    EXPECT_THROW(m_db.Open(), dao::EngineError);
    m_db.setDatabasePassword(QStringLiteral("nuova"));
    m_db.Open();
    EXPECT_TRUE(m_db.Connected());
}

TEST_F(ConnectTest, CatalogueAndStoredQueries)
{
    m_db.setShowSystemObjects(true);
    m_db.Open();
    const QStringList everyTable = m_db.TableNameList();
    EXPECT_TRUE(everyTable.contains(store_test::RowTable));
    m_db.setShowSystemObjects(false);
    EXPECT_TRUE(m_db.TableNameList().contains(store_test::RowTable));
    for (const QString &name : m_db.TableNameList())
        EXPECT_TRUE(everyTable.contains(name)) << name.toStdString();

    const QString sql = QStringLiteral("Select * From [Voci] Where [Nome] = \"riga 1\";");
    EXPECT_TRUE(m_db.CreateQueryDefinition(QStringLiteral("Una"), sql));
    EXPECT_TRUE(m_db.QueryNameList().contains(QStringLiteral("Una")));
    EXPECT_EQ(m_db.GetQueryDefinitionSql(QStringLiteral("Una")), sql);
    const QString other = QStringLiteral("Select * From [Voci];");
    m_db.SetQueryDefinitionSql(QStringLiteral("Una"), other);
    EXPECT_EQ(m_db.GetQueryDefinitionSql(QStringLiteral("Una")), other);
    EXPECT_EQ(m_db.GetQueryDefinitionSql(QStringLiteral("Nessuna")), QString());

    m_db.Close();
    EXPECT_TRUE(m_db.TableNameList().isEmpty());
    EXPECT_TRUE(m_db.QueryNameList().isEmpty());
    EXPECT_NO_THROW(m_db.RefreshCatalogue());
    EXPECT_NO_THROW(m_db.IdleEngine());
}

} // namespace
