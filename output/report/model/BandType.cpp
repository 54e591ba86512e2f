#include "output/report/model/BandType.h"

#include <array>

namespace {
const std::array<const char *, kBandTypeCount> kNames = {
    "Titolo report", "Piè di pagina report", "Instestazione pagina", "Piè di pagina",
    "Intestazione principale", "Dati principali", "Piè di pagina principale",
    "Intestazione dettagli", "Dati dettagli", "Piè di pagina dettagli",
    "Intestazione sottodettagli", "Dati sottodettagli", "Piè di pagina sottodettagli",
    "Copertura (Sfondo)", "Intestazione colonna", "Piè di pagina colonna",
    "Intestazione gruppo", "Piè di pagina gruppo", "Intestazione Tabella", "Dati Tabella",
    "Piè di pagina Tabella", "Nessuna",
};
} // namespace

QString bandTypeName(int type)
{
    if (type < 0 || type >= kBandTypeCount)
        return QString();
    return QString::fromUtf8(kNames[size_t(type)]);
}

bool isDataBand(TqnBandType type)
{
    return type == TqnBandType::btMasterData || type == TqnBandType::btDetailData
        || type == TqnBandType::btSubDetailData || type == TqnBandType::btCrossData;
}

bool isFooterBand(TqnBandType type)
{
    return type == TqnBandType::btMasterFooter || type == TqnBandType::btDetailFooter
        || type == TqnBandType::btSubDetailFooter || type == TqnBandType::btGroupFooter;
}

bool canRepeat(TqnBandType type)
{
    return type == TqnBandType::btMasterHeader || type == TqnBandType::btDetailHeader
        || type == TqnBandType::btSubDetailHeader || type == TqnBandType::btGroupHeader;
}

bool isPageBand(TqnBandType type)
{
    return type == TqnBandType::btPageHeader || type == TqnBandType::btPageFooter;
}

TqnBandType dataBandOfGroup(TqnBandType type)
{
    switch (type) {
    case TqnBandType::btDetailHeader: case TqnBandType::btDetailData: case TqnBandType::btDetailFooter:
        return TqnBandType::btDetailData;
    case TqnBandType::btSubDetailHeader: case TqnBandType::btSubDetailData:
    case TqnBandType::btSubDetailFooter:
        return TqnBandType::btSubDetailData;
    case TqnBandType::btCrossHeader: case TqnBandType::btCrossData: case TqnBandType::btCrossFooter:
        return TqnBandType::btCrossData;
    case TqnBandType::btOverlay: case TqnBandType::btNone:
        return TqnBandType::btNone;
    default:
        return TqnBandType::btMasterData;
    }
}

TqnBandType dataBandOfFooter(TqnBandType type)
{
    switch (type) {
    case TqnBandType::btDetailFooter: return TqnBandType::btDetailData;
    case TqnBandType::btSubDetailFooter: return TqnBandType::btSubDetailData;
    default: return TqnBandType::btMasterData;
    }
}
