#include "output/report/ui/designer/DesignerIcons.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace designericons {

namespace {

// The colours of the main window's bar pictures.
constexpr const char *kOutline = "#606a78";
constexpr const char *kObject = "#cfe0f3";
constexpr const char *kOther = "#fdf3c8";
constexpr const char *kGuide = "#c0392b";

QString drawnBox(double x, double y, double w, double h, const char *fill = kObject)
{
    return QStringLiteral(R"(<rect x="%1" y="%2" width="%3" height="%4" rx="0.8" fill="%5" stroke="%6" stroke-width="1"/>)")
        .arg(x + 0.5).arg(y + 0.5).arg(w).arg(h).arg(QLatin1String(fill), QLatin1String(kOutline));
}

QString guide(double x1, double y1, double x2, double y2, bool dashed = false)
{
    return QStringLiteral(R"(<line x1="%1" y1="%2" x2="%3" y2="%4" stroke="%5" stroke-width="1.6" stroke-linecap="round"%6/>)")
        .arg(x1).arg(y1).arg(x2).arg(y2).arg(QLatin1String(kGuide),
                                                dashed ? QStringLiteral(R"( stroke-dasharray="2.4 1.6")") : QString());
}

// A double-headed arrow from (x1, y1) to (x2, y2), horizontal or vertical.
QString arrow(double x1, double y1, double x2, double y2)
{
    const bool across = y1 == y2;
    const QString heads = across
        ? QStringLiteral("M%1 %2 l2.5 -2.5 v5 z M%3 %4 l-2.5 -2.5 v5 z").arg(x1).arg(y1).arg(x2).arg(y2)
        : QStringLiteral("M%1 %2 l-2.5 2.5 h5 z M%3 %4 l-2.5 -2.5 h5 z").arg(x1).arg(y1).arg(x2).arg(y2);
    return guide(across ? x1 + 2 : x1, across ? y1 : y1 + 2, across ? x2 - 2 : x2, across ? y2 : y2 - 2)
        + QStringLiteral(R"(<path d="%1" fill="%2"/>)").arg(heads, QLatin1String(kGuide));
}

// Lines of text, each from `left` with its length.
QString textLines(const std::initializer_list<std::pair<double, double>> &lines, double top)
{
    QString svg;
    double y = top;
    for (auto [left, length] : lines) {
        svg += QStringLiteral(R"(<line x1="%1" y1="%2" x2="%3" y2="%2" stroke="%4" stroke-width="2" stroke-linecap="round"/>)")
                   .arg(left).arg(y).arg(left + length).arg(QLatin1String(kOutline));
        y += 4.5;
    }
    return svg;
}

QString frame()
{
    return QStringLiteral(R"(<rect x="3.5" y="3.5" width="17" height="17" fill="white" stroke="%1" stroke-width="1"/>)")
        .arg(QLatin1String(kOutline));
}

const QHash<QString, QString> &drawings()
{
    static const QHash<QString, QString> all = {
        {QStringLiteral("Allinea i bordi sinistri"), guide(4, 2.5, 4, 21.5) + drawnBox(5, 5, 14, 5) + drawnBox(5, 13, 9, 5, kOther)},
        {QStringLiteral("Allinea i bordi destri"), guide(20, 2.5, 20, 21.5) + drawnBox(5, 5, 14, 5) + drawnBox(10, 13, 9, 5, kOther)},
        {QStringLiteral("Allinea i bordi superiori"), guide(2.5, 4, 21.5, 4) + drawnBox(5, 5, 5, 14) + drawnBox(13, 5, 5, 9, kOther)},
        {QStringLiteral("Allinea i bordi inferiori"), guide(2.5, 20, 21.5, 20) + drawnBox(5, 5, 5, 14) + drawnBox(13, 10, 5, 9, kOther)},
        {QStringLiteral("Centra orizzontalmente"), drawnBox(4, 5, 16, 5) + drawnBox(7, 13, 10, 5, kOther) + guide(12.5, 2.5, 12.5, 21.5, true)},
        {QStringLiteral("Centra verticalmente"), drawnBox(5, 4, 5, 16) + drawnBox(13, 7, 5, 10, kOther) + guide(2.5, 12.5, 21.5, 12.5, true)},
        {QStringLiteral("Stessa larghezza"), drawnBox(4, 3, 16, 5) + drawnBox(4, 16, 16, 5, kOther) + arrow(4.5, 12.5, 20.5, 12.5)},
        {QStringLiteral("Stessa altezza"), drawnBox(3, 4, 5, 16) + drawnBox(16, 4, 5, 16, kOther) + arrow(12.5, 4.5, 12.5, 20.5)},
        {QStringLiteral("Porta in primo piano"), drawnBox(3, 3, 12, 10, kOther) + drawnBox(9, 10, 12, 10)},
        {QStringLiteral("Porta in secondo piano"), drawnBox(9, 10, 12, 10) + drawnBox(3, 3, 12, 10, kOther)},
        {QStringLiteral("Allinea a sinistra"), textLines({{4, 16}, {4, 10}, {4, 14}, {4, 8}}, 5)},
        {QStringLiteral("Allinea a destra"), textLines({{4, 16}, {10, 10}, {6, 14}, {12, 8}}, 5)},
        {QStringLiteral("Centra"), textLines({{4, 16}, {7, 10}, {5, 14}, {8, 8}}, 5)},
        {QStringLiteral("Giustifica tutto il testo"), textLines({{4, 16}, {4, 16}, {4, 16}, {4, 9}}, 5)},
        {QStringLiteral("Allinea in alto"), frame() + textLines({{6, 12}, {6, 8}}, 7)},
        {QStringLiteral("Centra in verticale"), frame() + textLines({{6, 12}, {6, 8}}, 10)},
        {QStringLiteral("Allinea in basso"), frame() + textLines({{6, 12}, {6, 8}}, 13)},
    };
    return all;
}

} // namespace

QByteArray svgFor(const QString &caption)
{
    const QString body = drawings().value(caption);
    if (body.isEmpty())
        return {};
    return (QStringLiteral(R"(<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24">)") + body
            + QStringLiteral("</svg>"))
        .toUtf8();
}

QIcon forCommand(const QString &caption)
{
    const QByteArray svg = svgFor(caption);
    if (svg.isEmpty())
        return {};
    QSvgRenderer renderer(svg);
    QIcon icon;
    // Drawn at each size a bar may ask for, so that 150% and 200% screens stay sharp.
    for (int side : {16, 24, 32, 36, 48, 64}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace designericons
