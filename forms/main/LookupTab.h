#pragma once
// One tab of the configuration page: a lookup table's navigator across the top and its
// editable grid below, filling the rest.

#include "controls/GridTypes.h"

#include <QWidget>
#include <vector>

class TDBNavStrip;
class TDataSource;
class TExDBGrid;

struct LookupColumn {
    const char *fieldName;
    const char *title;
    int width;
};

struct LookupTabSpec {
    const char *tabName;
    const char *gridName;
    const char *navigatorName;
    std::vector<LookupColumn> columns;
    TScrollStyle scrollBars;
    bool proportionalAutoWidth = false;   // only ever with automatic width off
};

class LookupTab final : public QWidget {
    Q_OBJECT
public:
    LookupTab(const LookupTabSpec &definition, TDataSource &source, QWidget *parent = nullptr);

    TExDBGrid *grid() const { return m_grid; }
    TDBNavStrip *navigator() const { return m_navigator; }
    // Why the table may not be changed here (empty: it may): the grid reads only and the
    // navigator is disabled, both saying why in their tool tip.
    void setRefusal(const QString &why);

private:
    TDBNavStrip *m_navigator;
    TExDBGrid *m_grid;
};
