// Pictures of the designer for a person to look at, on a layout named by
// TAVORIO_DESIGNER_LAYOUT or else a list made here.
#include "tests/report_designer/DesignerTestSupport.h"
#include "tests/screenshots/Screenshots.h"

#include <QAction>
#include <QApplication>
#include <QTabBar>

using namespace designertest;
using screenshots::settle;

namespace {

class DesignerScreenshotTest : public DesignerFixture {};

TEST_F(DesignerScreenshotTest, DesignerOnAListWithASelectionAndTheInspector)
{
    const QString shots = screenshots::folder();
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
