#pragma once
// Band types of a layout, numbered as the layout file stores them, with the names the
// designer shows.

#include <QString>

enum class TqnBandType : quint8 {
    btReportTitle = 0, btReportSummary = 1, btPageHeader = 2, btPageFooter = 3,
    btMasterHeader = 4, btMasterData = 5, btMasterFooter = 6,
    btDetailHeader = 7, btDetailData = 8, btDetailFooter = 9,
    btSubDetailHeader = 10, btSubDetailData = 11, btSubDetailFooter = 12,
    btOverlay = 13, btColumnHeader = 14, btColumnFooter = 15,
    btGroupHeader = 16, btGroupFooter = 17,
    btCrossHeader = 18, btCrossData = 19, btCrossFooter = 20, btNone = 21,
};

constexpr int kBandTypeCount = 22;

// "Titolo report" ... "Nessuna"; empty for a number outside 0..21.
QString bandTypeName(int type);
bool isDataBand(TqnBandType type);
bool isFooterBand(TqnBandType type);   // 6, 9, 12, 17: show the last record
// Headers of running records (4, 7, 10, 16): the ones that may repeat after a page break.
bool canRepeat(TqnBandType type);
bool isPageBand(TqnBandType type);     // 2, 3: printed on every page unless kept to the first
// The data band whose record source a band of this type reads bare field names from;
// btNone for the overlay and "Nessuna".
TqnBandType dataBandOfGroup(TqnBandType type);
// The data band whose record a footer shows the last of (6 and 17: master, 9: detail, 12: sub-detail).
TqnBandType dataBandOfFooter(TqnBandType type);
