#pragma once
// "Formatta": how a value prints, written into the text as the engine's formatting function
// around the expression, so that what the preview shows is what the text says.

#include <QDialog>

class QComboBox;
class QLineEdit;

class FormatDialog final : public QDialog {
    Q_OBJECT
public:
    explicit FormatDialog(QWidget *parent = nullptr);

    QComboBox *kind() const { return m_kind; }       // "Numero" or "Data e ora"
    QLineEdit *format() const { return m_format; }
    // `[X]` becomes `[FORMATFLOAT('#,##0.00'; X)]`; a text that is no bracketed expression
    // is taken as the expression itself.
    QString wrap(const QString &selected) const;

private:
    QComboBox *m_kind;
    QLineEdit *m_format;
};
