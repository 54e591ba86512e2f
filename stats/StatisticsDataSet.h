#pragma once
// The statistics as a dataset a layout can name ("frm_main.Statistiche"): one read-only
// record per figure, with the fields Sezione, Voce, Valore and Data_riferimento. The
// figures are counted afresh each time the dataset opens, over the cards the card dataset
// accepts at that moment, so a list printed with band or search criteria counts only the
// cards they select.

#include "db/TDataSet.h"
#include "stats/ArchiveStatistics.h"

#include <functional>

class TArcDatabase;

class StatisticsDataSet final : public TDataSet {
    Q_OBJECT
public:
    StatisticsDataSet(TDataSet &cards, TArcDatabase &database, QObject *owner = nullptr);
    ~StatisticsDataSet() override;

    // The date ages and expiries are counted at; an invalid date (the default) means today
    // by the clock at each opening.
    void setReferenceDate(const QDate &date) { m_at = date; }
    const QDate &referenceDate() const { return m_at; }
    void setClock(std::function<QDate()> clock) { m_clock = std::move(clock); }

    int recordCount() override { return int(m_rows.size()); }
    int recNo() override;
    bool bookmarkValid(const TBookmark &bookmark) override;

protected:
    void internalOpen() override;
    void internalClose() override;
    bool isCursorOpen() const override { return m_open; }
    TGetResult getRecord(TRecordBuffer &buffer, TGetMode mode, bool doCheck) override;
    void internalFirst() override { m_cursor = -1; m_onCrack = true; }
    void internalLast() override { m_cursor = int(m_rows.size()) - 1; m_onCrack = true; }
    void internalSetToRecord(const TRecordBuffer &buffer) override;
    void internalGotoBookmark(const TBookmark &bookmark) override;
    void internalInitRecord(TRecordBuffer &buffer) override;
    void internalPost() override;
    void internalDelete() override;
    void internalRefresh() override {}

private:
    bool load(TRecordBuffer &buffer, int row);
    void moveTo(int row);

    TDataSet &m_cards;
    TArcDatabase &m_database;
    QDate m_at;
    std::function<QDate()> m_clock;
    std::vector<StatisticsRow> m_rows;
    QString m_dateText;
    bool m_open = false;
    int m_cursor = -1;      // the row, or the row before the crack
    bool m_onCrack = true;
};
