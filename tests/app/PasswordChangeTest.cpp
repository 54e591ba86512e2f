// Setting, changing and removing the archive password on real archives: what reaches the
// file, what the next start asks, what the user is told, and that the program goes on
// connected whatever happened. A second user is this test program run again as a child
// process (TAVORIO_PASSWORD_CHILD = "archive|password|ready file|release file").

#include "AppTestSupport.h"
#include "ConfigTestSupport.h"

#include "db/TField.h"
#include "forms/main/PasswordChange.h"
#include "forms/main/Tfrm_main.h"
#include "session/ProcessValues.h"
#include "store/TArcDatabase.h"
#include "tests/support/Processes.h"
#include "tests/support/TestArchive.h"

#include <QCheckBox>
#include <QFile>
#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

namespace {

const char *const kChildVariable = "TAVORIO_PASSWORD_CHILD";
const QString kOld = QStringLiteral("Vecchia");
const QString kNew = QStringLiteral("Nuova parola 2");

using testsupport::touch;
using testsupport::waitForFile;

TEST(PasswordChangeChild, DISABLED_HoldsTheArchiveOpen)
{
    const QStringList task = qEnvironmentVariable(kChildVariable).split(u'|');
    ASSERT_EQ(task.size(), 4) << "run by the password change tests";
    TArcDatabase db;
    db.setDatabase(task[0]);
    db.setDatabasePassword(task[1]);
    db.Open();
    ASSERT_TRUE(touch(task[2]));
    EXPECT_TRUE(waitForFile(task[3]));
    db.Close();
}

// The plain SQLite client, which knows nothing of encryption: its exit code and output.
std::pair<int, QString> plainClient(const QString &archive)
{
    const testsupport::ProcessResult client =
        testsupport::runProcess(QStringLiteral("sqlite3"), {archive, QStringLiteral("SELECT count(*) FROM Anagrafica;")});
    return {client.exitCode, client.outText().trimmed()};
}

class PasswordChangeTest : public testing::Test {
protected:
    QString archive() const { return m_folder.file(QStringLiteral("tavorio.mdb")); }

    void expectWorking(Tfrm_main &window, const QString &password)
    {
        EXPECT_EQ(ProcessValues::archivePassword(), password);
        EXPECT_EQ(window.Database().DatabasePassword(), password);
        EXPECT_TRUE(window.Database().Connected());
        EXPECT_FALSE(window.Database().Exclusive());
        TMainData &d = window.data();
        for (TArcTable *t : {&d.Anagrafica(), &d.Nucleo(), &d.Fascia(), &d.Ruolo(), &d.Occupazione(), &d.stampe(),
                             &d.Gruppi()})
            EXPECT_TRUE(t->active()) << t->name().toStdString();
    }

    apptest::WorkingFolder m_folder;
    configtest::Messages m_messages;
};

// One archive through its whole life: set, refused twice, changed, removed, with a restart
// after each change, and not a byte of a card or member lost on the way.
TEST_F(PasswordChangeTest, SetChangeAndRemoveKeepEveryRowAndTheNextStartFollows)
{
    testsupport::createArchive(archive());
    const auto rows = configtest::cardRows(archive(), {});
    const QByteArray someCard = rows.at(QStringLiteral("Anagrafica")).at(0).at(4).asText().toUtf8();
    auto window = configtest::startProgram();
    ASSERT_TRUE(apptest::readAll(archive()).contains(someCard));

    configtest::changePassword(*window, {}, kOld);
    expectWorking(*window, kOld);
    const QByteArray encrypted = apptest::readAll(archive());
    for (const auto &[table, tableRows] : rows)
        for (const auto &row : tableRows)
            for (const dao::Value &value : row)
                if (value.isText() && value.asText().size() >= 5)
                    EXPECT_FALSE(encrypted.contains(value.asText().toUtf8())) << value.asText().toStdString();
    EXPECT_NE(plainClient(archive()).first, 0);
    EXPECT_EQ(configtest::cardRows(archive(), kOld), rows);

    window.reset();
    window = configtest::startProgram(kOld);   // fails unless the prompt appears
    const QByteArray beforeRefusals = apptest::readAll(archive());
    configtest::changePassword(*window, QStringLiteral("vecchia"), kNew);
    configtest::changePassword(*window, kOld, kNew, kNew + u' ');
    EXPECT_EQ(apptest::readAll(archive()), beforeRefusals);
    configtest::changePassword(*window, kOld, kNew);
    expectWorking(*window, kNew);
    EXPECT_FALSE(configtest::opensWith(archive(), kOld));
    EXPECT_EQ(configtest::cardRows(archive(), kNew), rows);

    window.reset();
    window = configtest::startProgram(kNew);
    configtest::changePassword(*window, kNew, {});
    expectWorking(*window, {});
    EXPECT_EQ(plainClient(archive()), std::make_pair(0, QString::number(rows.at(QStringLiteral("Anagrafica")).size())));
    EXPECT_EQ(configtest::cardRows(archive(), {}), rows);
    window.reset();
    window = configtest::startProgram();   // fails on any prompt

    EXPECT_EQ(m_messages.texts(),
              (QStringList{PasswordChange::changedText(), PasswordChange::wrongOldPasswordText(),
                           PasswordChange::differentNewPasswordsText(), PasswordChange::changedText(),
                           PasswordChange::changedText()}));
    EXPECT_TRUE(m_messages.errors().isEmpty());
}

// The archive's storage decides the steps: a file is reopened alone for the change, then
// shared again (the server's counterpart is in ServerArchiveTest).
TEST_F(PasswordChangeTest, TheFileIsReopenedAloneForTheChangeThenShared)
{
    testsupport::createArchive(archive(), kOld);
    auto window = configtest::startProgram(kOld);
    QList<bool> exclusiveConnects;
    window->Database().OnBeforeConnect = [&](TArcDatabase &db) { exclusiveConnects << db.Exclusive(); };

    configtest::changePassword(*window, kOld, kNew);

    EXPECT_EQ(exclusiveConnects, (QList<bool>{true, false}));
    EXPECT_EQ(m_messages.texts(), QStringList{PasswordChange::changedText()});
    expectWorking(*window, kNew);
}

TEST_F(PasswordChangeTest, AnotherUserInsideMakesItFailAndTheOldPasswordStays)
{
    testsupport::createArchive(archive(), kOld);
    auto window = configtest::startProgram(kOld);
    const QString ready = m_folder.file(QStringLiteral("pronto"));
    const QString release = m_folder.file(QStringLiteral("via"));
    testsupport::ChildProcess other = testsupport::ChildProcess::rerun(
        QStringLiteral("PasswordChangeChild.*"), kChildVariable, QStringList{archive(), kOld, ready, release}.join(u'|'));
    ASSERT_TRUE(waitForFile(ready, &other));

    configtest::changePassword(*window, kOld, kNew);

    EXPECT_EQ(m_messages.texts(), QStringList{PasswordChange::failedText()});
    expectWorking(*window, kOld);
    TArcTable &cards = window->data().Anagrafica();
    cards.edit();
    cards.fieldByName(QStringLiteral("Citta"))->setAsString(QStringLiteral("Dopo l'errore"));
    cards.post();

    touch(release);
    EXPECT_EQ(other.wait(), 0);
    EXPECT_TRUE(configtest::opensWith(archive(), kOld));
    EXPECT_EQ(configtest::cardRows(archive(), kOld).at(QStringLiteral("Anagrafica")).at(0).at(6).asText(),
              QStringLiteral("Dopo l'errore"));
    // Alone again, the same change goes through.
    configtest::changePassword(*window, kOld, kNew);
    EXPECT_EQ(m_messages.texts().last(), PasswordChange::changedText());
}

class PasswordChangeReopenTest : public PasswordChangeTest, public testing::WithParamInterface<bool> {};

// Each pick list is filled right after its table and the captions come last, the same
// whether the change went through or not.
TEST_P(PasswordChangeReopenTest, ReopensTheTablesInOrderAndRereadsListsAndCaptions)
{
    testsupport::createArchive(archive());
    auto window = configtest::startProgram();
    TMainData &d = window->data();
    for (auto [table, field] : {std::pair{&d.Ruolo(), "Ruolo"}, {&d.Occupazione(), "Occupazione"}, {&d.Gruppi(), "Gruppo"}}) {
        table->edit();
        table->fieldByName(QString::fromLatin1(field))->setAsString(QStringLiteral("Nuovo"));
        table->post();
    }
    QStringList events;
    for (TArcTable *t : {&d.Anagrafica(), &d.Nucleo(), &d.Fascia(), &d.Ruolo(), &d.Occupazione(), &d.stampe(), &d.Gruppi()}) {
        t->AfterOpen = [&events, &w = *window](TDataSet &opened) {
            events << QStringLiteral("%1 %2%3 %4").arg(opened.name()).arg(w.listaRuolo().first() == "Nuovo")
                          .arg(w.listaOccupazione().first() == "Nuovo").arg(w.ck(1)->text());
        };
    }
    TArcDatabase holder;   // makes the exclusive open fail
    holder.setDatabase(archive());
    if (!GetParam())
        holder.Open();

    configtest::changePassword(*window, {}, kNew);

    EXPECT_EQ(events, (QStringList{"Fascia 00 Caritas", "Anagrafica 00 Caritas", "Nucleo 00 Caritas",
                                   "Ruolo 00 Caritas", "Occupazione 10 Caritas", "stampe 11 Caritas",
                                   "Gruppi 11 Caritas"}));
    EXPECT_EQ(window->ck(1)->text(), QStringLiteral("Nuovo"));
    EXPECT_EQ(d.Gruppi().recNo(), 1);
    expectWorking(*window, GetParam() ? kNew : QString());
}

INSTANTIATE_TEST_SUITE_P(Outcomes, PasswordChangeReopenTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool> &info) { return info.param ? "Changed" : "Failed"; });

} // namespace
