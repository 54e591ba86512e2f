#include "AppTestSupport.h"

#include "controls/TMessageBox.h"
#include "db/DatabaseError.h"
#include "engine/EngineError.h"
#include "forms/main/Tfrm_main.h"
#include "forms/pass1/Tfrm_pass.h"
#include "platform/FileOps.h"
#include "platform/NetworkFileSystem.h"
#include "tests/support/TestArchive.h"
#include "tests/support/ScopedHook.h"

#include <QLineEdit>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

using apptest::ErrorBoxRecorder;

struct FailureCase {
    const char *name;
    std::function<void()> raise;
    std::vector<QString> shown;
};

void PrintTo(const FailureCase &c, std::ostream *os) { *os << c.name; }

class MainWindowStartupErrorTest : public testing::TestWithParam<FailureCase> {};

TEST_P(MainWindowStartupErrorTest, ShowsTheErrorsOwnTextAndKeepsTheWindow)
{
    ErrorBoxRecorder errors;
    bool reachedAfterError = false;
    Tfrm_main window([&](Tfrm_main &) {
        GetParam().raise();
        reachedAfterError = true;
        return StartupOutcome::Continue;
    });

    EXPECT_EQ(errors.texts(), QStringList(GetParam().shown.begin(), GetParam().shown.end()));
    EXPECT_FALSE(reachedAfterError);
    EXPECT_FALSE(window.endRequested());
}

INSTANTIATE_TEST_SUITE_P(
    Errors, MainWindowStartupErrorTest,
    testing::Values(
        FailureCase{"DataLayer", [] { throw EDatabaseError(QStringLiteral("Cannot find Database:\r\n/x/tavorio.mdb")); },
                    {QStringLiteral("Cannot find Database:\r\n/x/tavorio.mdb")}},
        FailureCase{"Engine",
                    [] { throw dao::EngineError(dao::errFileNotFound, QStringLiteral("DAO.DBEngine"),
                                                QStringLiteral("Impossibile trovare il file")); },
                    {QStringLiteral("Impossibile trovare il file")}},
        FailureCase{"Other", [] { throw std::runtime_error("disco pieno"); }, {QStringLiteral("disco pieno")}},
        FailureCase{"SilentAbort", [] { throw EAbort(); }, {}}),
    [](const testing::TestParamInfo<FailureCase> &info) { return std::string(info.param.name); });

class MainWindowOutcomeTest : public testing::TestWithParam<StartupOutcome> {};

TEST_P(MainWindowOutcomeTest, EveryOutcomeButContinueEndsTheProgram)
{
    const Tfrm_main window([this](Tfrm_main &) { return GetParam(); });
    EXPECT_EQ(window.startupOutcome(), GetParam());
    EXPECT_EQ(window.endRequested(), GetParam() != StartupOutcome::Continue);
}

INSTANTIATE_TEST_SUITE_P(Outcomes, MainWindowOutcomeTest,
                         testing::Values(StartupOutcome::Continue, StartupOutcome::Cancelled,
                                         StartupOutcome::Refused, StartupOutcome::ConnectionFailed));

class MainWindowRealStartupTest : public testing::Test {
protected:
    QString file(const char *name) const { return m_folder.file(QString::fromLatin1(name)); }

    apptest::WorkingFolder m_folder;
    ErrorBoxRecorder m_errors;
};

TEST_F(MainWindowRealStartupTest, OpensUnprotectedArchiveAndClosingReleasesIt)
{
    testsupport::createArchive(file("tavorio.mdb"));
    Tfrm_main window;

    ASSERT_FALSE(window.endRequested());
    EXPECT_TRUE(window.Database().Connected());
    EXPECT_EQ(window.layoutIniPath(), m_folder.folder() + QStringLiteral("tavorio.ini"));
    EXPECT_TRUE(platform::fileExists(file("tavorio.ldb")));

    window.show();
    window.close();
    EXPECT_FALSE(window.Database().Connected());
    EXPECT_FALSE(platform::fileExists(file("tavorio.ldb")));
    EXPECT_TRUE(m_errors.texts().isEmpty());
}

TEST_F(MainWindowRealStartupTest, AsksThroughItsOwnPromptAndReleasesIt)
{
    const QString password = QStringLiteral("Pa55word");
    testsupport::createArchive(file("tavorio.mdb"), password);

    std::vector<QString> shownTexts;
    auto answer = [&](const QString &typed) {
        return [&, typed](QWidget *modal) {
            auto *prompt = qobject_cast<Tfrm_pass *>(modal);
            ASSERT_NE(prompt, nullptr);
            EXPECT_EQ(prompt->parentWidget()->objectName(), QStringLiteral("frm_main"));
            EXPECT_EQ(prompt->focusWidget(), prompt->pass());
            shownTexts.push_back(prompt->pass()->text());
            apptest::typeText(prompt, typed);
            apptest::pressKey(prompt, Qt::Key_Return);
        };
    };
    apptest::ModalScript script({answer(QStringLiteral("errata")), answer(password)});
    Tfrm_main window;

    EXPECT_EQ(script.handled(), 2);
    EXPECT_EQ(shownTexts, (std::vector<QString>{QString(), QString()}));
    EXPECT_TRUE(window.Database().Connected());
    EXPECT_TRUE(window.findChildren<Tfrm_pass *>().isEmpty());
    EXPECT_TRUE(m_errors.texts().isEmpty());
}

TEST_F(MainWindowRealStartupTest, ConnectionErrorGoesThroughTheMessageBoxAndEndsTheProgram)
{
    testsupport::createArchive(file("tavorio.mdb"));
    std::vector<TMessageBox::Request> shown;
    const TMessageBox::ScopedExecHook hook([&](const TMessageBox::Request &request) {
        shown.push_back(request);
        return true;
    });

    Tfrm_main window([this](Tfrm_main &w) {
        int connects = 0;
        w.Database().OnBeforeConnect = [this, connects](TArcDatabase &) mutable {
            if (++connects == 2)
                platform::deleteFile(file("tavorio.mdb"));
        };
        return Tfrm_main::realStartup(w);
    });

    EXPECT_EQ(window.startupOutcome(), StartupOutcome::ConnectionFailed);
    EXPECT_TRUE(window.endRequested());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, TMessageBox::Kind::Notice);
    EXPECT_EQ(shown[0].caption, QStringLiteral("Brunzel"));
    EXPECT_EQ(shown[0].text, QStringLiteral("   Errore di connessione al DB.   "));
    EXPECT_TRUE(m_errors.texts().isEmpty());
}

TEST_F(MainWindowRealStartupTest, ArchiveInANetworkFolderIsNamedBeforeConnectingAndStillOpens)
{
    testsupport::createArchive(file("tavorio.mdb"));
    std::optional<testsupport::ScopedHook<std::function<std::optional<QString>(const QString &)>>> network;
    network.emplace(platform::networkFileSystemOverride(), [this](const QString &path) -> std::optional<QString> {
        return path == file("tavorio.mdb") ? std::optional<QString>(QStringLiteral("cifs")) : std::nullopt;
    });
    int connects = 0;
    std::vector<int> connectsAtMessage;
    std::vector<TMessageBox::Request> shown;
    const TMessageBox::ScopedExecHook hook([&](const TMessageBox::Request &request) {
        shown.push_back(request);
        connectsAtMessage.push_back(connects);
        return true;
    });

    Tfrm_main window([&](Tfrm_main &w) {
        w.Database().OnBeforeConnect = [&](TArcDatabase &) { ++connects; };
        return Tfrm_main::realStartup(w);
    });
    network.reset();

    EXPECT_EQ(window.startupOutcome(), StartupOutcome::Continue);
    EXPECT_TRUE(window.Database().Connected());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, TMessageBox::Kind::Notice);
    EXPECT_EQ(shown[0].caption, QStringLiteral("Brunzel"));
    EXPECT_TRUE(shown[0].text.startsWith(QStringLiteral("   L'archivio si trova in una cartella di rete (cifs).")))
        << shown[0].text.toStdString();
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("\"Più postazioni: l'archivio su un server\"")));
    EXPECT_EQ(connectsAtMessage, std::vector<int>{0});
    EXPECT_TRUE(m_errors.texts().isEmpty());
}

} // namespace
