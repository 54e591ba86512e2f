#include "output/report/ui/dialogs/TextEditorDialog.h"

#include "output/report/TqnReport.h"
#include "output/report/ui/dialogs/DialogParts.h"
#include "output/report/ui/dialogs/ExpressionDialog.h"
#include "output/report/ui/dialogs/FieldInsertDialog.h"
#include "output/report/ui/dialogs/FormatDialog.h"
#include "output/report/ui/dialogs/HighlightDialog.h"

#include <QHBoxLayout>
#include <QInputDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TextEditorDialog::TextEditorDialog(TqnReport &report, TqnMemoView &memo, QWidget *parent)
    : QDialog(parent), m_report(report), m_memo(memo), m_draft(memo)
{
    setWindowTitle(QStringLiteral("Editor di testo"));
    auto *top = new QVBoxLayout(this);
    auto *tools = new QHBoxLayout;
    const auto button = [&](const QString &caption, void (TextEditorDialog::*handler)()) {
        auto *b = new QPushButton(caption, this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        tools->addWidget(b);
        return b;
    };
    // A layout without variables has none to offer.
    button(QStringLiteral("&Variabile"), &TextEditorDialog::chooseVariable)->setEnabled(!report.layout().Values.items().empty());
    button(QStringLiteral("&Campo DB"), &TextEditorDialog::chooseField);
    button(QStringLiteral("&Espressione"), &TextEditorDialog::chooseExpression);
    button(QStringLiteral("&Formatta"), &TextEditorDialog::chooseFormat);
    button(QStringLiteral("Evi&denzia"), &TextEditorDialog::chooseHighlight);
    tools->addStretch();
    m_editor = new QPlainTextEdit(this);
    m_editor->setPlainText(memo.Memo.join(QLatin1Char('\n')));
    top->addLayout(tools);
    top->addWidget(m_editor, 1);
    top->addWidget(report::dialogs::okCancel(this));
    resize(560, 320);
}

void TextEditorDialog::insertText(const QString &text)
{
    m_editor->textCursor().insertText(text);
}

void TextEditorDialog::chooseVariable()
{
    QStringList names;
    for (const TqnVariable &variable : m_report.layout().Values.items())
        names << variable.Name;
    if (names.isEmpty())
        return;
    bool ok = false;
    const QString name = QInputDialog::getItem(this, QStringLiteral("Variabile"), QStringLiteral("Variabili"), names,
                                               0, false, &ok);
    if (ok && !name.isEmpty())
        insertText(QLatin1Char('[') + name + QLatin1Char(']'));
}

void TextEditorDialog::chooseField()
{
    FieldInsertDialog dialog(m_report, this);
    if (dialog.exec() == QDialog::Accepted && !dialog.insertion().isEmpty())
        insertText(dialog.insertion());
}

void TextEditorDialog::chooseExpression()
{
    ExpressionDialog dialog({}, this);
    if (dialog.exec() == QDialog::Accepted && !dialog.insertion().isEmpty())
        insertText(dialog.insertion());
}

void TextEditorDialog::chooseFormat()
{
    FormatDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted)
        insertText(dialog.wrap(m_editor->textCursor().selectedText()));
}

void TextEditorDialog::chooseHighlight()
{
    HighlightDialog dialog(m_draft, this);
    dialog.exec();
}

void TextEditorDialog::accept()
{
    m_memo.Memo = m_editor->toPlainText().split(QLatin1Char('\n'));
    m_memo.HighlightCondition = m_draft.HighlightCondition;
    m_memo.HighlightFontStyle = m_draft.HighlightFontStyle;
    m_memo.HighlightFontColor = m_draft.HighlightFontColor;
    m_memo.HighlightFillColor = m_draft.HighlightFillColor;
    QDialog::accept();
}
