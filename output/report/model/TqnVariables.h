#pragma once
// Report variables (`Values`): names compared without regard to case, each unassigned,
// bound to a dataset field, or other (an expression or a system variable's name).

#include <QString>
#include <vector>

enum class TqnVariableKind : quint8 { vkNotAssigned = 0, vkField = 1, vkOther = 2 };

struct TqnVariable {
    QString Name;
    TqnVariableKind Kind = TqnVariableKind::vkNotAssigned;
    QString DataSet;   // field-bound: "Anagrafica" or "frm_main.Anagrafica"
    QString Field;     // field-bound: the field's name
    QString Text;      // other: the expression or system variable's name

    bool operator==(const TqnVariable &) const = default;
};

class TqnVariables final {
public:
    const std::vector<TqnVariable> &items() const { return m_items; }
    const TqnVariable *find(const QString &name) const;
    // Adds, or replaces the variable of the same name.
    void set(const TqnVariable &variable);
    void clear() { m_items.clear(); }
    bool operator==(const TqnVariables &) const = default;

private:
    std::vector<TqnVariable> m_items;
};
