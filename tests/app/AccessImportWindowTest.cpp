// The import of an Access archive from the program: the first-start window's choice, with
// the Access file's password asked (a wrong one refused, the window staying open) and the
// report shown; and the start-up finding an Access tavorio.mdb in its folder, importing it on
// the user's word and keeping the Access file beside as tavorio_access.mdb.

#include "app/AccessImportRun.h"
#include "app/FirstStart.h"
#include "controls/TMessageBox.h"
#include "forms/avvio/Tfrm_avvio.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/AccessTestFiles.h"
#include "tools/cli/ArchiveCheck.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kPassword = QStringLiteral("Ufficio 2000");

qint64 cardsIn(const QString &archive, const QString &password)
{
    const cli::CheckReport report = cli::ArchiveCheck(archive, password).run();
    return report.counts.empty() ? -1 : report.counts.front().rows;
}

class AccessImportWindow : public testing::Test {
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QString accessFile(const QString &password)
    {
        testsupport::AccessDatabase db = testsupport::sampleArchive();
        db.options.password = password;
        const QString file = path(QStringLiteral("vecchio/tavorio.mdb"));
        QDir().mkpath(QFileInfo(file).absolutePath());
        EXPECT_TRUE(testsupport::writeAccessFile(file, db));
        return file;
    }

    QTemporaryDir m_dir;
    QStringList m_notices;
    bool m_answer = true;
    const TMessageBox::ScopedExecHook m_hook{[this](const TMessageBox::Request &request) {
        m_notices << request.text;
        return m_answer;
    }};
};

TEST_F(AccessImportWindow, TheFirstStartWindowImportsIntoANewFolderAfterThePassword)
{
    const QString access = accessFile(kPassword);
    const QByteArray before = apptest::readAll(access);
    QStringList given{QStringLiteral("sbagliata"), kPassword};
    app::FirstStartPlaces places{{}, path(QStringLiteral("demo"))};
    places.prompt = [&given](QWidget *, const QString &) -> std::optional<QString> { return given.takeFirst(); };
    Tfrm_avvio window(path(QStringLiteral("Documenti/Tavorio")),
                      [&places](const FirstStartChoice &choice) { return app::carryOutFirstStart(choice, places); });
    places.window = &window;
    apptest::ModalScript script({[&](QWidget *) {
        window.importa()->click();
        EXPECT_TRUE(window.cartellaNuova()->isEnabled());
        EXPECT_TRUE(window.fileAccess()->isEnabled());
        window.fileAccess()->setText(QDir::toNativeSeparators(access));
        window.avanti()->click();   // the wrong password: refused, the window stays
        ASSERT_EQ(m_notices.size(), 1);
        EXPECT_TRUE(m_notices.front().contains(QStringLiteral("Password del file Access"))) << m_notices.front().toStdString();
        EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("Documenti/Tavorio/tavorio.mdb"))));
        window.avanti()->click();
    }});
    const QString folder = window.ask();

    ASSERT_EQ(folder, path(QStringLiteral("Documenti/Tavorio/")));
    ASSERT_EQ(m_notices.size(), 2);
    EXPECT_TRUE(m_notices.back().contains(QStringLiteral("righe lette"))) << m_notices.back().toStdString();
    // The new archive has the Access file's password, and its cards.
    EXPECT_GT(cardsIn(folder + QStringLiteral("tavorio.mdb"), kPassword), 0);
    EXPECT_EQ(apptest::readAll(access), before);
}

TEST_F(AccessImportWindow, AtStartAnAccessArchiveIsImportedOnlyWhenTheUserSaysYes)
{
    const QString access = accessFile({});
    const QByteArray before = apptest::readAll(access);
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QFileInfo(access).absolutePath()));

    m_answer = false;
    EXPECT_EQ(app::offerAccessImportAtStart(), std::optional<int>(0));
    ASSERT_EQ(m_notices.size(), 1);
    EXPECT_TRUE(m_notices.front().contains(QStringLiteral("è un archivio Access"))) << m_notices.front().toStdString();
    EXPECT_EQ(apptest::readAll(access), before);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("vecchio/tavorio_access.mdb"))));

    m_answer = true;
    EXPECT_EQ(app::offerAccessImportAtStart(), std::nullopt);
    EXPECT_EQ(apptest::readAll(path(QStringLiteral("vecchio/tavorio_access.mdb"))), before);
    EXPECT_GT(cardsIn(access, {}), 0);
    // The archive is Tavorio's now: the next start goes on without a word.
    const qsizetype said = m_notices.size();
    EXPECT_EQ(app::offerAccessImportAtStart(), std::nullopt);
    EXPECT_EQ(m_notices.size(), said);
    QDir::setCurrent(previous);
}

} // namespace
