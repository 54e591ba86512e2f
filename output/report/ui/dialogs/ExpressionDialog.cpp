#include "output/report/ui/dialogs/ExpressionDialog.h"

#include "output/report/expr/ExprFunctions.h"
#include "output/report/ui/dialogs/DialogParts.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace report;

ExpressionDialog::ExpressionDialog(const QString &expression, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Espressione"));
    auto *top = new QVBoxLayout(this);
    m_functions = new QTreeWidget(this);
    m_functions->setHeaderLabels({QStringLiteral("Funzione"), QStringLiteral("Sintassi")});
    QMap<int, QTreeWidgetItem *> categories;
    for (const ExprFunctionInfo &info : exprFunctions()) {
        QTreeWidgetItem *&category = categories[int(info.category)];
        if (!category) {
            category = new QTreeWidgetItem(m_functions, {exprCategoryName(info.category)});
            category->setExpanded(true);
        }
        auto *item = new QTreeWidgetItem(category, {info.name, info.signature});
        item->setData(0, Qt::UserRole, info.signature);
        item->setData(1, Qt::UserRole, info.description);
    }
    m_functions->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_description = new QLabel(this);
    m_description->setWordWrap(true);
    m_description->setMinimumHeight(36);
    m_expression = new QLineEdit(expression, this);
    auto *insert = new QPushButton(QStringLiteral("&Inserisci funzione"), this);
    top->addWidget(m_functions, 1);
    top->addWidget(m_description);
    auto *rule = new QLabel(exprArgumentRule(), this);
    rule->setWordWrap(true);
    top->addWidget(rule);
    top->addWidget(insert, 0, Qt::AlignLeft);
    top->addWidget(new QLabel(QStringLiteral("Espressione"), this));
    top->addWidget(m_expression);
    top->addWidget(report::dialogs::okCancel(this));
    connect(m_functions, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        m_description->setText(item ? item->data(1, Qt::UserRole).toString() : QString());
    });
    connect(m_functions, &QTreeWidget::itemDoubleClicked, this, &ExpressionDialog::insertChosenFunction);
    connect(insert, &QPushButton::clicked, this, &ExpressionDialog::insertChosenFunction);
    resize(560, 480);
}

void ExpressionDialog::insertChosenFunction()
{
    const QTreeWidgetItem *item = m_functions->currentItem();
    if (item && item->parent())
        m_expression->insert(item->data(0, Qt::UserRole).toString());
}

QString ExpressionDialog::insertion() const
{
    const QString text = m_expression->text().trimmed();
    return text.isEmpty() ? QString() : QLatin1Char('[') + text + QLatin1Char(']');
}
