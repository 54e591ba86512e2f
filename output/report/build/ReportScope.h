#pragma once
// The names of a report's expressions, resolved in the engine's order: report variables,
// field references (Field, dataset.Field, window.dataset.Field), dataset names, system
// variables. A bare field name reads the record source of the band group being printed.

#include "output/report/expr/ExprScope.h"
#include "output/report/expr/ExprSystemValues.h"

#include <QHash>
#include <QPointer>
#include <QVariant>
#include <functional>

#include "db/TDataSet.h"
class TField;
class TqnLayout;

class ReportScope final : public report::ExprScope {
public:
    using GetValueEvent = std::function<void(const QString &name, QVariant &value)>;
    using UserFunctionEvent = std::function<void(const QString &name, const QVariantList &args, QVariant &result)>;

    ReportScope(const TqnLayout &layout, QString windowName, report::ExprSystemValues &system);

    void setOnGetValue(GetValueEvent event) { m_onGetValue = std::move(event); }
    void setOnUserFunction(UserFunctionEvent event) { m_onUserFunction = std::move(event); }
    // The table the band group being printed reads bare field names from (null: none).
    void setGroupSource(TDataSet *dataSet) { m_groupSource = dataSet; }
    void setStatistics(const report::ExprStatistics *statistics) { m_statistics = statistics; }

    std::optional<report::ExprValue> variable(const QString &name) override;
    std::optional<report::ExprValue> field(const report::ExprNameRef &ref) override;
    bool namesDataSet(const report::ExprNameRef &ref) override;
    std::optional<report::ExprValue> systemVariable(const QString &upperName) override;
    const report::ExprStatistics *statistics() const override { return m_statistics; }
    // A layout built in one pass has no page total yet: TOTALPAGES is then counted as held
    // (and answers what a counting first pass would, the total so far: 0).
    void holdPageTotal(bool on) { m_holdPageTotal = on; m_pageTotalsAsked = 0; }
    int heldValuesAsked() const override { return m_pageTotalsAsked; }
    std::optional<report::ExprValue> userFunction(const QString &name, const QList<report::ExprValue> &args) override;

    // A dataset named as a variable binds it: "window.dataset" through the component
    // lookup, a bare name on the report's window (then the layout's record sources).
    TDataSet *dataSetNamed(const QString &name) const;

    static report::ExprValue valueOf(const TField &field);
    // The bytes of the field a picture names ("Anagrafica.\"Foto\"", brackets dropped);
    // empty when there is no such field or it is null.
    QByteArray fieldBytes(const QString &reference);

private:
    TDataSet *onReportWindow(const QString &name) const;
    std::optional<report::ExprValue> fieldOf(TDataSet *dataSet, const QString &name);
    TField *fieldNamed(TDataSet *dataSet, const QString &name);

    const quint64 m_serial;   // tells this scope's findings kept with the names from another's
    const TqnLayout &m_layout;
    QString m_windowName;
    report::ExprSystemValues &m_system;
    GetValueEvent m_onGetValue;
    UserFunctionEvent m_onUserFunction;
    QPointer<TDataSet> m_groupSource;
    const report::ExprStatistics *m_statistics = nullptr;
    int m_depth = 0;   // variables whose expressions name variables
    bool m_holdPageTotal = false;
    int m_pageTotalsAsked = 0;
    // The field each name read in each dataset, found once rather than on every record.
    using FieldKey = std::pair<TDataSet *, QString>;
    QHash<FieldKey, QPointer<TField>> m_fields;
};
