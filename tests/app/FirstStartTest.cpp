// The application folder of an installed program: which source wins, and the first-start
// window carrying out each answer with the supplied files copied where they are missing.

#include "app/ApplicationFolder.h"
#include "app/FirstStart.h"
#include "controls/TMessageBox.h"
#include "forms/avvio/Tfrm_avvio.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/TestArchive.h"
#include "tools/cli/ArchiveCheck.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

using app::FolderSource;

TEST(ApplicationFolderChoice, OptionThenEnvironmentThenRememberedThenFirstStart)
{
    const QTemporaryDir withArchive;
    testsupport::createArchive(withArchive.filePath(QStringLiteral("tavorio.mdb")), {}, 0);
    const QTemporaryDir empty;
    const auto choose = [](QString option, QString environment, QString remembered, bool installed) {
        return app::chooseApplicationFolder({option, environment, remembered, installed});
    };
    const QString kept = withArchive.path();

    EXPECT_EQ(choose("/a", "/b", kept, true).source, FolderSource::Option);
    EXPECT_EQ(choose("/a", "/b", kept, true).folder, QStringLiteral("/a"));
    EXPECT_EQ(choose({}, "/b", kept, true).folder, QStringLiteral("/b"));
    EXPECT_EQ(choose({}, {}, kept, true).source, FolderSource::Remembered);
    EXPECT_EQ(choose({}, {}, kept, true).folder, kept);
    // A remembered folder that lost its archive (a share not mounted) is asked for again.
    EXPECT_EQ(choose({}, {}, empty.path(), true).source, FolderSource::FirstStart);
    EXPECT_EQ(choose({}, {}, empty.path(), true).unreachable, empty.path());
    EXPECT_TRUE(choose({}, {}, {}, true).unreachable.isEmpty());
    EXPECT_EQ(choose({}, {}, {}, true).source, FolderSource::FirstStart);
    // From a build tree the working folder stays, whatever was remembered.
    EXPECT_EQ(choose({}, {}, kept, false).source, FolderSource::WorkingFolder);
    EXPECT_EQ(choose("/a", {}, {}, false).source, FolderSource::Option);
}

TEST(ApplicationFolderChoice, TheCommandLineTakesOnlyTheFolderOption)
{
    EXPECT_EQ(app::folderOption({"tavorio"}), QString());
    EXPECT_EQ(app::folderOption({"tavorio", "--cartella", "/uffici/schede"}), QStringLiteral("/uffici/schede"));
    EXPECT_EQ(app::folderOption({"tavorio", "--cartella=/x y"}), QStringLiteral("/x y"));
    EXPECT_THROW(app::folderOption({"tavorio", "--cartella"}), std::invalid_argument);
    EXPECT_THROW(app::folderOption({"tavorio", "--cartella="}), std::invalid_argument);
    EXPECT_THROW(app::folderOption({"tavorio", "archivio.mdb"}), std::invalid_argument);
}

TEST(ApplicationFolderChoice, TheChosenFolderIsRememberedInTheUsersConfiguration)
{
    const QTemporaryDir config;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    app::rememberFolder(QStringLiteral("/srv/ufficio/schede"));
    EXPECT_EQ(app::rememberedFolder(), QStringLiteral("/srv/ufficio/schede"));
    EXPECT_TRUE(QFileInfo::exists(config.filePath(QStringLiteral("tavorio/avvio.ini"))));
}

class FirstStartWindow : public testing::Test {
protected:
    FirstStartWindow()
    {
        write(QStringLiteral("fornito/stampe/elenco.qnf"), "elenco fornito");
        write(QStringLiteral("fornito/word/Lettera.docx"), "lettera fornita");
        write(QStringLiteral("fornito/manuale.pdf"), "manuale fornito");
        m_places = {path(QStringLiteral("fornito")), path(QStringLiteral("demo"))};
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    void write(const QString &name, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        apptest::writeFile(path(name), bytes);
    }

    // Shows the window; `answer` fills it in and presses "Avanti" (maybe more than once).
    QString run(const std::function<void(Tfrm_avvio &)> &answer, const QString &unreachable = {})
    {
        Tfrm_avvio window(
            path(QStringLiteral("Documenti/Tavorio")),
            [this](const FirstStartChoice &choice) { return app::carryOutFirstStart(choice, m_places); }, nullptr,
            unreachable);
        apptest::ModalScript script({[&](QWidget *) { answer(window); }});
        return window.ask();
    }

    QTemporaryDir m_dir;
    app::FirstStartPlaces m_places;
    QStringList m_notices;
    const TMessageBox::ScopedExecHook m_hook{[this](const TMessageBox::Request &request) {
        m_notices << request.text;
        return true;
    }};
};

TEST_F(FirstStartWindow, ANewEmptyArchiveIsMadeInTheDefaultFolderWithTheSuppliedFiles)
{
    const QString folder = run([](Tfrm_avvio &window) { window.avanti()->click(); });

    EXPECT_EQ(folder, path(QStringLiteral("Documenti/Tavorio/")));
    EXPECT_TRUE(m_notices.isEmpty()) << m_notices.join('\n').toStdString();
    EXPECT_NO_THROW(cli::ArchiveCheck(folder + QStringLiteral("tavorio.mdb"), {}).run());
    EXPECT_EQ(apptest::readAll(folder + QStringLiteral("stampe/elenco.qnf")), "elenco fornito");
    EXPECT_EQ(apptest::readAll(folder + QStringLiteral("word/Lettera.docx")), "lettera fornita");
    EXPECT_EQ(apptest::readAll(folder + QStringLiteral("manuale.pdf")), "manuale fornito");

    // A second new archive in the same folder would hide the first: refused, the window stays.
    const QByteArray archive = apptest::readAll(folder + QStringLiteral("tavorio.mdb"));
    const QString again = run([](Tfrm_avvio &window) {
        window.avanti()->click();
        window.reject();
    });
    EXPECT_TRUE(again.isEmpty());
    ASSERT_EQ(m_notices.size(), 1);
    EXPECT_TRUE(m_notices.front().contains(QStringLiteral("c'è già un archivio")));
    EXPECT_EQ(apptest::readAll(folder + QStringLiteral("tavorio.mdb")), archive);
}

TEST_F(FirstStartWindow, AnExistingFolderMustHoldAnArchiveAndKeepsTheUsersOwnFiles)
{
    QDir().mkpath(path(QStringLiteral("ufficio")));
    testsupport::createArchive(path(QStringLiteral("ufficio/tavorio.mdb")), {}, 2);
    write(QStringLiteral("ufficio/stampe/elenco.qnf"), "elenco modificato dall'ufficio");

    const QString folder = run([this](Tfrm_avvio &window) {
        window.esistente()->setChecked(true);
        EXPECT_FALSE(window.cartellaNuova()->isEnabled());
        window.cartellaEsistente()->setText(path(QStringLiteral("vuota")));
        window.avanti()->click();
        window.cartellaEsistente()->setText(path(QStringLiteral("ufficio")));
        window.avanti()->click();
    });

    EXPECT_EQ(folder, path(QStringLiteral("ufficio/")));
    ASSERT_EQ(m_notices.size(), 1);
    EXPECT_TRUE(m_notices.front().contains(QStringLiteral("non c'è l'archivio tavorio.mdb")));
    EXPECT_EQ(apptest::readAll(folder + QStringLiteral("stampe/elenco.qnf")), "elenco modificato dall'ufficio");
    EXPECT_EQ(apptest::readAll(folder + QStringLiteral("word/Lettera.docx")), "lettera fornita");
}

// The office share is not mounted: the window names it with "Riprova" chosen, so Enter
// creates nothing; once the share is back, Enter opens it.
TEST_F(FirstStartWindow, AnUnreachableFolderIsNamedAndRetriedBeforeAnythingIsCreated)
{
    const QString share = path(QStringLiteral("condivisa"));
    const QString folder = run(
        [&](Tfrm_avvio &window) {
            const auto *missing = window.findChild<QLabel *>(QStringLiteral("lb_irraggiungibile"));
            ASSERT_NE(missing, nullptr);
            EXPECT_TRUE(missing->text().startsWith(QStringLiteral("La cartella \"%1\" non è raggiungibile").arg(share)));
            ASSERT_NE(window.riprova(), nullptr);
            EXPECT_TRUE(window.riprova()->isChecked());
            EXPECT_FALSE(window.nuovo()->isChecked());
            EXPECT_LT(window.riprova()->y(), window.nuovo()->y());
            apptest::pressKey(window.riprova(), Qt::Key_Return);
            EXPECT_TRUE(window.isVisible());
            QDir().mkpath(share);
            testsupport::createArchive(share + QStringLiteral("/tavorio.mdb"), {}, 1);
            apptest::pressKey(window.riprova(), Qt::Key_Return);
        },
        share);

    EXPECT_EQ(folder, share + QLatin1Char('/'));
    ASSERT_EQ(m_notices.size(), 1);
    EXPECT_TRUE(m_notices.front().contains(QStringLiteral("non è ancora raggiungibile"))) << m_notices.front().toStdString();
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("Documenti"))));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("demo"))));
    EXPECT_EQ(apptest::readAll(folder + QStringLiteral("manuale.pdf")), "manuale fornito");
}

TEST_F(FirstStartWindow, TheDemoArchiveIsMadeOnceAndKept)
{
    const QString folder = run([](Tfrm_avvio &window) {
        window.demo()->setChecked(true);
        window.avanti()->click();
    });
    EXPECT_EQ(folder, path(QStringLiteral("demo/")));
    EXPECT_GT(cli::ArchiveCheck(folder + QStringLiteral("tavorio.mdb"), {}).run().counts.front().rows, 0);

    const QByteArray archive = apptest::readAll(folder + QStringLiteral("tavorio.mdb"));
    run([](Tfrm_avvio &window) {
        window.demo()->setChecked(true);
        window.avanti()->click();
    });
    EXPECT_EQ(apptest::readAll(folder + QStringLiteral("tavorio.mdb")), archive);
}

} // namespace
