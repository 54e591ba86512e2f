#pragma once
// The navigator's end of the data link: it passes the dataset's active, data and editing
// changes on to the strip so the buttons can follow.

// The framework's links and sources hold each other through QPointer, whose inline
// accessors need the full types before the link class is seen.
#include "db/TDataSet.h"
#include "db/TDataSource.h"
// (keep after the two above)
#include "db/TDataLink.h"

class TDBNavStrip;

class TNavStripDataLink final : public TDataLink {
public:
    explicit TNavStripDataLink(TDBNavStrip *navigator) : m_navigator(navigator) {}
    // The strip detaches before it goes, so a link torn down later reports to nobody.
    void detach() { m_navigator = nullptr; }

protected:
    void activeChanged() override;
    void dataSetChanged() override;
    void editingChanged() override;

private:
    TDBNavStrip *m_navigator;
};
