#pragma once
// A layout page: paper settings, columns and its ordered objects.

#include "output/report/model/TqnView.h"

#include <memory>
#include <vector>

struct TqnPaper {
    qint32 Size = 9;             // paper size code; 9 is A4, 256 a custom size
    qint32 Width = 2100;         // tenths of a millimetre
    qint32 Height = 2970;
    qint32 Left = 100, Top = 100, Right = 100, Bottom = 100;   // margins, tenths of a millimetre
    quint8 Orientation = 0;      // 0 portrait, 1 landscape

    bool operator==(const TqnPaper &) const = default;
};

enum class TqnScaleMode : quint16 { smProportional = 0, smPageWidth = 1, smPageHeight = 2 };

class TqnPage final {
public:
    TqnPage() = default;
    TqnPage(const TqnPage &other);
    TqnPage &operator=(const TqnPage &other);

    TqnPaper Paper;
    bool UseMargins = true;              // off: "Non usati"
    bool PrintToPrevPage = false;        // "Stampa alla pagina precedente"
    bool TitleBeforeHeader = true;       // "Intestazione sulla prima pagina"
    bool PrintHeaderInTable = false;     // "Copia intestazione in tabella"
    TqnScaleMode ScaleMode = TqnScaleMode::smProportional;
    qint32 Columns = 1;
    qint32 ColumnGap = 0;                // tenths of a millimetre
    qint32 Bin = 0;                      // paper source, 0 for the printer's default
    qint32 UsePhysicalOffset = 0;        // nonzero: shift by the printer's unprintable border

    std::vector<std::unique_ptr<TqnView>> Objects;

    // The page size in layout pixels, orientation applied.
    double widthPx() const;
    double heightPx() const;
    double marginPx(qint32 tenths) const;

    // The band `object` belongs to: of the bands its top lies in, the lowest on the page
    // (the last in page order among equals); null when it lies in none.
    const TqnBandView *bandOf(const TqnView &object) const;
};

// Tenths of a millimetre to layout pixels (96 per inch).
inline double tenthsToPx(double tenths) { return tenths * 96.0 / 254.0; }
