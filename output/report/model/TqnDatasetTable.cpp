#include "output/report/model/TqnDatasetTable.h"

void TqnDatasetTable::release(TqnDataset *entry)
{
    if (entry && entry->parent() == &m_holder)
        delete entry;
}

void TqnDatasetTable::add(TqnDataset *entry)
{
    if (!entry)
        return;
    m_entries.removeIf([](const QPointer<TqnDataset> &p) { return p.isNull(); });
    qsizetype at = 0;
    while (at < m_entries.size()) {
        const int order = QString::compare(m_entries[at]->name(), entry->name(), Qt::CaseInsensitive);
        if (order == 0) {
            TqnDataset *old = m_entries[at];
            if (old == entry)
                return;
            m_entries[at] = entry;
            release(old);
            return;
        }
        if (order > 0)
            break;
        ++at;
    }
    m_entries.insert(at, entry);
}

void TqnDatasetTable::remove(TqnDataset *entry)
{
    if (m_entries.removeAll(entry) > 0)
        release(entry);
}

TqnDataset *TqnDatasetTable::find(const QString &name) const
{
    for (const auto &entry : m_entries)
        if (entry && entry->name().compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return nullptr;
}

void TqnDatasetTable::clear()
{
    const auto entries = std::exchange(m_entries, {});
    for (const auto &entry : entries)
        release(entry);
}
