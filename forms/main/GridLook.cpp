#include "forms/main/GridLook.h"

#include "controls/SansFont.h"
#include "controls/TExDBGrid.h"

namespace {

constexpr int kTitleFontPixels = 11;
constexpr int kRowHeight = 17;

} // namespace

void applyWindowGridLook(TExDBGrid &grid)
{
    grid.setFrameShape(QFrame::NoFrame);
    grid.setFixedColor(gridcolor::btnFace());
    grid.setTitleFont(sansSerifFont(kTitleFontPixels));
    grid.setDefaultRowHeight(kRowHeight);
    grid.setScrollBars(TScrollStyle::ssHorizontal);
    grid.setHotTrack(false);
    grid.setTitleCheck(false);
    grid.setMaskedColumnDrag(true);
    grid.setExMenuOptions(allExMenuOptions());
    grid.setLockedCols(0);
}
