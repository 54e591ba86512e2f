// Pictures of every dialog for a look by eye.

#include "output/report/ui/dialogs/BandSourceDialog.h"
#include "output/report/ui/dialogs/ExpressionDialog.h"
#include "output/report/ui/dialogs/FieldInsertDialog.h"
#include "output/report/ui/dialogs/FormatDialog.h"
#include "output/report/ui/dialogs/HighlightDialog.h"
#include "output/report/ui/dialogs/PageOptionsDialog.h"
#include "output/report/ui/dialogs/ReportOptionsDialog.h"
#include "output/report/ui/dialogs/TemplateDialogs.h"
#include "output/report/ui/dialogs/TextEditorDialog.h"
#include "output/report/ui/dialogs/VariablesDialog.h"
#include "output/report/ui/dialogs/WizardDialog.h"
#include "output/report/ComponentDirectory.h"
#include "tests/report_dialogs/DialogTestSupport.h"
#include "tests/screenshots/Screenshots.h"

#include <QApplication>
#include <QDir>
#include <QComboBox>
#include <QListWidget>

using namespace dialogtest;

namespace {

using ScreenshotTest = DialogFixture;

void shoot(QDialog &dialog, const QString &name)
{
    dialog.show();
    screenshots::settle();
    dialog.grab().save(QDir(screenshots::folder()).filePath(name + QStringLiteral(".png")));
    dialog.hide();
}

TEST_F(ScreenshotTest, EveryDialog)
{
    openArchive(3);
    TqnPage &page = m_report->layout().Pages.front();
    TqnBandView &band = reporttest::addBand(page, TqnBandType::btMasterData, 0, 20);
    TqnMemoView &memo = reporttest::addMemo(page, 10, 0, 300, 20, QStringLiteral("Scheda [Anagrafica.\"Protocollo\"]"));
    BandSourceDialog source(*m_report, band, ComponentDirectory::instance().dataSetTexts());
    shoot(source, QStringLiteral("sorgente"));
    TextEditorDialog text(*m_report, memo);
    shoot(text, QStringLiteral("editor"));
    FieldInsertDialog fields(*m_report);
    shoot(fields, QStringLiteral("campo"));
    ExpressionDialog expression;
    shoot(expression, QStringLiteral("espressione"));
    FormatDialog format;
    shoot(format, QStringLiteral("formatta"));
    HighlightDialog highlight(memo);
    shoot(highlight, QStringLiteral("evidenzia"));
    VariablesDialog variables(*m_report);
    variables.addCategory(QStringLiteral("Scheda"));
    variables.addVariable(QStringLiteral("Capo"));
    variables.binding()->setCurrentIndex(VariablesDialog::Field);
    shoot(variables, QStringLiteral("variabili"));
    ReportOptionsDialog options(*m_report);
    shoot(options, QStringLiteral("opzioni_report"));
    PageOptionsDialog pageOptions(page);
    shoot(pageOptions, QStringLiteral("opzioni_pagina"));
    m_report->TemplateDir = path(QStringLiteral("modelli"));
    QDir().mkpath(m_report->TemplateDir);
    SaveTemplateDialog save(*m_report, QStringLiteral("Elenco"));
    shoot(save, QStringLiteral("salva_modello"));
    save.accept();
    NewFromTemplateDialog open(*m_report);
    shoot(open, QStringLiteral("nuovo_da_modello"));
    WizardDialog wizard(*m_report);
    wizard.fields()->item(1)->setCheckState(Qt::Checked);
    shoot(wizard, QStringLiteral("autocomposizione"));
}

} // namespace
