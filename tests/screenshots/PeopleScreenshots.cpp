// Pictures of the password window of a server archive ("Utente" and "Password"), of
// "Storia della scheda" over a file archive with a few changes, and of "Persone" over an
// archive on the test server (when one runs: TAVORIO_TEST_PG_DIR), for people to look at.

#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/People.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "forms/main/CardHistoryDialog.h"
#include "forms/main/PeopleDialog.h"
#include "forms/pass1/Tfrm_pass.h"
#include "store/TArcDatabase.h"
#include "tests/app/AppTestSupport.h"
#include "tests/screenshots/Screenshots.h"
#include "tests/support/PgTestServer.h"
#include "tests/support/TestArchive.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void save(QWidget &window, const char *name)
{
    screenshots::settle();
    window.grab().save(screenshots::folder() + u'/' + QLatin1String(name));
}

void change(const QString &location, const QString &password, const char *field, const QString &value)
{
    dao::DBEngine engine;
    auto ws = engine.CreateWorkspace(QStringLiteral("prova"), QStringLiteral("Admin"), {}, dao::dbUseJet);
    auto db = ws->OpenDatabase(location, false, false, QStringLiteral(";UID=Admin;PWD=%1;").arg(password));
    auto rs = db->OpenRecordset(QStringLiteral("Select * From [Anagrafica] Where [ID_SCHEDA] = 1;"));
    rs->Edit();
    rs->field(QLatin1String(field)).setValue(dao::Value(value));
    rs->Update();
    db->Close();
}

TEST(PeopleScreenshots, PasswordWindowHistoryAndPeople)
{
    Tfrm_pass prompt;
    prompt.askForServer(QStringLiteral("postgresql://sportello@server-ufficio/tavorio"), true, QStringLiteral("anna"));
    {
        apptest::ModalScript script({[&](QWidget *modal) {
            save(*modal, "password-server.png");
            prompt.reject();
        }});
        prompt.askPassword();
    }

    QTemporaryDir dir;
    const QString archive = dir.filePath(QStringLiteral("tavorio.mdb"));
    testsupport::createArchive(archive, {}, 3);
    change(archive, {}, "Telefono", QStringLiteral("0461 123456"));
    change(archive, {}, "Capofamiglia", QStringLiteral("ROSSI MARIO"));
    TArcDatabase file;
    file.setDatabase(archive);
    file.Open();
    CardHistoryDialog history(file, 1, QDate::currentDate());
    history.show();
    save(history, "storia-scheda.png");
    history.close();
    file.Close();

    if (!testsupport::pgAvailable())
        GTEST_SKIP() << "no test server for \"Persone\"";
    const QString suffix = QString::number(QCoreApplication::applicationPid());
    const QString database = QStringLiteral("foto_persone_") + suffix;
    const QString maker = QStringLiteral("coordinatrice_") + suffix;
    testsupport::pgAdminQuery(QStringLiteral("CREATE ROLE %1 LOGIN CREATEROLE PASSWORD 'Parola-1'").arg(maker));
    testsupport::pgAdminQuery(QStringLiteral("CREATE DATABASE %1 OWNER %2 ENCODING 'UTF8' LC_CTYPE 'C.UTF-8' "
                                             "LC_COLLATE 'C.UTF-8' TEMPLATE template0").arg(database, maker));
    const QString address = testsupport::pgRoleAddress(maker, database);
    testsupport::createArchive(address, QStringLiteral("Parola-1"), 2);
    TArcDatabase server;
    server.setDatabase(address);
    server.setDatabasePassword(QStringLiteral("Parola-1"));
    server.Open();
    const QStringList people{QStringLiteral("anna_") + suffix, QStringLiteral("bruno_") + suffix};
    dao::ArchivePeople(*server.database()).add(people[0], dao::PersonRole::Operatore, QStringLiteral("Parola-2"));
    dao::ArchivePeople(*server.database()).add(people[1], dao::PersonRole::Responsabile, QStringLiteral("Parola-3"));
    dao::ArchivePeople(*server.database()).setEnabled(people[0], false);
    {
        PeopleDialog dialog(server);
        dialog.show();
        save(dialog, "persone.png");
        dialog.close();
    }
    server.Close();
    testsupport::pgAdminQuery(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(database));
    for (const QString &role : people + QStringList{database + QStringLiteral("_responsabile"),
                                                    database + QStringLiteral("_operatore"), maker})
        testsupport::pgAdminQuery(QStringLiteral("DROP ROLE IF EXISTS %1").arg(role));
}

} // namespace
