#include "output/report/ui/dialogs/HighlightDialog.h"

#include "output/report/model/TqnView.h"
#include "output/report/ui/dialogs/DialogParts.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Layout colours are blue-green-red integers.
QColor fromBgr(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

quint32 toBgr(const QColor &color)
{
    return quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16);
}

} // namespace

HighlightDialog::HighlightDialog(TqnMemoView &memo, QWidget *parent)
    : QDialog(parent), m_memo(memo), m_font(memo.HighlightFontColor), m_fill(memo.HighlightFillColor)
{
    setWindowTitle(QStringLiteral("Attributi evidenziatura"));
    auto *form = new QFormLayout(this);
    m_condition = new QLineEdit(memo.HighlightCondition, this);
    m_condition->setMinimumWidth(280);
    form->addRow(QStringLiteral("Condizione"), m_condition);
    m_bold = new QCheckBox(QStringLiteral("Grassetto"), this);
    m_italic = new QCheckBox(QStringLiteral("Corsivo"), this);
    m_underline = new QCheckBox(QStringLiteral("Sottolineato"), this);
    m_bold->setChecked(memo.HighlightFontStyle & fsBold);
    m_italic->setChecked(memo.HighlightFontStyle & fsItalic);
    m_underline->setChecked(memo.HighlightFontStyle & fsUnderline);
    auto *styles = new QHBoxLayout;
    styles->addWidget(m_bold);
    styles->addWidget(m_italic);
    styles->addWidget(m_underline);
    form->addRow(QStringLiteral("Carattere"), styles);
    m_fontColor = new QPushButton(this);
    m_fillColor = new QPushButton(this);
    form->addRow(QStringLiteral("Colore carattere"), m_fontColor);
    form->addRow(QStringLiteral("Colore sfondo"), m_fillColor);
    form->addRow(report::dialogs::okCancel(this));
    connect(m_fontColor, &QPushButton::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(fromBgr(m_font), this, QStringLiteral("Colore carattere"));
        if (chosen.isValid())
            setFontColor(toBgr(chosen));
    });
    connect(m_fillColor, &QPushButton::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(fromBgr(m_fill == kColorNone ? 0xFFFFFF : m_fill), this,
                                                     QStringLiteral("Colore sfondo"));
        if (chosen.isValid())
            setFillColor(toBgr(chosen));
    });
    showColors();
}

QCheckBox *HighlightDialog::style(int bit) const
{
    return bit == fsBold ? m_bold : bit == fsItalic ? m_italic : m_underline;
}

void HighlightDialog::setFontColor(quint32 bgr)
{
    m_font = bgr;
    showColors();
}

void HighlightDialog::setFillColor(quint32 bgr)
{
    m_fill = bgr;
    showColors();
}

void HighlightDialog::showColors()
{
    const auto swatch = [](QPushButton *button, quint32 bgr) {
        if (bgr == kColorNone) {
            button->setText(QStringLiteral("Nessuno"));
            button->setStyleSheet(QString());
            return;
        }
        button->setText(QString());
        button->setStyleSheet(QStringLiteral("background-color: %1").arg(fromBgr(bgr).name()));
    };
    swatch(m_fontColor, m_font);
    swatch(m_fillColor, m_fill);
}

void HighlightDialog::accept()
{
    m_memo.HighlightCondition = m_condition->text().trimmed();
    m_memo.HighlightFontStyle = (m_bold->isChecked() ? fsBold : 0) | (m_italic->isChecked() ? fsItalic : 0)
                                | (m_underline->isChecked() ? fsUnderline : 0);
    m_memo.HighlightFontColor = m_font;
    m_memo.HighlightFillColor = m_fill;
    QDialog::accept();
}
