#pragma once
// The columns of a data grid in display order. Columns made by hand (as the forms do) are
// persistent; a grid without any builds default columns from the dataset's visible fields.

#include <QColor>
#include <QFont>
#include <QString>
#include <memory>
#include <vector>

class TColumn;
class TDataSet;
class TField;

// What the columns need from their grid: default looks and change notices.
class GridColumnsOwner {
public:
    virtual ~GridColumnsOwner() = default;
    virtual QColor columnsGridColor() const = 0;
    virtual QColor columnsFixedColor() const = 0;
    virtual QFont columnsFont() const = 0;
    virtual QFont columnsTitleFont() const = 0;
    virtual int defaultColumnWidth(const TColumn &column) const = 0;
    virtual void columnsChanged() = 0;                 // layout: count, order, widths
    virtual void columnMoved(int from, int to) = 0;
    virtual void columnAppearanceChanged(TColumn &column) = 0;
};

class TColumns final {
public:
    enum class State { Default, Customized };

    explicit TColumns(GridColumnsOwner &owner);
    ~TColumns();
    TColumns(const TColumns &) = delete;
    TColumns &operator=(const TColumns &) = delete;

    GridColumnsOwner &owner() const { return m_owner; }
    int count() const { return int(m_items.size()); }
    TColumn *at(int index) const;
    TColumn *operator[](int index) const { return at(index); }
    int indexOf(const TColumn *column) const;
    TColumn *findByField(const QString &fieldName) const;

    // A column added by hand makes the collection persistent.
    TColumn &add(const QString &fieldName = QString());
    void clear();
    void move(int from, int to);

    State state() const { return m_state; }
    void setState(State state) { m_state = state; }

    // Default columns: one per visible field of the dataset.
    void rebuildDefault(const TDataSet *dataSet);
    // Binds every column to its field by name (none when the dataset is closed or lacks it).
    void resolveFields(const TDataSet *dataSet);

    // Groups changes so the grid re-lays itself out once.
    void beginUpdate() { ++m_updateCount; }
    void endUpdate();
    bool updating() const { return m_updateCount > 0; }
    void notifyChanged();

private:
    TColumn &appendColumn(const QString &fieldName);

    GridColumnsOwner &m_owner;
    std::vector<std::unique_ptr<TColumn>> m_items;
    State m_state = State::Default;
    int m_updateCount = 0;
    bool m_changedWhileUpdating = false;
};
