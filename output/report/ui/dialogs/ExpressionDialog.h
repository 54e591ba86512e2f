#pragma once
// The expression builder: every function of the engine by category with its signature and
// description, and the expression being written. "&OK" gives it back in square brackets.

#include <QDialog>

class QLabel;
class QLineEdit;
class QTreeWidget;

class ExpressionDialog final : public QDialog {
    Q_OBJECT
public:
    explicit ExpressionDialog(const QString &expression = {}, QWidget *parent = nullptr);

    QTreeWidget *functions() const { return m_functions; }
    QLineEdit *expression() const { return m_expression; }
    QLabel *description() const { return m_description; }
    // The chosen function's signature goes into the expression at the cursor.
    void insertChosenFunction();
    // "[<expression>]", empty when the expression is.
    QString insertion() const;

private:
    QTreeWidget *m_functions;
    QLineEdit *m_expression;
    QLabel *m_description;
};
