#pragma once
// A control's end of the link to a data source: it follows the dataset (active,
// scrolled, record changed, editing, layout) and asks for the window of buffers it shows.

#include "db/DbTypes.h"
#include "db/TDataSource.h"

#include <QPointer>

class TDataSet;
class TDataSource;
class TField;

class TDataLink {
public:
    TDataLink();
    virtual ~TDataLink();
    TDataLink(const TDataLink &) = delete;
    TDataLink &operator=(const TDataLink &) = delete;

    TDataSource *dataSource() const { return m_dataSource; }
    void setDataSource(TDataSource *source);
    TDataSet *dataSet() const;
    bool active() const { return m_active; }
    bool editing() const { return m_editing; }
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    // The window of records this link shows, and which of them is current.
    int bufferCount() const { return m_bufferCount; }
    void setBufferCount(int count);
    int activeRecord() const;          // 0-based within this link's window
    void setActiveRecord(int index);   // for painting
    int recordCount() const;           // valid records in this link's window
    int firstRecord() const { return m_firstRecord; }

    bool edit();                       // starts an edit through the data source; true when editing
    void updateRecord();               // asks the control for its value (UpdateData)

    // For the data source.
    void dataEvent(TDataEvent event, qintptr info);
    // For the dataset: its window gained (delta > 0) or lost records before the first one.
    void windowShifted(int delta);

protected:
    virtual void activeChanged() {}
    virtual void dataSetChanged() { recordChanged(nullptr); }
    // distance: how many records this link's first row moved, positive towards the end.
    virtual void dataSetScrolled(int distance) { dataSetChanged(); }
    virtual void recordChanged(TField *field) {}
    virtual void editingChanged() {}
    virtual void layoutChanged() { dataSetChanged(); }
    virtual void focusControl(TField *field) {}
    virtual void checkBrowseMode() {}
    virtual void updateData() {}

private:
    void updateState();
    void updateRange();

    QPointer<TDataSource> m_dataSource;
    bool m_active = false;
    bool m_editing = false;
    bool m_readOnly = false;
    bool m_updating = false;
    int m_bufferCount = 1;
    int m_firstRecord = 0;
};
