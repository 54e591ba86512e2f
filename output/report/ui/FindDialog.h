#pragma once
// "Trova testo.": the text to find, match case, match inside words, from the first or the
// current page, next or previous.

#include "output/report/ui/TextSearch.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

class FindDialog final : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(QWidget *parent = nullptr);

    void setRequest(const QString &text, const FindOptions &options);
    QString text() const;
    FindOptions options() const;

    QLineEdit *textEdit() const { return m_text; }

private:
    QLineEdit *m_text;
    QCheckBox *m_matchCase;
    QCheckBox *m_insideWords;
    QRadioButton *m_firstPage;
    QRadioButton *m_currentPage;
    QRadioButton *m_next;
    QRadioButton *m_previous;
};
