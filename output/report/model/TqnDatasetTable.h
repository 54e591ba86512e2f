#pragma once
// The named record sources of a layout: a list kept sorted by name, one entry per name
// (compared without regard to case). Entries made by the table are destroyed by it;
// entries that belong to a window are only removed.

#include "output/report/model/TqnDataset.h"

#include <QList>
#include <QPointer>

class TqnDatasetTable final {
public:
    TqnDatasetTable() = default;
    ~TqnDatasetTable() { clear(); }
    TqnDatasetTable(const TqnDatasetTable &) = delete;
    TqnDatasetTable &operator=(const TqnDatasetTable &) = delete;

    // The parent of entries the table owns.
    QObject *holder() { return &m_holder; }
    // Adds in name order; an entry of the same name is replaced (and destroyed when owned).
    void add(TqnDataset *entry);
    void remove(TqnDataset *entry);
    TqnDataset *find(const QString &name) const;
    void clear();
    int count() const { return int(m_entries.size()); }
    TqnDataset *at(int index) const { return m_entries.value(index); }

private:
    void release(TqnDataset *entry);

    QObject m_holder;
    QList<QPointer<TqnDataset>> m_entries;
};
