#include "controls/TNavStripDataLink.h"

#include "controls/TDBNavStrip.h"

void TNavStripDataLink::activeChanged()
{
    if (m_navigator)
        m_navigator->activeChanged();
}

void TNavStripDataLink::dataSetChanged()
{
    if (m_navigator)
        m_navigator->dataChanged();
}

void TNavStripDataLink::editingChanged()
{
    if (m_navigator)
        m_navigator->editingChanged();
}
