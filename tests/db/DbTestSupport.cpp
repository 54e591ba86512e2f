#include "DbTestSupport.h"

#include "db/TDataSet.h"

std::unique_ptr<MemoryDataSet> makePeople(int count)
{
    auto ds = std::make_unique<MemoryDataSet>(std::vector<MemoryDataSet::Column>{
        {"ID", TFieldType::ftInteger, 0, false, {}},
        {"NAME", TFieldType::ftString, 30, true, {}},
        {"ACTIVE", TFieldType::ftBoolean, 0, false, "True"},
        {"BORN", TFieldType::ftDate, 0, false, {}},
        {"NOTES", TFieldType::ftMemo, 0, false, {}},
    });
    for (int i = 1; i <= count; ++i)
        ds->addRow({QString::number(i), QStringLiteral("P%1").arg(i), "True", {}, {}});
    return ds;
}

EventLog::EventLog(TDataSet &ds)
{
    const auto hook = [this](TDataSet::TDataSetNotifyEvent &event, const char *name) {
        event = [this, name](TDataSet &) { names << QString::fromLatin1(name); };
    };
    hook(ds.BeforeOpen, "BeforeOpen");
    hook(ds.AfterOpen, "AfterOpen");
    hook(ds.BeforeClose, "BeforeClose");
    hook(ds.AfterClose, "AfterClose");
    hook(ds.BeforeInsert, "BeforeInsert");
    hook(ds.AfterInsert, "AfterInsert");
    hook(ds.BeforeEdit, "BeforeEdit");
    hook(ds.AfterEdit, "AfterEdit");
    hook(ds.BeforePost, "BeforePost");
    hook(ds.AfterPost, "AfterPost");
    hook(ds.BeforeCancel, "BeforeCancel");
    hook(ds.AfterCancel, "AfterCancel");
    hook(ds.BeforeDelete, "BeforeDelete");
    hook(ds.AfterDelete, "AfterDelete");
    hook(ds.BeforeScroll, "BeforeScroll");
    hook(ds.AfterScroll, "AfterScroll");
    hook(ds.OnNewRecord, "OnNewRecord");
}

void RecordingLink::dataSetChanged()
{
    calls << "dataSetChanged";
    recordChanged(nullptr);
}

void RecordingLink::dataSetScrolled(int distance)
{
    scrolls << distance;
    recordChanged(nullptr);
}

void RecordingLink::recordChanged(TField *field)
{
    ++changes;
    if (field)
        calls << "fieldChanged:" + field->fieldName();
    if (TDataSet *ds = dataSet(); ds && ds->findField("NAME"))
        lastValue = ds->fieldByName("NAME")->asString();
}
