#pragma once
// Shared pieces of the dataset tests: a people table in memory, a log of the dataset's
// events in order, and a data link that records what it is told.

#include "MemoryDataSet.h"

#include "db/TDataLink.h"
#include "db/TDataSource.h"
#include "db/TField.h"

#include <QStringList>
#include <memory>

// Columns: ID Integer, NAME String(30), ACTIVE Boolean, BORN Date, NOTES Memo.
// Rows named "P1".."Pn" with ids 1..n; NAME is required.
std::unique_ptr<MemoryDataSet> makePeople(int count);

// Records "BeforeOpen", "AfterPost", ... as the dataset fires them.
struct EventLog {
    explicit EventLog(TDataSet &dataSet);
    EventLog(const EventLog &) = delete;
    EventLog &operator=(const EventLog &) = delete;
    QStringList names;
    QString joined() const { return names.join(QLatin1Char(' ')); }
    void clear() { names.clear(); }
};

class RecordingLink : public TDataLink {
public:
    QStringList calls;
    QList<int> scrolls;
    int changes = 0;
    QString lastValue;   // NAME of the active record when last told of a change

protected:
    void activeChanged() override { calls << (active() ? "active" : "inactive"); }
    void dataSetChanged() override;
    void dataSetScrolled(int distance) override;
    void recordChanged(TField *field) override;
    void editingChanged() override { calls << (editing() ? "editing" : "browsing"); }
    void updateData() override { calls << "updateData"; }
    void checkBrowseMode() override { calls << "checkBrowseMode"; }
};
