#pragma once
// The preview's zoom: a percentage, or a fit of the page width, one whole page or two pages
// side by side to the view. Turns into the scale pages are drawn at (device pixels per
// layout pixel), and reads what the user types into the zoom box.

#include <QSizeF>
#include <QString>
#include <QStringList>
#include <optional>

class PreviewZoom final {
public:
    enum Mode { Percent, PageWidth, OnePage, TwoPages };

    static PreviewZoom percent(double value);
    static PreviewZoom fit(Mode mode);

    Mode mode() const { return m_mode; }
    double percentValue() const { return m_percent; }
    int columns() const { return m_mode == TwoPages ? 2 : 1; }
    bool operator==(const PreviewZoom &) const = default;

    // Layout pixels to device pixels. `view` is the area pages are shown in, `page` the
    // largest page, `gap` the margin kept around pages, `dpi` the screen's logical dots per
    // inch (a percentage means the page's real size on a 96-dpi screen at 100).
    double scale(QSizeF view, QSizeF page, double gap, double dpi = 96) const;

    // What the zoom box shows: "100%", "Larghezza", ...
    QString text() const;

    // The zoom box's nine choices, in order, and the zoom each stands for.
    static QStringList choiceTexts();
    static PreviewZoom choice(int index);

    // A typed percentage: digits with at most one decimal separator, an optional "%".
    // None for anything else, for 0 and for a value outside kMinPercent..kMaxPercent.
    static std::optional<PreviewZoom> parse(const QString &typed, QChar decimalSeparator);
    // The characters the zoom box accepts as typing.
    static bool acceptsCharacter(QChar c, QChar decimalSeparator);

    // The zoom box shows and reads percentages the Italian way: "12,5%".
    static constexpr QChar kDecimalSeparator = u',';
    static constexpr double kMinPercent = 1;
    static constexpr double kMaxPercent = 1000;

private:
    Mode m_mode = Percent;
    double m_percent = 100;
};
