// Pictures of the designer for a person to look at: run with TAVORIO_DESIGNER_SHOTS set to a
// folder (and TAVORIO_DESIGNER_LAYOUT to a layout file, else a list made here), under a
// real display server. Skipped otherwise.
#include "tests/report_designer/DesignerTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QTabBar>
#include <QThread>

using namespace designertest;

namespace {

class DesignerScreenshotTest : public DesignerFixture {};

void settle()
{
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

TEST_F(DesignerScreenshotTest, DesignerOnAListWithASelectionAndTheInspector)
{
    const QString shots = qEnvironmentVariable("TAVORIO_DESIGNER_SHOTS");
    if (shots.isEmpty())
        GTEST_SKIP() << "no TAVORIO_DESIGNER_SHOTS";
    const QString layout = qEnvironmentVariable("TAVORIO_DESIGNER_LAYOUT");
    if (layout.isEmpty())
        makeSuppliedList();
    else
        m_report->OpenLayout(layout);
    TqnDesignerWindow &designer = openDesigner();
    designer.resize(1280, 900);
    settle();
    // The first text box of the data band, then every box of that band with Shift.
    const TqnPage &page = m_report->layout().Pages.front();
    const TqnView *data = nullptr;
    for (const auto &o : page.Objects)
        if (o->kind() == TqnViewKind::vkBand && static_cast<const TqnBandView &>(*o).BandType == TqnBandType::btMasterData)
            data = o.get();
    ASSERT_TRUE(data);
    ViewList chosen;
    for (const auto &o : page.Objects)
        if (o->kind() != TqnViewKind::vkBand && o->Y >= data->Y && o->Y < data->Y + data->Height)
            chosen.push_back(o.get());
    ASSERT_FALSE(chosen.empty());
    click(QPoint(chosen.front()->X + 3, chosen.front()->Y + 3));
    designer.grab().save(shots + QStringLiteral("/designer-one.png"));
    for (size_t i = 1; i < chosen.size(); ++i)
        click(QPoint(chosen[i]->X + 3, chosen[i]->Y + 3), Qt::ShiftModifier);
    designer.setUnit(DesignerUnit::Millimetres);
    settle();
    designer.grab().save(shots + QStringLiteral("/designer-many.png"));
}

} // namespace
