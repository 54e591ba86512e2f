#include "output/report/ui/FindDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QGroupBox *group(const QString &title, QWidget *a, QWidget *b, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(a);
    layout->addWidget(b);
    return box;
}

} // namespace

FindDialog::FindDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Trova testo."));
    m_text = new QLineEdit(this);
    auto *label = new QLabel(QStringLiteral("&Testo da trovare"), this);
    label->setBuddy(m_text);
    m_matchCase = new QCheckBox(QStringLiteral("&Maiuscole/minuscole"), this);
    m_insideWords = new QCheckBox(QStringLiteral("&Parte di una parola"), this);
    m_firstPage = new QRadioButton(QStringLiteral("P&rima pagina"), this);
    m_currentPage = new QRadioButton(QStringLiteral("Pagina &corrente"), this);
    m_next = new QRadioButton(QStringLiteral("&Successivo"), this);
    m_previous = new QRadioButton(QStringLiteral("Pr&ecedente"), this);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("&Annulla"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Nothing to look for: OK stays off.
    connect(m_text, &QLineEdit::textChanged, ok, [ok](const QString &t) { ok->setEnabled(!t.isEmpty()); });
    ok->setEnabled(false);

    auto *grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0, 1, 3);
    grid->addWidget(m_text, 1, 0, 1, 3);
    grid->addWidget(group(QStringLiteral("Opzioni"), m_matchCase, m_insideWords, this), 2, 0);
    grid->addWidget(group(QStringLiteral("Origine"), m_firstPage, m_currentPage, this), 2, 1);
    grid->addWidget(group(QStringLiteral("Direzione"), m_next, m_previous, this), 2, 2);
    grid->addWidget(buttons, 3, 0, 1, 3);
    setRequest(QString(), FindOptions());
}

void FindDialog::setRequest(const QString &text, const FindOptions &options)
{
    m_text->setText(text);
    m_text->selectAll();
    m_matchCase->setChecked(options.matchCase);
    m_insideWords->setChecked(options.insideWords);
    (options.fromFirstPage ? m_firstPage : m_currentPage)->setChecked(true);
    (options.forward ? m_next : m_previous)->setChecked(true);
}

QString FindDialog::text() const
{
    return m_text->text();
}

FindOptions FindDialog::options() const
{
    FindOptions o;
    o.matchCase = m_matchCase->isChecked();
    o.insideWords = m_insideWords->isChecked();
    o.fromFirstPage = m_firstPage->isChecked();
    o.forward = m_next->isChecked();
    return o;
}
