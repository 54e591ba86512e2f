#pragma once
// A scope over fixed names: for checking expressions without data (the designer's
// expression test), the fuzz target and the tests.

#include "output/report/expr/ExprScope.h"
#include "output/report/expr/ExprSystemValues.h"

#include <QHash>

namespace report {

class ExprMapScope : public ExprScope {
public:
    void setVariable(const QString &name, const ExprValue &value);
    // Under the name as written without quotes: "Cognome", "Anagrafica.Cognome",
    // "frm_main.Anagrafica.Cognome" (window, dataset and field compared without regard to case).
    void setField(const QString &name, const ExprValue &value);
    void addDataSet(const QString &name);   // "Anagrafica" or "frm_main.Anagrafica"
    void setStatistics(const ExprStatistics *statistics) { m_statistics = statistics; }
    ExprSystemValues &system() { return m_system; }

    std::optional<ExprValue> variable(const QString &name) override;
    std::optional<ExprValue> field(const ExprNameRef &ref) override;
    bool namesDataSet(const ExprNameRef &ref) override;
    std::optional<ExprValue> systemVariable(const QString &upperName) override;
    const ExprStatistics *statistics() const override { return m_statistics; }

private:
    QHash<QString, ExprValue> m_variables;   // keys in upper case
    QHash<QString, ExprValue> m_fields;
    QHash<QString, bool> m_dataSets;
    ExprSystemValues m_system;
    const ExprStatistics *m_statistics = nullptr;
};

} // namespace report
