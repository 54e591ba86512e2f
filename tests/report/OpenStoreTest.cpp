// OpenLayout and StoreLayout: file names, folders, errors, and what a load replaces.

#include "output/report/file/LayoutReader.h"
#include "platform/CrashPoints.h"
#include "tests/report/ReportTestSupport.h"
#include "tests/support/Processes.h"
#include "tests/support/ScopedHook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace reporttest;

namespace {

class OpenStoreTest : public ArchiveReportFixture {
protected:
    void SetUp() override
    {
        ArchiveReportFixture::SetUp();
        m_savedFolder = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
    }
    void TearDown() override
    {
        QDir::setCurrent(m_savedFolder);
        ArchiveReportFixture::TearDown();
    }
    // A one-band layout over Anagrafica, its entry named `entry` with this filter.
    void saveLayout(const QString &file, const QString &entry, const QString &filter, int marker)
    {
        m_report->ResetLayout();
        TqnPage &page = m_report->layout().Pages.front();
        addBand(page, TqnBandType::btMasterData, 0, 20, entry);
        addMemo(page, 0, 0, 100, 20, QStringLiteral("x"), QStringLiteral("M%1").arg(marker));
        TqnDBDataSet &source = addBoundSource(m_report->layout(), QStringLiteral("Anagrafica"), entry);
        source.Filtered = true;
        source.Filter = filter;
        m_report->StoreLayout(file);
    }
    QString errorOf(const std::function<void()> &f)
    {
        try {
            f();
        } catch (const EReportError &e) {
            return e.message();
        }
        return QString();
    }

    QString m_savedFolder;
};

TEST_F(OpenStoreTest, ExtensionRulesOfLoadAndSave)
{
    openArchive(1);
    saveLayout(QStringLiteral("elenco"), QStringLiteral("S"), QString(), 1);
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("elenco.qnf"))));
    EXPECT_EQ(m_report->layout().FileName, QStringLiteral("elenco.qnf"));
    saveLayout(QStringLiteral("altro.QNF"), QStringLiteral("S"), QString(), 2);
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("altro.QNF"))));
    saveLayout(QStringLiteral("terzo.txt"), QStringLiteral("S"), QString(), 3);
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("terzo.txt.qnf"))));

    m_report->OpenLayout(QStringLiteral("elenco"));
    EXPECT_EQ(m_report->layout().Pages.front().Objects.back()->Name, QStringLiteral("M1"));
    m_report->OpenLayout(QStringLiteral("altro.QNF"));
    EXPECT_EQ(m_report->layout().FileName, QStringLiteral("altro.QNF"));
    m_report->OpenLayout(path(QStringLiteral("terzo.txt")));
    EXPECT_EQ(m_report->layout().FileName, QStringLiteral("terzo.txt.qnf"));
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(OpenStoreTest, MissingFileIsAnErrorAndKeepsTheLayoutHeld)
{
    openArchive(1);
    saveLayout(QStringLiteral("elenco"), QStringLiteral("S"), QString(), 1);
    const QString error = errorOf([&] { m_report->OpenLayout(QStringLiteral("manca")); });
    EXPECT_EQ(error, QStringLiteral("Si è tentato di caricare da disco il report 'frm_main.qnReport1'. \r\n"
                                    "Ma il file 'manca.qnf' è inesistente"));
    EXPECT_EQ(m_report->layout().FileName, QStringLiteral("elenco.qnf"));
    EXPECT_EQ(m_report->layout().DataSets.count(), 1);
    EXPECT_EQ(QDir::currentPath(), QDir(m_dir.path()).absolutePath());
}

TEST_F(OpenStoreTest, SecondLayoutsSameNamedEntriesAreInForce)
{
    openArchive(1);
    saveLayout(QStringLiteral("a"), QStringLiteral("Schede"), QStringLiteral("Protocollo = 'A'"), 1);
    saveLayout(QStringLiteral("b"), QStringLiteral("Schede"), QStringLiteral("Protocollo = 'B'"), 2);
    m_report->OpenLayout(QStringLiteral("a"));
    m_report->OpenLayout(QStringLiteral("b"));
    ASSERT_EQ(m_report->layout().DataSets.count(), 1);
    auto *entry = qobject_cast<TqnDBDataSet *>(m_report->layout().DataSets.find(QStringLiteral("schede")));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Filter, QStringLiteral("Protocollo = 'B'"));
}

TEST_F(OpenStoreTest, UnknownComponentWarnsAtLoadAndEndsBuilding)
{
    openArchive(1);
    saveLayout(QStringLiteral("a"), QStringLiteral("Schede"), QString(), 1);
    QFile file(path(QStringLiteral("a.qnf")));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    bytes.replace("frm_main.Anagrafica", "frm_xxxx.Anagrafica");
    file.seek(0);
    file.write(bytes);
    file.close();

    m_report->OpenLayout(QStringLiteral("a"));
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].text, QStringLiteral("Non è stato trovato il qnDataset: frm_xxxx.Anagrafica"));
    EXPECT_EQ(m_messages.shown[0].icon, TqnMessageIcon::Warning);

    int previews = 0;
    {
        const testsupport::ScopedHook previewHook(TqnReport::previewHook(), [&](TqnReport &) { ++previews; });
        m_report->RunPreview();
    }
    EXPECT_EQ(previews, 0);
    EXPECT_EQ(m_messages.beeps, 1);
    ASSERT_EQ(m_messages.shown.size(), 2u);
    EXPECT_EQ(m_messages.shown[1].text,
              QStringLiteral("Si è verificato un errore durante la fase di preparazione\r"
                             "Non è stato trovato il qnDataset: Schede\rBanda: Dati principali\rPagina: 1"));
    EXPECT_TRUE(m_report->preparedPages().isEmpty());
    EXPECT_TRUE(m_report->preparationError().isEmpty());
}

TEST_F(OpenStoreTest, ReportDirIsTheOnlyFolder)
{
    openArchive(1);
    QDir(m_dir.path()).mkdir(QStringLiteral("stampe"));
    m_report->ReportDir = path(QStringLiteral("stampe"));
    saveLayout(QStringLiteral("elenco"), QStringLiteral("S"), QString(), 1);
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("stampe/elenco.qnf"))));
    EXPECT_EQ(errorOf([&] { m_report->StoreLayout(path(QStringLiteral("fuori.qnf"))); }),
              QStringLiteral("Si è tentato di salvare il report \"frm_main.qnReport1\" in una cartella non valida.\r\n"
                             "E' possibile salvare il report solo nella cartella:  \"%1\"").arg(m_report->ReportDir));
    EXPECT_EQ(errorOf([&] { m_report->OpenLayout(path(QStringLiteral("fuori"))); }),
              QStringLiteral("Si è tentato di caricare il report \"frm_main.qnReport1\" da una cartella non valida.\r\n"
                             "E' possibile caricare il report solo dalla cartella:  \"%1\"").arg(m_report->ReportDir));
    m_report->ResetLayout();
    m_report->OpenLayout(QStringLiteral("elenco"));
    EXPECT_EQ(m_report->layout().FileName, QStringLiteral("elenco.qnf"));
}

TEST_F(OpenStoreTest, FailedSaveLeavesTheEarlierFileWhole)
{
    openArchive(1);
    saveLayout(QStringLiteral("elenco"), QStringLiteral("S"), QString(), 1);
    QFile old(path(QStringLiteral("elenco.qnf")));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    const QByteArray before = old.readAll();
    old.close();
    // The process dies with half the new layout written.
    m_report->layout().Pages.front().Objects.back()->Name = QStringLiteral("Nuovo");
    EXPECT_EQ(testsupport::ChildProcess::fork([&] {
                  platform::armCrashPoint("store-layout-half-written");
                  m_report->StoreLayout(QStringLiteral("elenco"));
                  return 0;
              }).wait(),
              77);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), before);
    old.close();

    // A save that cannot create its file reports it.
    const QString error = errorOf([&] { m_report->StoreLayout(path(QStringLiteral("manca/elenco"))); });
    EXPECT_EQ(error, QStringLiteral("Si è verificato un errore durante la fase di salvataggio del report"));
}

TEST_F(OpenStoreTest, ResetLeavesOneEmptyA4PageAndAllPrinterBits)
{
    openArchive(1);
    saveLayout(QStringLiteral("elenco"), QStringLiteral("S"), QString(), 1);
    m_report->layout().TwoPass = 1;
    m_report->layout().Collate = 1;
    m_report->ResetLayout();
    const TqnLayout &layout = m_report->layout();
    ASSERT_EQ(layout.Pages.size(), 1u);
    EXPECT_TRUE(layout.Pages.front().Objects.empty());
    EXPECT_EQ(layout.Pages.front().Paper, TqnPaper());
    EXPECT_EQ(layout.SystemPrinter, 0xFFFF);
    EXPECT_EQ(layout.TwoPass, 0);
    EXPECT_EQ(layout.Collate, 0);
    EXPECT_EQ(layout.DataSets.count(), 0);
    EXPECT_TRUE(layout.FileName.isEmpty());
}

} // namespace
