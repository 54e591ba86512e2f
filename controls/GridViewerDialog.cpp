#include "controls/GridViewerDialog.h"

#include "platform/OutputFile.h"

#include <QFileInfo>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

GridViewerDialog::GridViewerDialog(QWidget *parent, const QString &label, const QString &text, bool editable)
    : QDialog(parent)
{
    m_text = new QPlainTextEdit(this);
    m_text->setPlainText(text);
    m_text->setReadOnly(!editable);
    build(label, m_text);
}

GridViewerDialog::GridViewerDialog(QWidget *parent, const QString &label, const QImage &picture)
    : QDialog(parent), m_picture(picture)
{
    auto *area = new QScrollArea(this);
    auto *view = new QLabel(area);
    view->setPixmap(QPixmap::fromImage(picture));
    area->setWidget(view);
    area->setAlignment(Qt::AlignCenter);
    build(label, area);
}

void GridViewerDialog::build(const QString &label, QWidget *content)
{
    setWindowTitle(QStringLiteral("Field: %1").arg(label));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    const auto add = [&](const QString &caption, const std::function<void()> &action) {
        auto *button = new QPushButton(caption, this);
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
        m_buttons.append(button);
        return button;
    };
    add(QStringLiteral("&Ok"), [this] { accept(); })->setDefault(true);
    add(QStringLiteral("&Cancel"), [this] { reject(); });
    add(QStringLiteral("&Save As"), [this] { saveAs(); });
    add(QStringLiteral("&Print"), [this] {
        if (onPrint)
            onPrint(text(), m_picture);
    });
    auto *column = new QVBoxLayout(this);
    column->addWidget(content, 1);
    column->addLayout(buttons);
    resize(420, 300);
}

QString GridViewerDialog::text() const { return m_text ? m_text->toPlainText() : QString(); }

QPushButton *GridViewerDialog::button(const QString &caption) const
{
    for (QPushButton *button : m_buttons) {
        if (button->text() == caption)
            return button;
    }
    return nullptr;
}

void GridViewerDialog::saveAs()
{
    const QString name = QFileDialog::getSaveFileName(this, windowTitle());
    if (name.isEmpty())
        return;
    if (!m_picture.isNull()) {
        // The temporary name has no extension: the format comes from the chosen one.
        const QByteArray format = QFileInfo(name).suffix().toLatin1();
        platform::writeThroughTemporary(name, [&](const QString &temporary) {
            return m_picture.save(temporary, format.isEmpty() ? nullptr : format.constData());
        });
        return;
    }
    platform::writeOutputBytes(name, text().toUtf8());
}
