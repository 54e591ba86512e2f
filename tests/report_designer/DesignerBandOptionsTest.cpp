// A band's printing options set in the inspector: offered only where the band's kind honours
// them, undone like any edit, kept in the file and printed as set.

#include "output/report/ui/designer/ObjectInspector.h"
#include "tests/report_designer/DesignerTestSupport.h"

#include <QAction>
#include <QCheckBox>

using namespace designertest;

namespace {

class DesignerBandOptionsTest : public DesignerFixture {
protected:
    TqnBandView &bandOf(TqnBandType type)
    {
        for (const auto &o : m_report->layout().Pages.front().Objects)
            if (o->kind() == TqnViewKind::vkBand && static_cast<TqnBandView &>(*o).BandType == type)
                return static_cast<TqnBandView &>(*o);
        throw std::runtime_error("no such band");
    }
    // Which of stretch, new page after, repeat and first page only are offered.
    std::vector<bool> offered(ObjectInspector &inspector)
    {
        std::vector<bool> on;
        for (quint16 option : {TqnBandView::boStretch, TqnBandView::boNewPageAfter, TqnBandView::boRepeat,
                               TqnBandView::boKeepOnFirstPage})
            on.push_back(inspector.bandOptionBox(option)->isEnabled());
        return on;
    }
};

TEST_F(DesignerBandOptionsTest, OptionsSetInTheInspectorArePrinted)
{
    makeSuppliedList();
    // A header of column titles over the cards, and rows tall enough for two to a page.
    TqnPage &page = m_report->layout().Pages.front();
    reporttest::addBand(page, TqnBandType::btMasterHeader, 86, 10);
    reporttest::addMemo(page, 40, 86, 300, 10, QStringLiteral("Titoli"), QStringLiteral("Titoli"));
    bandOf(TqnBandType::btMasterData).Height = 400;
    TqnDesignerWindow &designer = openDesigner();
    ObjectInspector &inspector = *designer.inspector();

    designer.canvas()->select({&bandOf(TqnBandType::btMasterData)});
    EXPECT_EQ(offered(inspector), (std::vector<bool>{true, true, false, false}));
    designer.canvas()->select({&bandOf(TqnBandType::btPageFooter)});
    EXPECT_EQ(offered(inspector), (std::vector<bool>{false, false, false, true}));
    inspector.bandOptionBox(TqnBandView::boKeepOnFirstPage)->click();
    EXPECT_EQ(bandOf(TqnBandType::btPageFooter).BandOptions, TqnBandView::boKeepOnFirstPage);
    designer.canvas()->select({&bandOf(TqnBandType::btMasterHeader)});
    EXPECT_EQ(offered(inspector), (std::vector<bool>{true, true, true, false}));
    EXPECT_FALSE(inspector.bandOptionBox(TqnBandView::boRepeat)->isChecked());
    inspector.bandOptionBox(TqnBandView::boRepeat)->click();
    EXPECT_EQ(bandOf(TqnBandType::btMasterHeader).BandOptions, TqnBandView::boRepeat);
    if (const QString shots = qEnvironmentVariable("TAVORIO_DESIGNER_SHOTS"); !shots.isEmpty())
        designer.grab().save(shots + QStringLiteral("/designer-band-options.png"));

    // A text box and a band together: the band takes the option, the box has none to take.
    designer.canvas()->select({&bandOf(TqnBandType::btMasterHeader), object(QStringLiteral("Capofamiglia"))});
    inspector.bandOptionBox(TqnBandView::boStretch)->click();
    EXPECT_EQ(bandOf(TqnBandType::btMasterHeader).BandOptions, TqnBandView::boRepeat | TqnBandView::boStretch);
    designer.action(QStringLiteral("Annulla"))->trigger();
    EXPECT_EQ(bandOf(TqnBandType::btMasterHeader).BandOptions, TqnBandView::boRepeat);
    // Saved ("Salva" writes into the current folder) and read back, they print as set.
    m_dialogs.saveAnswers.push_back(DesignerDialogs::Answer::Yes);
    closeDesigner();
    ASSERT_FALSE(m_designer);
    m_report->ResetLayout();
    m_report->OpenLayout(m_app + QStringLiteral("/elenco_capofamiglia.qnf"));
    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    const PreparedPages &pages = m_report->preparedPages();
    ASSERT_GE(pages.size(), 2);
    for (int p = 0; p < pages.size(); ++p) {
        QStringList texts;
        for (const DrawRecord &r : pages[p].Records)
            if (r.kind == DrawRecord::Text)
                texts << r.text;
        EXPECT_EQ(texts.count(QStringLiteral("Titoli")), 1) << "page " << p + 1;
        EXPECT_EQ(texts.contains(QStringLiteral("Pagina %1").arg(p + 1)), p == 0) << "page " << p + 1;
    }
}

} // namespace
