#pragma once
// Record sources of a layout. A plain TqnDataset has no records of its own and only counts;
// a TqnDBDataSet walks a table dataset of a window through the dataset contract. The run
// state (saved record number, whether the run opened the table or detached its controls,
// the record counter) lives here for the length of one data band.

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

#include "db/TDataSet.h"

enum class TqnRangeBegin : quint8 { rbFirst = 0, rbCurrent = 1 };
enum class TqnRangeEnd : quint8 { reLast = 0, reCurrent = 1, reCount = 2 };

class TqnDataset : public QObject {
    Q_OBJECT
public:
    explicit TqnDataset(QObject *owner = nullptr) : QObject(owner) {}

    QString name() const { return objectName(); }
    void setName(const QString &name) { setObjectName(name); }
    virtual bool isBound() const { return false; }

    TqnRangeBegin RangeBegin = TqnRangeBegin::rbFirst;
    TqnRangeEnd RangeEnd = TqnRangeEnd::reLast;
    qint32 RangeEndCount = 0;

    // Events, called only when assigned.
    std::function<void(TqnDataset &, bool &eof)> OnCheckEOF;
    std::function<void(TqnDataset &)> OnFirst, OnNext, OnPrior;

    // --- one run over the records -----------------------------------------------------
    // Init returns the error text, empty when the entry is ready.
    virtual QString init() { m_recordCount = 0; return QString(); }
    virtual void first();
    virtual void next();
    virtual void prior();
    virtual bool eof() const;
    virtual void exit() {}
    int recordCount() const { return m_recordCount; }
    // Footers show the last record printed: the builder marks each printed record, moves
    // onto the last one for a footer and back where it was after.
    virtual void markPrinted() {}
    virtual void toLastPrinted() { prior(); }
    virtual void backFromLastPrinted() { ++m_recordCount; }

protected:
    int m_recordCount = 0;
};

class TqnDBDataSet final : public TqnDataset {
    Q_OBJECT
public:
    explicit TqnDBDataSet(QObject *owner = nullptr) : TqnDataset(owner) {}

    bool isBound() const override { return true; }
    TDataSet *DataSet() const { return m_dataSet.data(); }
    void setDataSet(TDataSet *dataSet) { m_dataSet = dataSet; }
    // "frm_main.Anagrafica": the window's name, a point, the component's name.
    QString ComponentText;

    bool Filtered = false;
    QString Filter;
    bool DisableDataSetControls = true;   // taken from the report at each run

    // Evaluates the filter on the current record; throws on an invalid expression.
    std::function<bool(const QString &expression)> filterCheck;

    QString init() override;
    void first() override;
    void next() override;
    void prior() override;
    bool eof() const override;
    void exit() override;
    void markPrinted() override;
    void toLastPrinted() override;
    void backFromLastPrinted() override;
    // "Dataset chiuso: " + component while a run finds the table closed; empty otherwise.
    QString closedError() const;

private:
    void applyFilterForward();
    QString componentName() const;

    QPointer<TDataSet> m_dataSet;
    int m_savedRecNo = 0;
    bool m_openedByRun = false;
    bool m_detachedByRun = false;
    bool m_endNoted = false;
    TBookmark m_lastPrinted;
    TBookmark m_resumeAt;
    bool m_resumeAtEnd = false;
};
