#pragma once
// "Editor di variabili": report variables sorted into categories, each unassigned or bound to
// a dataset field, an expression or a system variable. The variable list keeps the tree: a
// category is a line starting with a blank, the variables under it follow by name.

#include <QDialog>

class QComboBox;
class QLineEdit;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class TqnReport;

class VariablesDialog final : public QDialog {
    Q_OBJECT
public:
    enum Binding { NotAssigned = 0, Field = 1, Expression = 2, System = 3 };

    explicit VariablesDialog(TqnReport &report, QWidget *parent = nullptr);

    QTreeWidget *tree() const { return m_tree; }
    QComboBox *binding() const { return m_binding; }
    QComboBox *dataSet() const { return m_dataSet; }
    QComboBox *field() const { return m_field; }
    QLineEdit *expression() const { return m_expression; }
    QComboBox *systemVariable() const { return m_system; }

    // The buttons' work once the name is known; null when the name is empty or taken.
    QTreeWidgetItem *addCategory(const QString &name);
    QTreeWidgetItem *addVariable(const QString &name);
    void removeCurrent();
    bool renameCurrent(const QString &name);

    void accept() override;

private:
    void load();
    void askName(bool category);
    void currentChanged();
    void dataSetChosen();
    void storeBinding();
    bool nameTaken(const QString &name, const QTreeWidgetItem *except) const;

    TqnReport &m_report;
    QTreeWidget *m_tree;
    QComboBox *m_binding, *m_dataSet, *m_field, *m_system;
    QLineEdit *m_expression;
    QStackedWidget *m_pages;
    bool m_loading = false;
};
