// An office sets its server up with one command on a fresh PostgreSQL cluster, then a desk
// starts the program from the folder the command wrote: it reaches the archive over TLS with
// the server's certificate checked and the login bound to the channel, as the desk role, which
// owns nothing. A second run leaves the set-up alone unless told to make it again, and then
// keeps the archive.

#include "CardPageTestSupport.h"

#include "forms/main/Tfrm_main.h"
#include "forms/pass1/Tfrm_pass.h"
#include "engine/pg/PgSession.h"
#include "tests/support/TestArchive.h"

#include <QLabel>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>

namespace {

const QString kDeskPassword = QStringLiteral("Sportello-Prova-31");

// A cluster of its own, started and stopped with the tests' server script.
class FreshCluster {
public:
    FreshCluster()
    {
        if (run(QStringLiteral("start")) != 0)
            return;
        QFile env(m_state.filePath(QStringLiteral("server.env")));
        if (!env.open(QIODevice::ReadOnly))
            return;
        for (const QByteArray &line : env.readAll().split('\n'))
            if (const qsizetype eq = line.indexOf('='); eq > 0)
                m_env.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
    }
    ~FreshCluster() { run(QStringLiteral("stop")); }
    bool running() const { return m_env.contains(QStringLiteral("PG_PORT")); }
    QString adminAddress() const
    {
        return QStringLiteral("postgresql://%1@/postgres?host=%2&port=%3&channel_binding=disable")
            .arg(m_env.value(QStringLiteral("PG_ADMIN")), m_env.value(QStringLiteral("PG_SOCKET")), m_env.value(QStringLiteral("PG_PORT")));
    }
    QString query(const QString &sql, const QString &database = QStringLiteral("postgres")) const
    {
        dao::ServerAddress address = dao::ServerAddress::parse(adminAddress());
        address.database = database;
        dao::pg::PgSession session;
        session.connect(address, {});
        return session.exec(sql).value(0, 0).asText();
    }

private:
    int run(const QString &command)
    {
        QProcess script;
        script.start(QStringLiteral(TAVORIO_SOURCE_DIR "/scripts/pg-test-server"), {command, m_state.path()});
        if (!script.waitForFinished(120000))
            script.kill();
        return script.exitStatus() == QProcess::NormalExit ? script.exitCode() : -1;
    }

    QTemporaryDir m_state;
    QHash<QString, QString> m_env;
};

class ServerPrepareTest : public cardtest::WindowTest {
protected:
    struct Result {
        int exitCode;
        QString out;
        QString err;
    };
    Result prepare(const FreshCluster &cluster, const QStringList &more = {})
    {
        QProcess cli;
        cli.start(testsupport::cliPath(),
                  QStringList{QStringLiteral("server-prepara"), QStringLiteral("--amministratore"), cluster.adminAddress(),
                              QStringLiteral("--nomi"), QStringLiteral("127.0.0.1,localhost"), QStringLiteral("--rete"),
                              QStringLiteral("127.0.0.1/32"), QStringLiteral("--ascolta"), QStringLiteral("127.0.0.1"),
                              QStringLiteral("--cartella"), m_folder.folder(), QStringLiteral("--password-stdin")}
                      + more);
        cli.write((kDeskPassword + u'\n').toUtf8());
        cli.closeWriteChannel();
        if (!cli.waitForFinished(300000))
            cli.kill();
        return {cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1, QString::fromUtf8(cli.readAllStandardOutput()),
                QString::fromUtf8(cli.readAllStandardError())};
    }
};

TEST_F(ServerPrepareTest, OneCommandThenADeskStartsFromTheFolderItWrote)
{
    const FreshCluster cluster;
    ASSERT_TRUE(cluster.running());
    const Result made = prepare(cluster);
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    EXPECT_FALSE(made.out.contains(QStringLiteral("Riavviate"))) << "the cluster already listened on 127.0.0.1";
    EXPECT_EQ(QDir(m_folder.folder()).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("tavorio.ini"), QStringLiteral("ufficio-ca.crt")}));

    apptest::ModalScript typing({[](QWidget *modal) {
        auto *prompt = qobject_cast<Tfrm_pass *>(modal);
        ASSERT_NE(prompt, nullptr);
        EXPECT_FALSE(prompt->label()->text().contains(QStringLiteral("non è protetto")));
        apptest::typeText(prompt, kDeskPassword);
        apptest::pressKey(prompt->pass(), Qt::Key_Return);
    }});
    {
        const std::unique_ptr<Tfrm_main> desk = start();
        EXPECT_TRUE(typing.finished());
        ASSERT_FALSE(desk->endRequested()) << m_messages.shown().join(u'\n').toStdString();
        EXPECT_TRUE(desk->Database().Connected());
        EXPECT_GT(desk->data().Fascia().recordCount(), 0) << "the archive's standard rows";
        EXPECT_EQ(cluster.query(QStringLiteral("SELECT string_agg(a.usename || ' ' || s.ssl, ',') FROM pg_stat_ssl s "
                                               "JOIN pg_stat_activity a ON a.pid = s.pid WHERE a.datname = 'tavorio'")),
                  QStringLiteral("sportello true"));
    }
    EXPECT_EQ(cluster.query(QStringLiteral("SELECT string_agg(DISTINCT tableowner, ',') FROM pg_tables WHERE schemaname = 'public'"),
                            QStringLiteral("tavorio")),
              QStringLiteral("tavorio_proprietario"));
    EXPECT_EQ(cluster.query(QStringLiteral("SELECT rolcanlogin::text FROM pg_roles WHERE rolname = 'tavorio_proprietario'")),
              QStringLiteral("false"));

    // Made again only when asked; the archive stays, the rules stay one block.
    const Result again = prepare(cluster);
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("--sovrascrivi"))) << again.err.toStdString();
    cluster.query(QStringLiteral("INSERT INTO \"Fascia\" (\"Fascia\") VALUES ('Prova')"), QStringLiteral("tavorio"));
    const Result redone = prepare(cluster, {QStringLiteral("--sovrascrivi")});
    ASSERT_EQ(redone.exitCode, 0) << redone.err.toStdString();
    EXPECT_EQ(cluster.query(QStringLiteral("SELECT count(*) FROM \"Fascia\" WHERE \"Fascia\" = 'Prova'"), QStringLiteral("tavorio")),
              QStringLiteral("1"));
    QFile hbaFile(cluster.query(QStringLiteral("SHOW hba_file")));
    ASSERT_TRUE(hbaFile.open(QIODevice::ReadOnly));
    const QString hba = QString::fromUtf8(hbaFile.readAll());
    EXPECT_EQ(hba.count(QStringLiteral("server-prepara: inizio")), 1);
}

} // namespace
