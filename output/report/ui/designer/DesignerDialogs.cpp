#include "output/report/ui/designer/DesignerDialogs.h"

#include "output/report/ui/designer/CanvasPainter.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace {

// "Quarnel form (*.qnf)|*.qnf|..." as Qt writes it: "Quarnel form (*.qnf);;...".
QStringList qtFilters(const QString &filter)
{
    QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i];
    return filters;
}

QMessageBox::Icon boxIcon(TqnMessageIcon icon)
{
    switch (icon) {
    case TqnMessageIcon::Information: return QMessageBox::Information;
    case TqnMessageIcon::Warning: return QMessageBox::Warning;
    case TqnMessageIcon::Error: return QMessageBox::Critical;
    case TqnMessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

DesignerDialogs::Answer DesignerDialogs::askSave(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Attenzione"), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_owner);
    const int answer = box.exec();
    return answer == QMessageBox::Yes ? Answer::Yes : answer == QMessageBox::No ? Answer::No : Answer::Cancel;
}

bool DesignerDialogs::confirm(const QString &text, const QString &caption, bool noByDefault)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, m_owner);
    box.setDefaultButton(noByDefault ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void DesignerDialogs::message(const QString &text, const QString &caption, TqnMessageIcon icon)
{
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Ok, m_owner);
    box.exec();
}

QString DesignerDialogs::openFile(const QString &caption, const QString &filter)
{
    return QFileDialog::getOpenFileName(m_owner, caption, QString(), qtFilters(filter).join(QStringLiteral(";;")));
}

QString DesignerDialogs::saveFile(const QString &caption, const QString &filter, const QString &preset, int &filterIndex)
{
    const QStringList filters = qtFilters(filter);
    QString chosen = filters.value(filterIndex);
    const QString name = QFileDialog::getSaveFileName(m_owner, caption, preset, filters.join(QStringLiteral(";;")), &chosen);
    filterIndex = std::max<qsizetype>(0, filters.indexOf(chosen));
    return name;
}

QString DesignerDialogs::chooseInFolder(const QStringList &names)
{
    bool ok = false;
    const QString name = QInputDialog::getItem(m_owner, QStringLiteral("Apri report"), QStringLiteral("Report:"),
                                               names, 0, false, &ok);
    return ok ? name : QString();
}

QString DesignerDialogs::askName(const QString &preset)
{
    bool ok = false;
    const QString name = QInputDialog::getText(m_owner, QStringLiteral("Salva report"), QStringLiteral("Nome del report:"),
                                               QLineEdit::Normal, preset, &ok);
    return ok ? name.trimmed() : QString();
}

std::optional<int> DesignerDialogs::chooseItem(const QString &caption, const QString &label, const QStringList &items)
{
    bool ok = false;
    const QString item = QInputDialog::getItem(m_owner, caption, label, items, 0, false, &ok);
    if (!ok)
        return std::nullopt;
    return int(items.indexOf(item));
}

std::optional<quint32> DesignerDialogs::chooseColor(quint32 current)
{
    const QColor chosen = QColorDialog::getColor(canvaspainter::color(current), m_owner);
    if (!chosen.isValid())
        return std::nullopt;
    return canvaspainter::fromColor(chosen);
}

DesignerExtensions &DesignerExtensions::instance()
{
    static DesignerExtensions extensions;
    return extensions;
}
