#include "output/report/ui/dialogs/PaperSizes.h"

const QList<PaperSize> &paperSizes()
{
    static const QList<PaperSize> sizes = {
        {9, QStringLiteral("A4"), 2100, 2970},
        {8, QStringLiteral("A3"), 2970, 4200},
        {11, QStringLiteral("A5"), 1480, 2100},
        {13, QStringLiteral("B5"), 1820, 2570},
        {1, QStringLiteral("Lettera"), 2159, 2794},
        {5, QStringLiteral("Legale"), 2159, 3556},
        {7, QStringLiteral("Executive"), 1841, 2667},
        {27, QStringLiteral("Busta DL"), 1100, 2200},
        {28, QStringLiteral("Busta C5"), 1620, 2290},
        {20, QStringLiteral("Busta n. 10"), 1048, 2413},
        {kCustomPaper, QStringLiteral("Personalizzato"), 0, 0},
    };
    return sizes;
}

const PaperSize *paperSize(qint32 code)
{
    for (const PaperSize &size : paperSizes())
        if (size.code == code)
            return &size;
    return nullptr;
}
