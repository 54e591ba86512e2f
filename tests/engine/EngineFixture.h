#pragma once
// A temporary folder with a small archive of one table, made through the engine itself.

#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "tests/support/PgTestServer.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

class EngineFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    dao::DBEngine engine;
    std::shared_ptr<dao::Workspace> ws = engine.CreateWorkspace("DaoWorkspace", "Admin", "", dao::dbUseJet);

    // An archive's location: a file in the test's folder, or in the server run a database
    // of the test server, the same one for the same name.
    QString path(const QString &name = QStringLiteral("tavorio.mdb")) const
    {
        QString &location = m_locations[name];
        if (location.isEmpty())
            location = testsupport::newArchiveLocation(dir.path(), name);
        return location;
    }

    static dao::TableSpec peopleSpec()
    {
        dao::TableSpec definition{QStringLiteral("Persone"), {}};
        definition.fields.push_back({"ID", dao::dbLong, 0, true});
        definition.fields.push_back({"Nome", dao::dbText, 20});
        definition.fields.push_back({"Eta", dao::dbInteger, 0});
        definition.fields.push_back({"Attivo", dao::dbBoolean, 0, false, false, {}, dao::Value(false)});
        definition.fields.push_back({"Nascita", dao::dbDate, 0, false, false, "Short Date"});
        definition.fields.push_back({"Note", dao::dbMemo, 0});
        return definition;
    }

    // Creates the archive with the given names, in this order, and closes it.
    void makeArchive(const QStringList &names, const QString &password = {}, const QString &file = {})
    {
        auto db = ws->CreateDatabase(file.isEmpty() ? path() : file, password);
        db->CreateTable(peopleSpec());
        auto rs = db->OpenRecordset("Persone");
        int age = 20;
        for (const QString &n : names) {
            rs->AddNew();
            rs->field("Nome").setValue(n);
            rs->field("Eta").setValue(age++);
            rs->Update();
        }
        db->Close();
    }

    std::shared_ptr<dao::Database> open(const QString &password = {}, bool exclusive = false)
    {
        return ws->OpenDatabase(path(), exclusive, false, ";UID=Admin;PWD=" + password + ";");
    }

    static QStringList names(dao::Recordset &rs)
    {
        QStringList out;
        if (rs.RecordCount() == 0)
            return out;
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
            out << rs.field("Nome").value().asText();
        return out;
    }

    mutable QHash<QString, QString> m_locations;

    QByteArray fileBytes(const QString &file) const
    {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
};

// Expects the call to fail with this engine error number.
#define EXPECT_ENGINE_ERROR(call, num)                                                        \
    do {                                                                                      \
        try {                                                                                 \
            call;                                                                             \
            ADD_FAILURE() << "no engine error from " #call;                                   \
        } catch (const dao::EngineError &e) {                                                 \
            EXPECT_EQ(e.number(), num) << e.description().toStdString();                      \
        }                                                                                     \
    } while (0)
