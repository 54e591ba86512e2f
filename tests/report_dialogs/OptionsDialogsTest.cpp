// Report options and page options: what each box sets, OK against Annulla, and a page set to
// A5 landscape in two columns as it comes out of the PDF.

#include "output/report/ui/dialogs/PageOptionsDialog.h"
#include "output/report/ui/dialogs/PaperSizes.h"
#include "output/report/ui/dialogs/ReportOptionsDialog.h"
#include "tests/report_dialogs/DialogTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QRadioButton>
#include <QSpinBox>

using namespace dialogtest;
using reporttest::addBand;
using reporttest::addBoundSource;
using reporttest::addMemo;

namespace {

class ReportOptionsTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        m_savedList = TqnReport::installedPrinters();
        m_savedSelect = ReportOptionsDialog::selectPrinter();
        TqnReport::installedPrinters() = [] { return QStringList{QStringLiteral("Alfa"), QStringLiteral("Beta")}; };
        m_report->setMessages(&m_messages);
    }
    void TearDown() override
    {
        TqnReport::installedPrinters() = m_savedList;
        ReportOptionsDialog::selectPrinter() = m_savedSelect;
        DialogFixture::TearDown();
    }
    std::function<QStringList()> m_savedList;
    std::function<bool(const QString &)> m_savedSelect;
};

TEST_F(ReportOptionsTest, EveryCombinationOfTheBoxesMapsOntoTheLayout)
{
    for (int bits = 0; bits < 16; ++bits) {
        const bool choose = bits & 1, twoPass = bits & 2, collate = bits & 4, repaginate = bits & 8;
        TqnLayout &layout = m_report->layout();
        layout.SystemPrinter = 0xFFFF;
        layout.TwoPass = layout.Collate = layout.Repaginate = 0;
        ReportOptionsDialog dialog(*m_report);
        EXPECT_FALSE(dialog.repaginate()->isEnabled());
        dialog.choosePrinter()->setChecked(choose);
        dialog.twoPass()->setChecked(twoPass);
        dialog.collate()->setChecked(collate);
        EXPECT_EQ(dialog.repaginate()->isEnabled(), collate);
        if (collate)
            dialog.repaginate()->setChecked(repaginate);
        const bool repaginated = collate && repaginate;
        // Repaginating checks and locks the two-pass box.
        EXPECT_EQ(dialog.twoPass()->isEnabled(), !repaginated) << bits;
        EXPECT_EQ(dialog.twoPass()->isChecked(), twoPass || repaginated) << bits;
        dialog.accept();
        EXPECT_EQ(layout.SystemPrinter, choose ? 0 : 0xFFFF) << bits;
        EXPECT_EQ(layout.TwoPass != 0, twoPass || repaginated) << bits;
        EXPECT_EQ(layout.Collate != 0, collate) << bits;
        EXPECT_EQ(layout.Repaginate != 0, repaginated) << bits;
    }
    // Clearing "Fascicola" clears and disables "Reimpagina", and frees "Report in due fasi".
    ReportOptionsDialog dialog(*m_report);
    dialog.collate()->setChecked(true);
    dialog.repaginate()->setChecked(true);
    dialog.collate()->setChecked(false);
    EXPECT_FALSE(dialog.repaginate()->isChecked());
    EXPECT_FALSE(dialog.repaginate()->isEnabled());
    EXPECT_TRUE(dialog.twoPass()->isEnabled());
}

TEST_F(ReportOptionsTest, AnnullaChangesNothingAndAPrinterThatCannotBeSelectedKeepsThePreviousOne)
{
    m_report->setSelectedPrinter(QStringLiteral("Alfa"));
    {
        ReportOptionsDialog dialog(*m_report);
        EXPECT_EQ(dialog.printers()->currentText(), QStringLiteral("Alfa"));
        dialog.choosePrinter()->setChecked(true);
        dialog.collate()->setChecked(true);
        dialog.printers()->setCurrentIndex(1);
        dialog.reject();
    }
    EXPECT_EQ(m_report->layout().SystemPrinter, 0xFFFF);
    EXPECT_EQ(m_report->layout().Collate, 0);
    EXPECT_EQ(m_report->selectedPrinter(), QStringLiteral("Alfa"));

    ReportOptionsDialog::selectPrinter() = [](const QString &name) { return name != QStringLiteral("Beta"); };
    ReportOptionsDialog dialog(*m_report);
    dialog.printers()->setCurrentText(QStringLiteral("Beta"));
    dialog.accept();
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].text, QStringLiteral("La stampante selezionata non è valida"));
    EXPECT_EQ(m_messages.shown[0].caption, QStringLiteral("Errore"));
    EXPECT_EQ(m_messages.shown[0].icon, TqnMessageIcon::Error);
    EXPECT_EQ(m_report->selectedPrinter(), QStringLiteral("Alfa"));
}

using PageOptionsTest = DialogFixture;

TEST_F(PageOptionsTest, AnnullaKeepsThePageAndOkStoresEveryField)
{
    TqnPage &page = m_report->layout().Pages.front();
    const TqnPage before = page;
    {
        PageOptionsDialog dialog(page);
        dialog.landscape()->setChecked(true);
        dialog.columns()->setValue(3);
        dialog.reject();
    }
    EXPECT_EQ(page.Paper, before.Paper);
    EXPECT_EQ(page.Columns, 1);

    PageOptionsDialog dialog(page);
    EXPECT_EQ(dialog.paper()->currentText(), QStringLiteral("A4"));
    EXPECT_FALSE(dialog.paperWidth()->isEnabled());
    dialog.paper()->setCurrentIndex(dialog.paper()->findData(kCustomPaper));
    ASSERT_TRUE(dialog.paperWidth()->isEnabled());
    dialog.paperWidth()->setValue(100.5);
    dialog.paperHeight()->setValue(150);
    dialog.margin(0)->setValue(12.3);
    dialog.marginsUnused()->setChecked(true);
    EXPECT_FALSE(dialog.margin(0)->isEnabled());
    dialog.printToPrevious()->setChecked(true);
    dialog.titleFirst()->setChecked(false);
    dialog.headerInTable()->setChecked(true);
    dialog.columnGap()->setValue(4);
    dialog.scale(2)->setChecked(true);
    dialog.accept();
    EXPECT_EQ(page.Paper.Size, kCustomPaper);
    EXPECT_EQ(page.Paper.Width, 1005);
    EXPECT_EQ(page.Paper.Height, 1500);
    EXPECT_EQ(page.Paper.Left, 123);
    EXPECT_FALSE(page.UseMargins);
    EXPECT_TRUE(page.PrintToPrevPage);
    EXPECT_FALSE(page.TitleBeforeHeader);
    EXPECT_TRUE(page.PrintHeaderInTable);
    EXPECT_EQ(page.ColumnGap, 40);
    EXPECT_EQ(page.ScaleMode, TqnScaleMode::smPageHeight);
}

TEST_F(PageOptionsTest, A5LandscapeInTwoColumnsPrintsTwoColumnsOnA5LandscapePages)
{
    openArchive(30);
    TqnPage &page = m_report->layout().Pages.front();
    addBand(page, TqnBandType::btMasterData, 0, 20, QStringLiteral("Fonte")).Width = 250;
    addMemo(page, 10, 0, 200, 20, QStringLiteral("Scheda [Protocollo]"));
    addBoundSource(m_report->layout(), QStringLiteral("Anagrafica"), QStringLiteral("Fonte"));

    PageOptionsDialog dialog(page);
    dialog.paper()->setCurrentText(QStringLiteral("A5"));
    dialog.landscape()->setChecked(true);
    dialog.columns()->setValue(2);
    dialog.columnGap()->setValue(10);
    dialog.accept();
    EXPECT_EQ(page.Paper.Size, 11);
    EXPECT_EQ(page.Paper.Width, 1480);
    EXPECT_EQ(page.Paper.Height, 2100);

    const QStringList pages = printToPdf(QStringLiteral("a5.pdf"));
    ASSERT_GE(pages.size(), 1);
    // 210 mm by 148 mm.
    const QStringList size = pdfPageSize(QStringLiteral("a5.pdf")).split(QStringLiteral(" x "));
    ASSERT_EQ(size.size(), 2);
    EXPECT_NEAR(size[0].toDouble(), 595.3, 1.0);
    EXPECT_NEAR(size[1].toDouble(), 419.5, 1.0);
    int cards = 0, pairedLines = 0;
    for (const QString &pageText : pages)
        for (const QString &line : pageText.split(QLatin1Char('\n'))) {
            const int onLine = int(line.count(QStringLiteral("Scheda")));
            cards += onLine;
            pairedLines += onLine == 2;
        }
    EXPECT_EQ(cards, 30);
    EXPECT_GT(pairedLines, 0);
}

} // namespace
