#pragma once
// "Editor di testo": the lines of a text box, with insertion of variables, fields,
// expressions and formats, and the highlight attributes. Changes reach the text box on OK.

#include "output/report/model/TqnView.h"

#include <QDialog>

class QPlainTextEdit;
class TqnReport;

class TextEditorDialog final : public QDialog {
    Q_OBJECT
public:
    TextEditorDialog(TqnReport &report, TqnMemoView &memo, QWidget *parent = nullptr);

    QPlainTextEdit *editor() const { return m_editor; }
    // Typed at the cursor, replacing a selection.
    void insertText(const QString &text);
    // The highlight as it will be stored; "Evi&denzia" edits it.
    TqnMemoView &draft() { return m_draft; }

    void accept() override;

private:
    void chooseVariable();
    void chooseField();
    void chooseExpression();
    void chooseFormat();
    void chooseHighlight();

    TqnReport &m_report;
    TqnMemoView &m_memo;
    TqnMemoView m_draft;
    QPlainTextEdit *m_editor;
};
