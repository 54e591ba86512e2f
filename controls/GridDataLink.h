#pragma once
// The grid's end of its data source: passes the dataset's notices on to the grid.

#include "db/TDataLink.h"
#include "db/TDataSet.h"
#include "db/TDataSource.h"

class TField;

class GridDataLinkClient {
public:
    virtual ~GridDataLinkClient() = default;
    virtual void linkActiveChanged() = 0;
    virtual void linkDataSetChanged() = 0;
    virtual void linkDataSetScrolled(int distance) = 0;
    virtual void linkRecordChanged(TField *field) = 0;
    virtual void linkEditingChanged() = 0;
    virtual void linkLayoutChanged() = 0;
    virtual void linkFocusControl(TField *field) = 0;
    virtual void linkUpdateData() = 0;
    // The dataset is about to move, post or cancel: what a control holds must reach the
    // record first.
    virtual void linkCheckBrowseMode() {}
};

// Reads another row of the link's window (painting, hints) and puts the current record back,
// also when the read throws.
class ActiveRecordScope final {
public:
    explicit ActiveRecordScope(TDataLink &link) : m_link(link), m_saved(link.activeRecord()) {}
    ~ActiveRecordScope() { m_link.setActiveRecord(m_saved); }
    ActiveRecordScope(const ActiveRecordScope &) = delete;
    ActiveRecordScope &operator=(const ActiveRecordScope &) = delete;

private:
    TDataLink &m_link;
    int m_saved;
};

class GridDataLink final : public TDataLink {
public:
    explicit GridDataLink(GridDataLinkClient &client) : m_client(client) {}

protected:
    void activeChanged() override { m_client.linkActiveChanged(); }
    void dataSetChanged() override { m_client.linkDataSetChanged(); }
    void dataSetScrolled(int distance) override { m_client.linkDataSetScrolled(distance); }
    void recordChanged(TField *field) override { m_client.linkRecordChanged(field); }
    void editingChanged() override { m_client.linkEditingChanged(); }
    void layoutChanged() override { m_client.linkLayoutChanged(); }
    void focusControl(TField *field) override { m_client.linkFocusControl(field); }
    void checkBrowseMode() override { m_client.linkCheckBrowseMode(); }
    void updateData() override { m_client.linkUpdateData(); }

private:
    GridDataLinkClient &m_client;
};
