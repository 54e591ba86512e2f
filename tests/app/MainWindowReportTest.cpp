// The main window's report components and the datasets it lends the report engine.

#include "AppTestSupport.h"

#include "forms/main/Tfrm_main.h"
#include "output/report/ComponentDirectory.h"

#include <gtest/gtest.h>

namespace {

TEST(MainWindowReportTest, HoldsQnReport1AndLendsItsDatasetsByWindowName)
{
    apptest::WorkingFolder folder;
    {
        Tfrm_main window([](Tfrm_main &) { return StartupOutcome::Continue; });
        TqnReport &report = window.qnReport1();
        EXPECT_EQ(report.qualifiedName(), QStringLiteral("frm_main.qnReport1"));
        EXPECT_EQ(report.Title, QStringLiteral("Prossimi appuntamenti"));
        EXPECT_FALSE(report.ShowProgress);
        EXPECT_FALSE(report.DisableDataSetControls);
        EXPECT_TRUE(report.ModalPreview);
        EXPECT_EQ(report.previewCaption(), QStringLiteral("Anteprima - Prossimi appuntamenti"));
        EXPECT_TRUE(TqnDesigner::present());
        ASSERT_EQ(report.layout().Pages.size(), 1u);

        const ComponentDirectory &directory = ComponentDirectory::instance();
        EXPECT_EQ(directory.find(QStringLiteral("frm_main.Anagrafica")), &window.data().Anagrafica());
        EXPECT_EQ(directory.find(QStringLiteral("FRM_MAIN.nucleo")), &window.data().Nucleo());
        EXPECT_EQ(directory.find(QStringLiteral("frm_main.stampe")), &window.data().stampe());
        EXPECT_EQ(directory.find(QStringLiteral("Anagrafica")), nullptr);              // no point
        EXPECT_EQ(directory.find(QStringLiteral("frm_altro.Anagrafica")), nullptr);    // no such window
        EXPECT_EQ(directory.find(QStringLiteral("frm_main.ds_anagrafica")), nullptr);  // not lent
        EXPECT_EQ(directory.find(QStringLiteral("frm_main.Statistiche")), &window.data().Statistiche());
        EXPECT_EQ(directory.dataSetTexts().size(), 8);
    }
    EXPECT_EQ(ComponentDirectory::instance().find(QStringLiteral("frm_main.Anagrafica")), nullptr);
    EXPECT_FALSE(TqnDesigner::present());
}

} // namespace
