// Button "Produce documento Word": the chooser in the word folder, the current card's fill,
// the document handed to the desktop, "ultimo.doc" kept as the user last saved the document,
// and the notice when the template cannot be used.

#include "CardPageTestSupport.h"

#include "output/word/DocumentWindow.h"
#include "tests/support/DocumentFiles.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

namespace {

using cardtest::household;
using cardtest::member;

const QString kNotice = QStringLiteral("   Impossibile collegarsi a Microsoft Word !   ");

class WordCommandTest : public cardtest::WindowTest {
protected:
    void SetUp() override
    {
        cli::Household rossi = household(QStringLiteral("12/24"), QStringLiteral("Rossi Mario"));
        rossi.gruppi = {true, false, true, false, false, false};
        rossi.scadIsee = cli::engineDate(2025, 3, 31);
        rossi.note = QStringLiteral("Prima riga\r\nseconda riga");
        rossi.members = {member(QStringLiteral("Maria"), QStringLiteral("Madre"), QStringLiteral("Casalinga")),
                         member(QStringLiteral("Luca"), QStringLiteral("Figlio"), QStringLiteral("Studente"))};
        cardtest::createArchive(archive(), {rossi, household(QStringLiteral("13/24"), QStringLiteral("Bianchi Anna"))});
        QDir().mkpath(file("word"));
        for (const QString &name : QDir(QStringLiteral(TAVORIO_SOURCE_DIR "/data/word")).entryList(QDir::Files))
            QFile::copy(QStringLiteral(TAVORIO_SOURCE_DIR "/data/word/") + name, file("word/") + name);
    }

    std::unique_ptr<Tfrm_main> startForWord()
    {
        auto window = start();
        WordCommand &command = window->wordCommand();
        command.setOpener([this](const QString &path) {
            m_opened << path;
            return true;
        });
        command.setDocumentFolder(file("mostrati"));
        return window;
    }

    QStringList m_opened;
};

TEST_F(WordCommandTest, TheChosenTemplateIsFilledWithTheCurrentCardAndKeptAsUltimoDoc)
{
    auto window = startForWord();
    const QString templatePath = file("word/Scheda famiglia.odt");
    const QByteArray templateBytes = apptest::readAll(templatePath);
    QString shownFolder;
    QStringList filters;
    {
        apptest::ModalScript script({[&](QWidget *modal) {
            auto *chooser = qobject_cast<QFileDialog *>(modal);
            ASSERT_NE(chooser, nullptr);
            shownFolder = chooser->directory().absolutePath();
            filters = chooser->nameFilters();
            chooser->selectFile(templatePath);
            QMetaObject::invokeMethod(chooser, "accept");
        }});
        window->barButton(Tfrm_main::cmdWord)->click();
        EXPECT_EQ(script.handled(), 1);
    }
    EXPECT_EQ(shownFolder, QDir(file("word")).absolutePath());
    EXPECT_EQ(filters, QStringList{QStringLiteral("Word (*.doc* *.odt *.ott)")});
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_TRUE(m_opened.front().endsWith(QStringLiteral(".odt")));
    EXPECT_EQ(testsupport::modeOf(m_opened.front()), 0600);
    EXPECT_EQ(testsupport::modeOf(file("mostrati")), 0700);

    // The hand-over counts as the first close: the document as made becomes "ultimo.doc".
    QCoreApplication::processEvents();
    const QByteArray ultimo = apptest::readAll(file("ultimo.doc"));
    ASSERT_FALSE(ultimo.isEmpty());
    EXPECT_EQ(ultimo, apptest::readAll(m_opened.front()));
    EXPECT_EQ(testsupport::modeOf(file("ultimo.doc")), 0600);
    const QString text = testsupport::documentText(ultimo);
    EXPECT_TRUE(text.contains(QStringLiteral("Scheda della famiglia Rossi Mario"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nMaria - Madre\nLuca - Figlio\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nPrima riga\nseconda riga\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("31/03/2025")));
    EXPECT_EQ(text.count(QStringLiteral("\nX\n")), 2) << text.toStdString();   // G1 and G3 only
    EXPECT_FALSE(text.contains(QStringLiteral("[Capofamiglia]")) || text.contains(QStringLiteral("[G2]")));
    EXPECT_EQ(apptest::readAll(templatePath), templateBytes);
    EXPECT_TRUE(m_messages.shown().isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // A save made by the user in the word processor is what "ultimo.doc" holds next.
    const QByteArray edited = apptest::readAll(file("word/Autodichiarazione.docx"));
    apptest::writeFile(m_opened.front(), edited);
    window->wordCommand().WordDocument1()->window()->checkForSave();
    EXPECT_EQ(apptest::readAll(file("ultimo.doc")), edited);
}

TEST_F(WordCommandTest, EachNewDocumentOverwritesUltimoDoc)
{
    auto window = startForWord();
    QString chosen = file("word/Lettera di convocazione.docx");
    window->wordCommand().setChooser([&chosen](QWidget *, const QString &) { return chosen; });
    window->barButton(Tfrm_main::cmdWord)->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(testsupport::documentText(apptest::readAll(file("ultimo.doc"))).contains(QStringLiteral("Gentile Rossi Mario,")));

    window->data().Anagrafica().next();
    chosen = file("word/Autodichiarazione.docx");
    window->barButton(Tfrm_main::cmdWord)->click();
    QCoreApplication::processEvents();
    ASSERT_EQ(m_opened.size(), 2);
    EXPECT_NE(m_opened[0], m_opened[1]);
    const QString text = testsupport::documentText(apptest::readAll(file("ultimo.doc")));
    EXPECT_TRUE(text.contains(QStringLiteral("Il/la sottoscritto/a Bianchi Anna,"))) << text.toStdString();
}

TEST_F(WordCommandTest, AnUnusableTemplateGivesTheNoticeAndWritesNothing)
{
    auto window = startForWord();
    apptest::writeFile(file("word/rotto.docx"), "PK\x03\x04 non proprio un documento");
    window->wordCommand().setChooser([this](QWidget *, const QString &) { return file("word/rotto.docx"); });
    window->barButton(Tfrm_main::cmdWord)->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(m_messages.shown(), QStringList{kNotice});
    EXPECT_TRUE(m_opened.isEmpty());
    EXPECT_FALSE(QFile::exists(file("ultimo.doc")));
    EXPECT_FALSE(QDir(file("mostrati")).exists());
}

TEST_F(WordCommandTest, CancellingTheChooserDoesNothing)
{
    auto window = startForWord();
    window->wordCommand().setChooser([](QWidget *, const QString &) { return QString(); });
    window->barButton(Tfrm_main::cmdWord)->click();
    EXPECT_TRUE(m_messages.shown().isEmpty());
    EXPECT_TRUE(m_opened.isEmpty());
    EXPECT_EQ(window->wordCommand().WordApplication1(), nullptr);
}

} // namespace

TEST_F(WordCommandTest, ADocumentNoApplicationOpensIsToldWithItsPlaceAndCanBeCopied)
{
    auto window = startForWord();
    const QString copy = file("copie/Scheda Rossi.odt");
    QDir().mkpath(file("copie"));
    QString suggested;
    window->wordCommand().setOpener([this](const QString &path) {
        m_opened << path;
        return false;
    });
    window->wordCommand().setCopyPicker([&](QWidget *, const QString &proposed) {
        suggested = proposed;
        return copy;
    });
    window->wordCommand().setChooser([this](QWidget *, const QString &) { return file("word/Scheda famiglia.odt"); });
    m_messages.answer({true});
    window->barButton(Tfrm_main::cmdWord)->click();
    QCoreApplication::processEvents();

    ASSERT_EQ(m_opened.size(), 1);
    ASSERT_EQ(m_messages.shown().size(), 1);
    EXPECT_TRUE(m_messages.shown().front().contains(QStringLiteral("Nessun programma ha aperto il documento.")));
    EXPECT_TRUE(m_messages.shown().front().contains(m_opened.front())) << m_messages.shown().front().toStdString();
    EXPECT_TRUE(suggested.endsWith(QFileInfo(m_opened.front()).fileName()));
    EXPECT_EQ(apptest::readAll(copy), apptest::readAll(m_opened.front()));
    // The close handler ran as usual.
    EXPECT_EQ(apptest::readAll(file("ultimo.doc")), apptest::readAll(m_opened.front()));

    // Saying no copies nothing.
    m_messages.answer({false});
    window->barButton(Tfrm_main::cmdWord)->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(m_messages.shown().size(), 2);
    EXPECT_EQ(QDir(file("copie")).entryList(QDir::Files).size(), 1);

    // A copy that cannot be made (the shown document gone meanwhile) is said, and the copy
    // it would have replaced stays as it was.
    const QByteArray earlier = apptest::readAll(copy);
    window->wordCommand().setOpener([this](const QString &path) {
        m_opened << path;
        QFile::remove(path);
        return false;
    });
    m_messages.answer({true});
    window->barButton(Tfrm_main::cmdWord)->click();
    QCoreApplication::processEvents();
    ASSERT_GE(m_messages.shown().size(), 4);
    EXPECT_TRUE(m_messages.shown().back().contains(QStringLiteral("Impossibile salvare la copia"))) << m_messages.shown().back().toStdString();
    EXPECT_EQ(apptest::readAll(copy), earlier);
    EXPECT_EQ(QDir(file("copie")).entryList(QDir::Files | QDir::Hidden).size(), 1);
}
