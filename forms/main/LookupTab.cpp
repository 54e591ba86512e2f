#include "forms/main/LookupTab.h"

#include "controls/GridColumn.h"
#include "controls/TDBNavStrip.h"
#include "controls/TExDBGrid.h"
#include "forms/main/GridLook.h"
#include "forms/main/NavigatorSetup.h"

#include <QVBoxLayout>

namespace {

constexpr int kLookupNavigatorHeight = 25;
constexpr int kRowColor1 = 12255087;

// The lookup grids confirm deletes through their datasets, never through the grid.
TDBGridOptions lookupOptions()
{
    using O = TDBGridOption;
    return O::dgEditing | O::dgTitles | O::dgIndicator | O::dgColumnResize | O::dgColLines | O::dgRowLines
        | O::dgCancelOnExit;
}

void configureGrid(TExDBGrid &grid, const LookupTabSpec &definition, TDataSource &source)
{
    grid.setObjectName(QString::fromLatin1(definition.gridName));
    applyWindowGridLook(grid);
    grid.setOptions(lookupOptions());
    grid.setReadOnly(false);
    grid.setScrollBars(definition.scrollBars);
    grid.setRowColor1(gridcolor::fromBgr(kRowColor1));
    grid.setUseRowColors(false);
    grid.setGridAutoWidth(false);
    if (definition.proportionalAutoWidth)
        grid.setGridAutoWidthDisplay(TGridAutoWidthDisplay::Proportional);

    TColumns &columns = grid.columns();
    columns.beginUpdate();
    for (const LookupColumn &c : definition.columns) {
        TColumn &column = columns.add(QString::fromLatin1(c.fieldName));
        column.title().setCaption(QString::fromUtf8(c.title));
        column.setWidth(c.width);
    }
    columns.endUpdate();
    grid.setDataSource(&source);
}

} // namespace

LookupTab::LookupTab(const LookupTabSpec &definition, TDataSource &source, QWidget *parent)
    : QWidget(parent), m_navigator(new TDBNavStrip(this)), m_grid(new TExDBGrid(this))
{
    setObjectName(QString::fromLatin1(definition.tabName));

    m_navigator->setObjectName(QString::fromLatin1(definition.navigatorName));
    configureNavigator(*m_navigator, source, TNavGlyphSize::gsSmall);
    m_navigator->setAligned(true);
    m_navigator->setFixedHeight(kLookupNavigatorHeight);
    m_navigator->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    configureGrid(*m_grid, definition, source);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_navigator);
    column->addWidget(m_grid, 1);
}

void LookupTab::setRefusal(const QString &why)
{
    m_grid->setReadOnly(!why.isEmpty());
    m_navigator->setEnabled(why.isEmpty());
    m_grid->setToolTip(why);
    m_navigator->setToolTip(why);
}
