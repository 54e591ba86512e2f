// Variables, templates and the wizard: each makes a layout that prints what was chosen.

#include "output/report/ui/dialogs/TemplateDialogs.h"
#include "output/report/ui/dialogs/VariablesDialog.h"
#include "output/report/ui/dialogs/WizardDialog.h"
#include "db/TField.h"
#include "tests/report_dialogs/DialogTestSupport.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTreeWidget>

using namespace dialogtest;
using reporttest::addBand;
using reporttest::addMemo;

namespace {

using VariablesTest = DialogFixture;

TEST_F(VariablesTest, VariablesBoundToAFieldAndAnExpressionPrintTheirValues)
{
    openArchive(1);
    TqnLayout &layout = m_report->layout();
    {
        VariablesDialog dialog(*m_report);
        dialog.addCategory(QStringLiteral("Scheda"));
        dialog.addVariable(QStringLiteral("Capo"));
        dialog.binding()->setCurrentIndex(VariablesDialog::Field);
        dialog.reject();
    }
    EXPECT_TRUE(layout.Values.items().empty());

    VariablesDialog dialog(*m_report);
    ASSERT_TRUE(dialog.addVariable(QStringLiteral("Libera")));
    ASSERT_TRUE(dialog.addCategory(QStringLiteral("Scheda")));
    ASSERT_TRUE(dialog.addVariable(QStringLiteral("Capo")));
    EXPECT_FALSE(dialog.addVariable(QStringLiteral("CAPO")));   // names are unique without regard to case
    dialog.binding()->setCurrentIndex(VariablesDialog::Field);
    dialog.dataSet()->setCurrentText(QStringLiteral("Anagrafica"));
    dialog.field()->setCurrentText(QStringLiteral("Capofamiglia"));
    ASSERT_TRUE(dialog.addVariable(QStringLiteral("Somma")));
    dialog.binding()->setCurrentIndex(VariablesDialog::Expression);
    dialog.expression()->setText(QStringLiteral("40 + 2"));
    emit dialog.expression()->textEdited(dialog.expression()->text());
    ASSERT_TRUE(dialog.addVariable(QStringLiteral("Pagina")));
    dialog.binding()->setCurrentIndex(VariablesDialog::System);
    ASSERT_TRUE(dialog.addVariable(QStringLiteral("Via")));
    dialog.removeCurrent();
    dialog.accept();

    EXPECT_EQ(layout.VariableList, (QStringList{QStringLiteral("Libera"), QStringLiteral(" Scheda"), QStringLiteral("Capo"),
                                                QStringLiteral("Somma"), QStringLiteral("Pagina")}));
    const TqnVariable *capo = layout.Values.find(QStringLiteral("capo"));
    ASSERT_TRUE(capo);
    EXPECT_EQ(capo->Kind, TqnVariableKind::vkField);
    EXPECT_EQ(capo->DataSet, QStringLiteral("Anagrafica"));
    EXPECT_EQ(capo->Field, QStringLiteral("Capofamiglia"));
    EXPECT_EQ(layout.Values.find(QStringLiteral("Pagina"))->Text, QStringLiteral("PAGE#"));

    // Opened again the editor shows the same tree and bindings.
    VariablesDialog again(*m_report);
    QTreeWidgetItem *somma = again.tree()->findItems(QStringLiteral("Somma"), Qt::MatchExactly | Qt::MatchRecursive).value(0);
    ASSERT_TRUE(somma);
    EXPECT_EQ(somma->parent()->text(0), QStringLiteral("Scheda"));
    again.tree()->setCurrentItem(somma);
    EXPECT_EQ(again.expression()->text(), QStringLiteral("40 + 2"));
    again.accept();
    EXPECT_EQ(layout.Values.find(QStringLiteral("Somma"))->Text, QStringLiteral("40 + 2"));

    TqnPage &page = layout.Pages.front();
    addBand(page, TqnBandType::btReportTitle, 0, 30);
    addMemo(page, 10, 0, 600, 20, QStringLiteral("[Capo] [Somma] [Pagina]"));
    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    m_data->Anagrafica().first();
    EXPECT_TRUE(printedTexts().contains(
        m_data->Anagrafica().fieldByName(QStringLiteral("Capofamiglia"))->asString() + QStringLiteral(" 42 1")));
}

using TemplateTest = DialogFixture;

TEST_F(TemplateTest, ATemplateSavedWithDescriptionAndPictureMakesTheNextLayout)
{
    m_report->TemplateDir = path(QStringLiteral("modelli"));
    QDir().mkpath(m_report->TemplateDir);
    TqnPage &page = m_report->layout().Pages.front();
    page.Paper.Orientation = 1;
    addBand(page, TqnBandType::btReportTitle, 0, 30);
    addMemo(page, 10, 0, 600, 20, QStringLiteral("Intestazione del modello"));
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(path(QStringLiteral("figura.png"))));

    {
        SaveTemplateDialog cancelled(*m_report, QStringLiteral("Annullato"));
        cancelled.reject();
    }
    SaveTemplateDialog save(*m_report, QStringLiteral("Elenco.qnf"));
    EXPECT_EQ(save.path(), m_report->TemplateDir + QStringLiteral("/Elenco.qnt"));
    save.description()->setPlainText(QStringLiteral("Elenco con intestazione"));
    ASSERT_TRUE(save.setPictureFile(path(QStringLiteral("figura.png"))));
    EXPECT_FALSE(save.setPictureFile(path(QStringLiteral("manca.png"))));
    save.accept();
    EXPECT_EQ(save.result(), QDialog::Accepted);
    QFile damaged(m_report->TemplateDir + QStringLiteral("/Rotto.qnt"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("QNT1 non un modello");
    damaged.close();

    m_report->ResetLayout();
    NewFromTemplateDialog choose(*m_report);
    ASSERT_EQ(choose.templates()->count(), 1);   // the damaged file is not offered
    EXPECT_EQ(choose.templates()->item(0)->text(), QStringLiteral("Elenco"));
    EXPECT_EQ(choose.description()->text(), QStringLiteral("Elenco con intestazione"));
    EXPECT_FALSE(choose.templates()->item(0)->icon().isNull());
    choose.accept();
    EXPECT_EQ(m_report->layout().Pages.front().Paper.Orientation, 1);
    EXPECT_TRUE(m_report->layout().FileName.isEmpty());
    m_report->BuildPages();
    EXPECT_TRUE(printedTexts().contains(QStringLiteral("Intestazione del modello")));
}

using WizardTest = DialogFixture;

TEST_F(WizardTest, AListGroupedByFasciaPrintsEveryCardUnderItsBand)
{
    openArchive(25);
    m_data->Anagrafica().setSortedBy({QStringLiteral("[Fascia] ASC"), QStringLiteral("[Protocollo] ASC")});
    WizardDialog wizard(*m_report);
    wizard.dataSet()->setCurrentText(QStringLiteral("Anagrafica"));
    wizard.accept();   // no field chosen: nothing happens
    EXPECT_EQ(wizard.result(), QDialog::Rejected);
    for (const QString &name : {QStringLiteral("Protocollo"), QStringLiteral("Capofamiglia"), QStringLiteral("Fascia")})
        wizard.fields()->findItems(name, Qt::MatchExactly).value(0)->setCheckState(Qt::Checked);
    wizard.title()->setText(QStringLiteral("Schede per fascia"));
    wizard.landscape()->setChecked(true);
    wizard.group()->setCurrentText(QStringLiteral("Fascia"));
    wizard.accept();
    EXPECT_EQ(wizard.result(), QDialog::Accepted);

    QMap<QString, QString> fasciaOf;
    TArcTable &cards = m_data->Anagrafica();
    for (cards.first(); !cards.eof(); cards.next())
        fasciaOf[cards.fieldByName(QStringLiteral("Protocollo"))->asString()] =
            cards.fieldByName(QStringLiteral("Fascia"))->asString();
    const QStringList pages = printToPdf(QStringLiteral("wizard.pdf"));
    ASSERT_FALSE(pages.isEmpty());
    EXPECT_TRUE(pages.front().contains(QStringLiteral("Schede per fascia")));
    EXPECT_GT(pdfPageSize(QStringLiteral("wizard.pdf")).section(QLatin1Char(' '), 0, 0).toDouble(), 800.0);

    QString band;
    QStringList printed;
    int pageNo = 0;
    for (const QString &pageText : pages) {
        ++pageNo;
        EXPECT_TRUE(pageText.contains(QStringLiteral("Pagina %1 di %2").arg(pageNo).arg(pages.size())));
        for (const QString &line : pageText.split(QLatin1Char('\n'))) {
            const QString simple = line.simplified();
            if (simple.startsWith(QStringLiteral("Fascia: ")))
                band = simple.mid(8);
            const QString first = simple.section(QLatin1Char(' '), 0, 0);
            if (fasciaOf.contains(first)) {
                EXPECT_EQ(fasciaOf[first], band) << simple.toStdString();
                printed << first;
            }
        }
    }
    EXPECT_EQ(printed.size(), 25) << pages.join(QChar(12)).toStdString();
}

} // namespace
