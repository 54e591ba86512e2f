#include "output/report/ui/dialogs/VariablesDialog.h"

#include "output/report/TqnReport.h"
#include "output/report/expr/ExprSystemValues.h"
#include "output/report/ui/dialogs/DialogParts.h"
#include "output/report/ui/dialogs/ReportSources.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Role { IsCategory = Qt::UserRole, Kind, DataSetRole, FieldRole, TextRole };

bool isSystemName(const QString &text)
{
    for (const report::ExprSystemVariable &variable : report::exprSystemVariables())
        if (variable.name.compare(text, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

VariablesDialog::VariablesDialog(TqnReport &report, QWidget *parent) : QDialog(parent), m_report(report)
{
    setWindowTitle(QStringLiteral("Editor di variabili"));
    auto *grid = new QGridLayout(this);
    m_tree = new QTreeWidget(this);
    m_tree->setHeaderLabel(QStringLiteral("Variabili"));
    grid->addWidget(m_tree, 0, 0, 2, 1);

    auto *buttons = new QVBoxLayout;
    const auto button = [&](const QString &caption, auto handler) {
        auto *b = new QPushButton(caption, this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        buttons->addWidget(b);
    };
    button(QStringLiteral("Nuova categoria"), [this] { askName(true); });
    button(QStringLiteral("Nuova variabile"), [this] { askName(false); });
    button(QStringLiteral("Elimina elemento"), [this] { removeCurrent(); });
    button(QStringLiteral("Modifica elemento"), [this] {
        QTreeWidgetItem *item = m_tree->currentItem();
        if (!item)
            return;
        bool ok = false;
        const QString name = QInputDialog::getText(this, QStringLiteral("Modifica elemento"), QStringLiteral("Nome"),
                                                   QLineEdit::Normal, item->text(0), &ok);
        if (ok)
            renameCurrent(name);
    });
    buttons->addStretch();
    grid->addLayout(buttons, 0, 1);

    auto *bindingForm = new QFormLayout;
    m_binding = new QComboBox(this);
    m_binding->addItems({QStringLiteral("Non assegnata"), QStringLiteral("Campo DB"), QStringLiteral("Espressione"),
                         QStringLiteral("Variabile di sistema")});
    bindingForm->addRow(QStringLiteral("Valore"), m_binding);
    m_pages = new QStackedWidget(this);
    m_pages->addWidget(new QWidget(m_pages));
    auto *fieldPage = new QWidget(m_pages);
    auto *fieldForm = new QFormLayout(fieldPage);
    m_dataSet = new QComboBox(fieldPage);
    m_dataSet->addItems(report::dialogs::availableDataSets(report));
    m_field = new QComboBox(fieldPage);
    fieldForm->addRow(QStringLiteral("DB"), m_dataSet);
    fieldForm->addRow(QStringLiteral("Campo"), m_field);
    m_pages->addWidget(fieldPage);
    auto *expressionPage = new QWidget(m_pages);
    auto *expressionForm = new QFormLayout(expressionPage);
    m_expression = new QLineEdit(expressionPage);
    expressionForm->addRow(QStringLiteral("Espressione"), m_expression);
    m_pages->addWidget(expressionPage);
    auto *systemPage = new QWidget(m_pages);
    auto *systemForm = new QFormLayout(systemPage);
    m_system = new QComboBox(systemPage);
    for (const report::ExprSystemVariable &variable : report::exprSystemVariables())
        m_system->addItem(variable.label, variable.name);
    systemForm->addRow(QStringLiteral("Variabile"), m_system);
    m_pages->addWidget(systemPage);
    bindingForm->addRow(m_pages);
    grid->addLayout(bindingForm, 1, 1);
    grid->addWidget(report::dialogs::okCancel(this), 2, 0, 1, 2);

    load();
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &VariablesDialog::currentChanged);
    connect(m_binding, &QComboBox::currentIndexChanged, this, &VariablesDialog::storeBinding);
    connect(m_dataSet, &QComboBox::currentIndexChanged, this, &VariablesDialog::dataSetChosen);
    connect(m_field, &QComboBox::currentIndexChanged, this, &VariablesDialog::storeBinding);
    connect(m_system, &QComboBox::currentIndexChanged, this, &VariablesDialog::storeBinding);
    connect(m_expression, &QLineEdit::textEdited, this, &VariablesDialog::storeBinding);
    dataSetChosen();
    currentChanged();
    resize(560, 360);
}

void VariablesDialog::load()
{
    const TqnLayout &layout = m_report.layout();
    QTreeWidgetItem *category = nullptr;
    QStringList listed;
    const auto addListed = [&](const QString &name) {
        const TqnVariable *variable = layout.Values.find(name);
        auto *item = category ? new QTreeWidgetItem(category, {name}) : new QTreeWidgetItem(m_tree, {name});
        item->setData(0, IsCategory, false);
        if (variable) {
            const bool system = variable->Kind == TqnVariableKind::vkOther && isSystemName(variable->Text);
            item->setData(0, Kind, variable->Kind == TqnVariableKind::vkField ? Field
                                   : variable->Kind == TqnVariableKind::vkOther ? (system ? System : Expression)
                                                                                : NotAssigned);
            item->setData(0, DataSetRole, variable->DataSet);
            item->setData(0, FieldRole, variable->Field);
            item->setData(0, TextRole, variable->Text);
        }
        listed << name.toUpper();
    };
    for (const QString &line : layout.VariableList) {
        if (line.startsWith(QLatin1Char(' '))) {
            category = new QTreeWidgetItem(m_tree, {line.trimmed()});
            category->setData(0, IsCategory, true);
            category->setExpanded(true);
        } else if (!line.isEmpty() && !listed.contains(line.toUpper())) {
            addListed(line);
        }
    }
    // Variables a file holds outside the list still show, at the end.
    category = nullptr;
    for (const TqnVariable &variable : layout.Values.items())
        if (!listed.contains(variable.Name.toUpper()))
            addListed(variable.Name);
}

void VariablesDialog::askName(bool category)
{
    bool ok = false;
    const QString name = QInputDialog::getText(this, category ? QStringLiteral("Nuova categoria")
                                                              : QStringLiteral("Nuova variabile"),
                                               QStringLiteral("Nome"), QLineEdit::Normal, QString(), &ok);
    if (ok)
        category ? addCategory(name) : addVariable(name);
}

bool VariablesDialog::nameTaken(const QString &name, const QTreeWidgetItem *except) const
{
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        if (*it != except && (*it)->text(0).compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QTreeWidgetItem *VariablesDialog::addCategory(const QString &name)
{
    if (name.trimmed().isEmpty() || nameTaken(name.trimmed(), nullptr))
        return nullptr;
    auto *item = new QTreeWidgetItem(m_tree, {name.trimmed()});
    item->setData(0, IsCategory, true);
    item->setExpanded(true);
    m_tree->setCurrentItem(item);
    return item;
}

QTreeWidgetItem *VariablesDialog::addVariable(const QString &name)
{
    if (name.trimmed().isEmpty() || nameTaken(name.trimmed(), nullptr))
        return nullptr;
    QTreeWidgetItem *current = m_tree->currentItem();
    QTreeWidgetItem *category = !current ? nullptr : current->data(0, IsCategory).toBool() ? current : current->parent();
    auto *item = category ? new QTreeWidgetItem(category, {name.trimmed()})
                          : new QTreeWidgetItem(m_tree, {name.trimmed()});
    item->setData(0, IsCategory, false);
    item->setData(0, Kind, NotAssigned);
    m_tree->setCurrentItem(item);
    return item;
}

void VariablesDialog::removeCurrent()
{
    delete m_tree->currentItem();   // a category goes with its variables
    currentChanged();
}

bool VariablesDialog::renameCurrent(const QString &name)
{
    QTreeWidgetItem *item = m_tree->currentItem();
    if (!item || name.trimmed().isEmpty() || nameTaken(name.trimmed(), item))
        return false;
    item->setText(0, name.trimmed());
    return true;
}

void VariablesDialog::currentChanged()
{
    const QTreeWidgetItem *item = m_tree->currentItem();
    const bool variable = item && !item->data(0, IsCategory).toBool();
    m_binding->setEnabled(variable);
    m_pages->setEnabled(variable);
    m_loading = true;
    const int kind = variable ? item->data(0, Kind).toInt() : NotAssigned;
    m_binding->setCurrentIndex(kind);
    m_pages->setCurrentIndex(kind);
    if (variable && kind == Field) {
        m_dataSet->setCurrentIndex(m_dataSet->findText(item->data(0, DataSetRole).toString(), Qt::MatchFixedString));
        dataSetChosen();
        m_field->setCurrentIndex(m_field->findText(item->data(0, FieldRole).toString(), Qt::MatchFixedString));
    }
    m_expression->setText(variable && kind == Expression ? item->data(0, TextRole).toString() : QString());
    if (variable && kind == System)
        m_system->setCurrentIndex(qMax(0, m_system->findData(item->data(0, TextRole).toString().toUpper())));
    m_loading = false;
}

void VariablesDialog::dataSetChosen()
{
    const bool wasLoading = m_loading;
    m_loading = true;
    m_field->clear();
    m_field->addItems(report::dialogs::fieldNames(report::dialogs::dataSetOf(m_report, m_dataSet->currentText())));
    m_loading = wasLoading;
    storeBinding();
}

void VariablesDialog::storeBinding()
{
    QTreeWidgetItem *item = m_tree->currentItem();
    if (m_loading || !item || item->data(0, IsCategory).toBool())
        return;
    const int kind = m_binding->currentIndex();
    m_pages->setCurrentIndex(kind);
    item->setData(0, Kind, kind);
    item->setData(0, DataSetRole, kind == Field ? m_dataSet->currentText() : QString());
    item->setData(0, FieldRole, kind == Field ? m_field->currentText() : QString());
    item->setData(0, TextRole, kind == Expression ? m_expression->text().trimmed()
                               : kind == System   ? m_system->currentData().toString()
                                                  : QString());
}

void VariablesDialog::accept()
{
    TqnLayout &layout = m_report.layout();
    layout.Values.clear();
    layout.VariableList.clear();
    // Variables outside any category come first, so that reading the list back puts none of
    // them under the category before.
    QList<const QTreeWidgetItem *> order;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
        if (!m_tree->topLevelItem(i)->data(0, IsCategory).toBool())
            order << m_tree->topLevelItem(i);
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *category = m_tree->topLevelItem(i);
        if (!category->data(0, IsCategory).toBool())
            continue;
        order << category;
        for (int j = 0; j < category->childCount(); ++j)
            order << category->child(j);
    }
    for (const QTreeWidgetItem *item : order) {
        if (item->data(0, IsCategory).toBool()) {
            layout.VariableList << QLatin1Char(' ') + item->text(0);
            continue;
        }
        TqnVariable variable;
        variable.Name = item->text(0);
        const int kind = item->data(0, Kind).toInt();
        variable.Kind = kind == Field ? TqnVariableKind::vkField
                        : kind == NotAssigned ? TqnVariableKind::vkNotAssigned
                                              : TqnVariableKind::vkOther;
        variable.DataSet = item->data(0, DataSetRole).toString();
        variable.Field = item->data(0, FieldRole).toString();
        variable.Text = item->data(0, TextRole).toString();
        layout.Values.set(variable);
        layout.VariableList << variable.Name;
    }
    QDialog::accept();
}
