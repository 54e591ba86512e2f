#include "output/report/ui/PreviewZoom.h"

#include <algorithm>

namespace {

struct Choice {
    const char *text;
    PreviewZoom::Mode mode;
    double percent;
};

const Choice kChoices[] = {
    {"200%", PreviewZoom::Percent, 200}, {"150%", PreviewZoom::Percent, 150},
    {"100%", PreviewZoom::Percent, 100}, {"75%", PreviewZoom::Percent, 75},
    {"50%", PreviewZoom::Percent, 50},   {"25%", PreviewZoom::Percent, 25},
    {"Larghezza", PreviewZoom::PageWidth, 0}, {"Una pagina", PreviewZoom::OnePage, 0},
    {"Due pagine", PreviewZoom::TwoPages, 0},
};

} // namespace

PreviewZoom PreviewZoom::percent(double value)
{
    PreviewZoom z;
    z.m_mode = Percent;
    // Beyond these a page is either a dot or larger than any scroll range can hold.
    z.m_percent = std::clamp(value, kMinPercent, kMaxPercent);
    return z;
}

PreviewZoom PreviewZoom::fit(Mode mode)
{
    PreviewZoom z;
    z.m_mode = mode;
    return z;
}

double PreviewZoom::scale(QSizeF view, QSizeF page, double gap, double dpi) const
{
    if (m_mode == Percent)
        return m_percent / 100.0 * dpi / 96.0;
    if (page.width() <= 0 || page.height() <= 0)
        return 1;
    const double cols = columns();
    const double byWidth = (view.width() - gap * (cols + 1)) / (page.width() * cols);
    const double byHeight = (view.height() - 2 * gap) / page.height();
    const double s = m_mode == PageWidth ? byWidth : std::min(byWidth, byHeight);
    return std::max(s, 0.01);
}

QString PreviewZoom::text() const
{
    switch (m_mode) {
    case PageWidth: return QStringLiteral("Larghezza");
    case OnePage: return QStringLiteral("Una pagina");
    case TwoPages: return QStringLiteral("Due pagine");
    case Percent: break;
    }
    // Italian decimals, without a thousands point (the box would not accept it back).
    return QString::number(m_percent, 'g', 6).replace(QLatin1Char('.'), kDecimalSeparator) + QLatin1Char('%');
}

QStringList PreviewZoom::choiceTexts()
{
    QStringList texts;
    for (const Choice &c : kChoices)
        texts << QString::fromUtf8(c.text);
    return texts;
}

PreviewZoom PreviewZoom::choice(int index)
{
    const Choice &c = kChoices[std::clamp(index, 0, int(std::size(kChoices)) - 1)];
    return c.mode == Percent ? percent(c.percent) : fit(c.mode);
}

bool PreviewZoom::acceptsCharacter(QChar c, QChar decimalSeparator)
{
    return c.isDigit() || c == QLatin1Char('%') || c == decimalSeparator;
}

std::optional<PreviewZoom> PreviewZoom::parse(const QString &typed, QChar decimalSeparator)
{
    QString number = typed.trimmed();
    if (number.endsWith(QLatin1Char('%')))
        number.chop(1);
    if (number.isEmpty() || number.count(decimalSeparator) > 1)
        return std::nullopt;
    for (QChar c : number)
        if (!c.isDigit() && c != decimalSeparator)
            return std::nullopt;
    number.replace(decimalSeparator, QLatin1Char('.'));
    bool ok = false;
    const double value = number.toDouble(&ok);
    // Beyond the range the page would be a dot or larger than a scroll range can hold: the
    // value is refused as a wrong one is, not silently changed.
    if (!ok || value <= 0 || value < kMinPercent || value > kMaxPercent)
        return std::nullopt;
    return percent(value);
}
