// The templates supplied in data/word, filled from a demo card: every placeholder of a field
// is gone and the card's values are there. Where LibreOffice is installed the documents are
// also turned into PDF and read back as a reader would see them, and a .doc made from a
// supplied template fills like the others.

#include "WordTestSupport.h"

#include "output/word/CardPlaceholders.h"
#include "tests/support/Processes.h"

#include <QDir>
#include <QStandardPaths>

namespace {

const QString kSupplied = QStringLiteral(TAVORIO_SOURCE_DIR "/data/word");

const QStringList kFields{"ID_SCHEDA", "Protocollo", "Fascia", "Referente", "Capofamiglia", "Indirizzo",
                          "Citta", "Telefono", "Cellulare", "Email", "Paese_di_origine", "Figli_in_patria",
                          "Scad_ISEE", "Nucleo", "Abitazione", "G1", "G2", "G3", "G4", "G5", "G6", "G6_altri",
                          "Inizio", "Necessita_alimentari", "Note", "Ascolto"};

// A demo card's value texts, as the button hands them over.
std::vector<std::pair<QString, QString>> demoCard()
{
    const QStringList values{"41", "41/24", "B", "Don Franco", "Haddad Karim", "Via dei Mille 7", "Brescia",
                             "030 445566", "333 1234567", "karim@example.org", "Marocco", "2", "31/03/2025",
                             "Haddad Karim - Capofamiglia\rSalma - Madre\rYoussef - Figlio\r", "Affitto",
                             "True", "False", "True", "False", "False", "True", "Emporio solidale",
                             "15/01/2024", "Pacchi senza glutine", "Cerca lavoro come magazziniere\r\nHa la patente B",
                             "Colloquio del 12/02"};
    std::vector<std::pair<QString, QString>> card;
    for (qsizetype i = 0; i < kFields.size(); ++i)
        card.emplace_back(QLatin1Char('[') + kFields[i] + QLatin1Char(']'), word::documentValueText(values[i]));
    return card;
}

class SuppliedTemplates : public wordtest::WordTest {
protected:
    QStringList supplied() const { return QDir(kSupplied).entryList(QDir::Files, QDir::Name); }

    // Fills the template and writes the document into the "pronti" folder under `name`.
    QString fillInto(const QString &templatePath, const QString &name)
    {
        QDir().mkpath(m_dir.filePath(QStringLiteral("pronti")));
        const QString path = m_dir.filePath(QStringLiteral("pronti/") + name);
        wordtest::writeFile(path, fill(templatePath, demoCard()));
        return path;
    }

    static bool runOffice(const QString &folder, const QStringList &args)
    {
        testsupport::ProcessOptions options;
        options.workDir = folder;
        return testsupport::runProcess(QStringLiteral("soffice"),
                                       QStringList{QStringLiteral("-env:UserInstallation=file://") + folder
                                                       + QStringLiteral("/profilo"),
                                                   QStringLiteral("--headless"), QStringLiteral("--norestore")}
                                           + args,
                                       options)
                   .exitCode
            == 0;
    }
};

TEST_F(SuppliedTemplates, EveryPlaceholderIsReplacedByTheCardsValues)
{
    ASSERT_EQ(supplied().size(), 3);
    for (const QString &name : supplied()) {
        const QString text = wordtest::documentText(wordtest::readFile(fillInto(kSupplied + QLatin1Char('/') + name, name)));
        for (const QString &field : kFields)
            EXPECT_FALSE(text.contains(QLatin1Char('[') + field + QLatin1Char(']'), Qt::CaseInsensitive))
                << name.toStdString() << ": " << field.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Haddad Karim"))) << name.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("41/24"))) << name.toStdString();
    }
    const QString sheet = wordtest::documentText(wordtest::readFile(m_dir.filePath(QStringLiteral("pronti/Scheda famiglia.odt"))));
    EXPECT_TRUE(sheet.contains(QStringLiteral("\nHaddad Karim - Capofamiglia\nSalma - Madre\nYoussef - Figlio\n")))
        << wordtest::show(sheet);
    EXPECT_TRUE(sheet.contains(QStringLiteral("\nCerca lavoro come magazziniere\nHa la patente B\n")));
}

TEST_F(SuppliedTemplates, FilledDocumentsReadAsExpectedOncePrinted)
{
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    const QString work = m_dir.path();
    // A .doc template, as an office may still have them, made from a supplied one.
    ASSERT_TRUE(runOffice(work, {"--convert-to", "doc", "--outdir", work, kSupplied + "/Autodichiarazione.docx"}));
    QStringList made;
    for (const QString &name : supplied())
        made << fillInto(kSupplied + QLatin1Char('/') + name, name);
    made << fillInto(work + QStringLiteral("/Autodichiarazione.doc"), QStringLiteral("Da doc.docx"));
    ASSERT_TRUE(runOffice(work, QStringList{"--convert-to", "pdf", "--outdir", work + "/pdf"} + made));

    for (const QString &document : made) {
        const QString pdf = work + QStringLiteral("/pdf/") + QFileInfo(document).completeBaseName() + QStringLiteral(".pdf");
        const QString printed = testsupport::outputOf(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        EXPECT_TRUE(printed.contains(QStringLiteral("Haddad Karim"))) << pdf.toStdString();
        EXPECT_TRUE(printed.contains(QStringLiteral("41/24"))) << pdf.toStdString();
        EXPECT_FALSE(printed.contains(QStringLiteral("[Capofamiglia]"))) << pdf.toStdString();
        EXPECT_FALSE(printed.contains(QStringLiteral("[G"))) << pdf.toStdString();
    }
}

} // namespace
