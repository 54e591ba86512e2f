// Edits keep the layout whole: pasted objects follow the rules of inserted ones, names stay
// unique, sub-reports follow the pages they print, and commands are enabled only when they
// have something to act on.
#include "output/report/ui/designer/DesignerDocument.h"
#include "output/report/ui/designer/ObjectInspector.h"
#include "output/report/ui/dialogs/BandSourceDialog.h"
#include "tests/report_designer/DesignerTestSupport.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>

using namespace designertest;

namespace {

class DesignerConsistencyTest : public DesignerFixture {};

TEST_F(DesignerConsistencyTest, PastedBandsGetTheirOwnSourceAndSingleBandsStaySingle)
{
    makeSuppliedList();
    TqnDesignerWindow &designer = openDesigner();
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(designer.action(QStringLiteral("Incolla"))->isEnabled());

    click(QPoint(600, 100));                                   // the data band "Schede"
    designer.action(QStringLiteral("Copia"))->trigger();
    EXPECT_TRUE(designer.action(QStringLiteral("Incolla"))->isEnabled());
    designer.action(QStringLiteral("Aggiungi pagina"))->trigger();   // a page without a data band
    designer.action(QStringLiteral("Incolla"))->trigger();
    ASSERT_EQ(designer.canvas()->selection().size(), 1u);
    auto &copy = static_cast<TqnBandView &>(*designer.canvas()->selection().front());
    TqnDatasetTable &table = m_report->layout().DataSets;
    ASSERT_NE(copy.FormatText, QStringLiteral("Schede"));
    const auto *own = qobject_cast<TqnDBDataSet *>(table.find(copy.FormatText));
    ASSERT_TRUE(own);
    EXPECT_EQ(own->ComponentText, QStringLiteral("frm_main.Anagrafica"));

    // OK on the copy's record source replaces the copy's entry only.
    BandSourceDialog source(*m_report, copy, {QStringLiteral("frm_main.Nucleo")});
    source.source()->setCurrentIndex(2);
    source.accept();
    ASSERT_TRUE(table.find(QStringLiteral("Schede")));
    EXPECT_EQ(static_cast<TqnDBDataSet *>(table.find(QStringLiteral("Schede")))->ComponentText,
              QStringLiteral("frm_main.Anagrafica"));

    // A data band pasted on a page that has one is left out, as an inserted one is.
    designer.action(QStringLiteral("Copia"))->trigger();
    const size_t objects = m_report->layout().Pages[1].Objects.size();
    designer.action(QStringLiteral("Incolla"))->trigger();
    EXPECT_EQ(m_report->layout().Pages[1].Objects.size(), objects);
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(m_dialogs.messages[0].text, QStringLiteral("   La pagina ha già una banda di questo tipo.   "));

    QGuiApplication::clipboard()->setText(QStringLiteral("testo qualsiasi"));
    EXPECT_FALSE(designer.action(QStringLiteral("Incolla"))->isEnabled());
}

TEST_F(DesignerConsistencyTest, PastedSubReportPrintsAPageOfItsOwn)
{
    TqnDesignerWindow &designer = openDesigner();
    designer.insertObject(DesignerCanvas::Tool::SubReport, QRect(40, 40, 200, 40));   // prints page 2
    designer.showPage(0);
    designer.action(QStringLiteral("Copia"))->trigger();
    designer.action(QStringLiteral("Incolla"))->trigger();
    ASSERT_EQ(m_report->layout().Pages.size(), 3u);
    EXPECT_EQ(designer.pageTabs()->count(), 3);
    const auto &objects = m_report->layout().Pages.front().Objects;
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(static_cast<const TqnSubReportView &>(*objects[1]).SubPage, 2);
    EXPECT_EQ(objects[1]->Name, QStringLiteral("Sottoreport2"));
    EXPECT_EQ(designer.canvas()->selection().front(), objects[1].get());
}

TEST_F(DesignerConsistencyTest, RemovingAPrintedPageDropsItsSubReportAndRenumbersTheLater)
{
    TqnDesignerWindow &designer = openDesigner();
    designer.insertObject(DesignerCanvas::Tool::SubReport, QRect(40, 40, 200, 40));    // page 2
    designer.showPage(0);
    designer.insertObject(DesignerCanvas::Tool::SubReport, QRect(40, 100, 200, 40));   // page 3
    designer.showPage(1);
    m_dialogs.confirmAnswers = {true};
    designer.action(QStringLiteral("Rimuovi pagina"))->trigger();
    ASSERT_EQ(m_report->layout().Pages.size(), 2u);
    const auto &objects = m_report->layout().Pages.front().Objects;
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0]->Name, QStringLiteral("Sottoreport2"));
    EXPECT_EQ(static_cast<const TqnSubReportView &>(*objects[0]).SubPage, 1);
    designer.action(QStringLiteral("Annulla"))->trigger();
    EXPECT_EQ(m_report->layout().Pages.front().Objects.size(), 2u);
}

TEST_F(DesignerConsistencyTest, InspectorRefusesANameAnotherObjectHas)
{
    makeSuppliedList();
    TqnDesignerWindow &designer = openDesigner();
    click(QPoint(60, 105));
    QLineEdit *name = designer.inspector()->nameEdit();
    for (const QString &taken : {QStringLiteral("Titolo"), QStringLiteral("titolo")}) {
        name->setText(taken);
        emit name->editingFinished();
        EXPECT_EQ(name->text(), QStringLiteral("Capofamiglia"));
    }
    ASSERT_EQ(m_dialogs.messages.size(), 2u);
    EXPECT_EQ(m_dialogs.messages[0].text, QStringLiteral("   Esiste già un oggetto di nome Titolo.   "));
    EXPECT_EQ(m_dialogs.messages[0].caption, QStringLiteral("Attenzione"));
    EXPECT_FALSE(designer.document().modified());
    // Its own name in another case is no clash.
    name->setText(QStringLiteral("CAPOFAMIGLIA"));
    emit name->editingFinished();
    EXPECT_EQ(designer.canvas()->selection().front()->Name, QStringLiteral("CAPOFAMIGLIA"));
}

TEST_F(DesignerConsistencyTest, InspectorEditsAGroupConditionAndTheSubReportsPage)
{
    TqnDesignerWindow &designer = openDesigner();
    designer.insertBand(TqnBandType::btGroupHeader);
    ObjectInspector *inspector = designer.inspector();
    ASSERT_TRUE(inspector->conditionEdit()->isEnabled());
    EXPECT_FALSE(inspector->subPageEdit()->isEnabled());
    EXPECT_FALSE(inspector->pictureButton()->isEnabled());
    inspector->conditionEdit()->setText(QStringLiteral("[Anagrafica.\"Fascia\"]"));
    emit inspector->conditionEdit()->editingFinished();
    const auto &band = static_cast<const TqnBandView &>(*m_report->layout().Pages.front().Objects.front());
    EXPECT_EQ(band.GroupCondition, QStringLiteral("[Anagrafica.\"Fascia\"]"));

    designer.insertObject(DesignerCanvas::Tool::SubReport, QRect(40, 200, 200, 40));      // prints page 2
    designer.action(QStringLiteral("Aggiungi pagina"))->trigger();
    designer.showPage(0);
    designer.canvas()->select({m_report->layout().Pages.front().Objects.back().get()});
    ASSERT_TRUE(inspector->subPageEdit()->isEnabled());
    EXPECT_EQ(inspector->subPageEdit()->value(), 2);
    EXPECT_EQ(inspector->subPageEdit()->maximum(), 3);
    inspector->subPageEdit()->setValue(3);
    EXPECT_EQ(static_cast<const TqnSubReportView &>(*m_report->layout().Pages.front().Objects.back()).SubPage, 2);
    designer.action(QStringLiteral("Annulla"))->trigger();
    EXPECT_EQ(static_cast<const TqnSubReportView &>(*m_report->layout().Pages.front().Objects.back()).SubPage, 1);
}

TEST_F(DesignerConsistencyTest, AlignmentOrderAndSizeButtonsShowPicturesWithTheirCaptionsAsTips)
{
    TqnDesignerWindow &designer = openDesigner();
    for (const char *caption : {"Allinea i bordi sinistri", "Allinea i bordi destri", "Allinea i bordi superiori",
                                "Allinea i bordi inferiori", "Centra orizzontalmente", "Centra verticalmente",
                                "Stessa larghezza", "Stessa altezza", "Porta in primo piano", "Porta in secondo piano",
                                "Allinea a sinistra", "Centra in verticale"}) {
        QAction *a = designer.action(QString::fromUtf8(caption));
        ASSERT_TRUE(a) << caption;
        EXPECT_FALSE(a->icon().isNull()) << caption;
        EXPECT_EQ(a->toolTip(), QString::fromUtf8(caption));
        // Drawn, not blank: the picture has the outline's grey somewhere.
        const QImage picture = a->icon().pixmap(24, 24).toImage();
        bool drawn = false;
        for (int y = 0; y < picture.height() && !drawn; ++y)
            for (int x = 0; x < picture.width() && !drawn; ++x)
                drawn = qAlpha(picture.pixel(x, y)) > 200;
        EXPECT_TRUE(drawn) << caption;
    }
    for (QToolBar *bar : designer.findChildren<QToolBar *>())
        for (QToolButton *button : bar->findChildren<QToolButton *>())
            for (const QString &glyph : {QStringLiteral("|<"), QStringLiteral("<>"), QStringLiteral("^v"), QStringLiteral("<->")})
                EXPECT_NE(button->text(), glyph);
}

} // namespace
