// The band's record source and the text editor's insertions, through to the printed pages.

#include "output/report/ui/dialogs/BandSourceDialog.h"
#include "output/report/ui/dialogs/ExpressionDialog.h"
#include "output/report/ui/dialogs/FieldInsertDialog.h"
#include "output/report/ui/dialogs/FormatDialog.h"
#include "output/report/ui/dialogs/HighlightDialog.h"
#include "output/report/ui/dialogs/TextEditorDialog.h"
#include "output/report/ComponentDirectory.h"
#include "output/report/expr/ExprFunctions.h"
#include "db/TField.h"
#include "tests/report_dialogs/DialogTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>

using namespace dialogtest;
using reporttest::addBand;
using reporttest::addMemo;

namespace {

class BandSourceTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        m_report->setMessages(&m_messages);
    }
    BandSourceDialog *open(TqnBandView &band)
    {
        m_dialog = std::make_unique<BandSourceDialog>(*m_report, band, ComponentDirectory::instance().dataSetTexts());
        return m_dialog.get();
    }
    std::unique_ptr<BandSourceDialog> m_dialog;
};

TEST_F(BandSourceTest, OkReplacesTheEntryAnnullaKeepsItAndNessunoRemovesIt)
{
    openArchive(8);
    TqnPage &page = m_report->layout().Pages.front();
    TqnBandView &band = addBand(page, TqnBandType::btMasterData, 0, 20);
    addMemo(page, 10, 0, 300, 20, QStringLiteral("Scheda [Protocollo]"));
    TqnDatasetTable &table = m_report->layout().DataSets;

    BandSourceDialog *dialog = open(band);
    EXPECT_EQ(dialog->source()->itemText(0), QStringLiteral("[Nessuno]"));
    EXPECT_EQ(dialog->source()->itemText(1), QStringLiteral("[Sorgente dati virtuale]"));
    EXPECT_GE(dialog->source()->findText(QStringLiteral("frm_main.Nucleo")), 2);
    dialog->showName();
    EXPECT_EQ(m_messages.shown.back().text, QStringLiteral("Non è stato assegnato nessun qnDataset"));
    EXPECT_EQ(m_messages.shown.back().caption, QStringLiteral("Informazioni"));
    EXPECT_FALSE(dialog->count()->isEnabled());
    dialog->source()->setCurrentText(QStringLiteral("frm_main.Anagrafica"));
    dialog->endCounted()->setChecked(true);
    EXPECT_TRUE(dialog->count()->isEnabled());
    dialog->count()->setValue(3);
    dialog->accept();

    const QString name = band.Name + QStringLiteral("_DataSet");
    ASSERT_EQ(band.FormatText, name);
    ASSERT_EQ(table.count(), 1);
    auto *entry = qobject_cast<TqnDBDataSet *>(table.find(name));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->ComponentText, QStringLiteral("frm_main.Anagrafica"));
    EXPECT_EQ(entry->RangeEnd, TqnRangeEnd::reCount);
    m_report->BuildPages();
    EXPECT_EQ(printedTexts().filter(QStringLiteral("Scheda")).size(), 3);

    // Opened again it shows the entry; Annulla leaves it; the name button names it.
    dialog = open(band);
    EXPECT_EQ(dialog->source()->currentText(), QStringLiteral("frm_main.Anagrafica"));
    EXPECT_EQ(dialog->count()->value(), 3);
    dialog->showName();
    EXPECT_EQ(m_messages.shown.back().text, QStringLiteral("Il nome del qnDataset corrente è: ") + name);
    dialog->source()->setCurrentIndex(0);
    dialog->reject();
    EXPECT_EQ(table.find(name), entry);

    // A filter on the whole list.
    dialog = open(band);
    dialog->endLast()->setChecked(true);
    dialog->filtered()->setChecked(true);
    m_data->Anagrafica().first();
    const QString first = m_data->Anagrafica().fieldByName(QStringLiteral("Protocollo"))->asString();
    dialog->filter()->setText(QStringLiteral("[Protocollo] <> '%1'").arg(first));
    dialog->accept();
    ASSERT_EQ(table.count(), 1);
    m_report->BuildPages();
    EXPECT_EQ(printedTexts().filter(QStringLiteral("Scheda")).size(), 7);

    dialog = open(band);
    dialog->source()->setCurrentIndex(0);
    dialog->accept();
    EXPECT_EQ(table.count(), 0);
    EXPECT_TRUE(band.FormatText.isEmpty());

    dialog = open(band);
    dialog->source()->setCurrentIndex(1);
    EXPECT_FALSE(dialog->filtered()->isEnabled());
    dialog->accept();
    ASSERT_EQ(table.count(), 1);
    EXPECT_FALSE(table.at(0)->isBound());
}

using TextEditorTest = DialogFixture;

TEST_F(BandSourceTest, AVirtualSourcePrintsFromTheFirstElementAsManyTimesAsCounted)
{
    TqnBandView &band = addBand(m_report->layout().Pages.front(), TqnBandType::btMasterData, 0, 20);
    BandSourceDialog *dialog = open(band);
    dialog->endLast()->setChecked(true);
    dialog->source()->setCurrentIndex(1);
    EXPECT_TRUE(dialog->endCounted()->isChecked());
    EXPECT_TRUE(dialog->count()->isEnabled());
    for (QRadioButton *fixed : {dialog->beginCurrent(), dialog->endLast(), dialog->endCurrent()})
        EXPECT_FALSE(fixed->isEnabled()) << fixed->text().toStdString();
    dialog->count()->setValue(4);
    dialog->accept();
    const TqnDataset *entry = m_report->layout().DataSets.find(band.FormatText);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->RangeBegin, TqnRangeBegin::rbFirst);
    EXPECT_EQ(entry->RangeEnd, TqnRangeEnd::reCount);
    EXPECT_EQ(entry->RangeEndCount, 4);
    // Back on a window's table the choices are free again.
    dialog = open(band);
    dialog->source()->setCurrentIndex(0);
    EXPECT_TRUE(dialog->endLast()->isEnabled());
    EXPECT_TRUE(dialog->beginCurrent()->isEnabled());
}

TEST_F(TextEditorTest, EveryInsertionPrintsWhatItNames)
{
    openArchive(1);
    TqnPage &page = m_report->layout().Pages.front();
    addBand(page, TqnBandType::btReportTitle, 0, 60);
    TqnMemoView &memo = addMemo(page, 10, 0, 600, 50, QStringLiteral("Prima"));
    m_report->layout().DataSets.clear();
    m_data->Anagrafica().first();
    const QString card = m_data->Anagrafica().fieldByName(QStringLiteral("Capofamiglia"))->asString();

    TextEditorDialog editor(*m_report, memo);
    EXPECT_EQ(editor.editor()->toPlainText(), QStringLiteral("Prima"));
    editor.editor()->clear();

    FieldInsertDialog fields(*m_report);
    // The report's own window's tables by bare name, sorted, then "Altro".
    QStringList listed;
    for (int i = 0; i < fields.dataSets()->count(); ++i)
        listed << fields.dataSets()->item(i)->text();
    EXPECT_EQ(listed.back(), QStringLiteral("Altro"));
    QStringList tables = listed.mid(0, listed.size() - 1);
    EXPECT_TRUE(tables.contains(QStringLiteral("Anagrafica")));
    QStringList sorted = tables;
    sorted.sort(Qt::CaseInsensitive);
    EXPECT_EQ(tables, sorted);
    fields.dataSets()->setCurrentRow(int(listed.indexOf(QStringLiteral("Anagrafica"))));
    fields.fields()->setCurrentItem(fields.fields()->findItems(QStringLiteral("Capofamiglia"), Qt::MatchExactly).value(0));
    EXPECT_EQ(fields.insertion(), QStringLiteral("[Anagrafica.\"Capofamiglia\"]"));
    editor.insertText(QStringLiteral("Capo ") + fields.insertion() + QStringLiteral(" pag "));
    fields.dataSets()->setCurrentRow(int(listed.size() - 1));
    fields.fields()->setCurrentRow(0);
    EXPECT_EQ(fields.insertion(), QStringLiteral("[PAGE#]"));
    editor.insertText(fields.insertion() + QStringLiteral("\nConto "));

    ExpressionDialog expression;
    int functions = 0;
    for (QTreeWidgetItemIterator it(expression.functions()); *it; ++it)
        functions += (*it)->parent() != nullptr;
    EXPECT_EQ(functions, int(report::exprFunctions().size()));
    QTreeWidgetItem *upper = expression.functions()->findItems(QStringLiteral("UPPERCASE"),
                                                               Qt::MatchExactly | Qt::MatchRecursive).value(0);
    ASSERT_TRUE(upper);
    expression.functions()->setCurrentItem(upper);
    EXPECT_FALSE(expression.description()->text().isEmpty());
    expression.expression()->setText(QStringLiteral("UPPERCASE('ab') + STR(2 + 3)"));
    editor.insertText(expression.insertion() + QLatin1Char(' '));

    FormatDialog format;
    format.format()->setText(QStringLiteral("0.00"));
    editor.insertText(format.wrap(QStringLiteral("[1,5]")));

    HighlightDialog highlight(editor.draft());
    highlight.condition()->setText(QStringLiteral("1 = 1"));
    highlight.style(fsBold)->setChecked(true);
    highlight.setFontColor(0x0000FF);
    highlight.accept();
    EXPECT_EQ(memo.HighlightCondition, QString());   // only the editor's OK stores it
    editor.accept();
    EXPECT_EQ(memo.HighlightCondition, QStringLiteral("1 = 1"));
    EXPECT_EQ(memo.HighlightFontStyle, fsBold);

    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    const QStringList texts = printedTexts();
    EXPECT_TRUE(texts.contains(QStringLiteral("Capo %1 pag 1").arg(card))) << texts.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("Conto AB5 1,50"))) << texts.join(QLatin1Char('|')).toStdString();
}

TEST_F(TextEditorTest, VariabileIsOfferedOnlyWhenTheLayoutHasVariables)
{
    TqnMemoView &memo = addMemo(m_report->layout().Pages.front(), 10, 10, 200, 20, QString());
    const auto variableButton = [](const TextEditorDialog &dialog) {
        for (QPushButton *b : dialog.findChildren<QPushButton *>())
            if (b->text() == QStringLiteral("&Variabile"))
                return b;
        return static_cast<QPushButton *>(nullptr);
    };
    {
        TextEditorDialog dialog(*m_report, memo);
        ASSERT_TRUE(variableButton(dialog));
        EXPECT_FALSE(variableButton(dialog)->isEnabled());
    }
    m_report->layout().Values.set(TqnVariable{QStringLiteral("Titolo"), TqnVariableKind::vkOther, {}, {}, QStringLiteral("'Elenco'")});
    TextEditorDialog dialog(*m_report, memo);
    EXPECT_TRUE(variableButton(dialog)->isEnabled());
}

TEST_F(TextEditorTest, AnnullaLeavesTheText)
{
    TqnPage &page = m_report->layout().Pages.front();
    TqnMemoView &memo = addMemo(page, 10, 0, 600, 20, QStringLiteral("Prima"));
    TextEditorDialog editor(*m_report, memo);
    editor.insertText(QStringLiteral("[DATE]"));
    HighlightDialog highlight(editor.draft());
    highlight.condition()->setText(QStringLiteral("1 = 1"));
    highlight.accept();
    editor.reject();
    EXPECT_EQ(memo.Memo, QStringList{QStringLiteral("Prima")});
    EXPECT_TRUE(memo.HighlightCondition.isEmpty());
}

} // namespace
