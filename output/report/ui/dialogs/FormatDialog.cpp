#include "output/report/ui/dialogs/FormatDialog.h"

#include "output/report/ui/dialogs/DialogParts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

FormatDialog::FormatDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Formatta"));
    auto *form = new QFormLayout(this);
    m_kind = new QComboBox(this);
    m_kind->addItem(QStringLiteral("Numero"), QStringLiteral("#,##0.00"));
    m_kind->addItem(QStringLiteral("Data e ora"), QStringLiteral("dd/mm/yyyy"));
    m_format = new QLineEdit(m_kind->currentData().toString(), this);
    form->addRow(QStringLiteral("Tipo"), m_kind);
    form->addRow(QStringLiteral("Formato"), m_format);
    form->addRow(report::dialogs::okCancel(this));
    connect(m_kind, &QComboBox::currentIndexChanged, this,
            [this] { m_format->setText(m_kind->currentData().toString()); });
}

QString FormatDialog::wrap(const QString &selected) const
{
    QString inner = selected.trimmed();
    if (inner.startsWith(QLatin1Char('[')) && inner.endsWith(QLatin1Char(']')))
        inner = inner.mid(1, inner.size() - 2);
    QString format = m_format->text();
    format.replace(QLatin1Char('\''), QStringLiteral("''"));
    const QString function = m_kind->currentIndex() == 0 ? QStringLiteral("FORMATFLOAT")
                                                         : QStringLiteral("FORMATDATETIME");
    return QStringLiteral("[%1('%2'; %3)]").arg(function, format, inner);
}
