#pragma once
// The objects of a layout page. Every object shares a header (name, box, frame, colours,
// format, text lines, visibility); each kind adds its own settings. Coordinates are screen
// pixels at 96 per inch, as the designer places them; colours are blue-green-red integers.

#include "output/report/model/BandType.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

// The object kinds as the layout file tags them.
enum class TqnViewKind : quint8 { vkMemo = 0, vkPicture = 1, vkBand = 2, vkSubReport = 3, vkAddIn = 10 };

// Frame line bits of FrameLines.
enum TqnFrameLine : quint16 { flTop = 1, flLeft = 2, flBottom = 4, flRight = 8 };

constexpr quint32 kColorNone = 0x1FFFFFFF;   // no fill, as the designer's "none"

class TqnView {
public:
    virtual ~TqnView() = default;
    virtual TqnViewKind kind() const = 0;
    virtual std::unique_ptr<TqnView> clone() const = 0;

    QString Name;
    qint32 X = 0, Y = 0, Width = 0, Height = 0;
    quint16 FrameLines = 0;      // TqnFrameLine bits
    quint16 Flags = 0;           // kept as read and written back; nothing sets or prints it
    qint32 FrameWidth = 1;
    quint32 FrameColor = 0;      // black
    quint16 Format = 0;          // display format code
    quint32 FillColor = kColorNone;
    qint32 Tag = 0;
    QString FormatText;          // a band's record source name; other kinds: their format text
    QStringList Memo;            // text lines (expressions in brackets)
    bool Visible = true;

protected:
    TqnView() = default;
    TqnView(const TqnView &) = default;
};

// Alignment bits of a text box.
enum TqnTextAlign : quint16 {
    taLeft = 0, taRight = 1, taCenter = 2, taJustify = 3, taHorizontalMask = 3,
    taVCenter = 4, taBottom = 8, taRotate90 = 16, taWordWrap = 32,
};

// Font style bits, as stored: 1 italic, 2 bold, 4 underline.
enum TqnFontStyle : quint16 { fsItalic = 1, fsBold = 2, fsUnderline = 4 };

class TqnMemoView final : public TqnView {
public:
    TqnViewKind kind() const override { return TqnViewKind::vkMemo; }
    std::unique_ptr<TqnView> clone() const override { return std::make_unique<TqnMemoView>(*this); }

    QString FontName = QStringLiteral("Arial");
    qint32 FontSize = 10;        // points
    quint16 FontStyle = 0;
    quint32 FontColor = 0;
    quint16 Alignment = taWordWrap;
    // Highlight: when the condition holds, the text takes these font style and colours.
    QString HighlightCondition;
    quint16 HighlightFontStyle = 0;
    quint32 HighlightFontColor = 0;
    quint32 HighlightFillColor = kColorNone;
};

class TqnPictureView final : public TqnView {
public:
    TqnViewKind kind() const override { return TqnViewKind::vkPicture; }
    std::unique_ptr<TqnView> clone() const override { return std::make_unique<TqnPictureView>(*this); }

    enum : quint8 { pfStretch = 1, pfKeepAspect = 2, pfCenter = 4 };
    quint8 PictureFlags = pfStretch | pfKeepAspect;
    // The picture kept in the layout; a picture whose first text line is a bracketed field
    // reference takes its data from that field instead.
    QByteArray Data;
};

class TqnBandView final : public TqnView {
public:
    TqnViewKind kind() const override { return TqnViewKind::vkBand; }
    std::unique_ptr<TqnView> clone() const override { return std::make_unique<TqnBandView>(*this); }

    // Stored as the band's 16-bit options; a program that knows fewer of them keeps the others.
    //   boNewPageAfter     the next band starts a new column or page
    //   boKeepOnFirstPage  a page header or footer prints on the layout page's first page only
    //   boStretch          the band grows with its texts (GrownBand.h)
    //   boRepeat           a master, detail, sub-detail or group header prints again at the top
    //                      of every column or page its records go on to
    enum : quint16 { boNewPageAfter = 1, boKeepOnFirstPage = 2, boStretch = 4, boRepeat = 8 };
    TqnBandType BandType = TqnBandType::btNone;
    quint16 BandOptions = 0;
    // A group header's condition: a new group starts whenever its value changes.
    QString GroupCondition;

    const QString &dataSetName() const { return FormatText; }
};

// The band options the designer offers, in the order it shows them, with its captions and hints.
struct TqnBandOption {
    quint16 option;
    const char *caption;
    const char *hint;   // empty: none
};
inline constexpr TqnBandOption kBandOptionList[4] = {
    {TqnBandView::boStretch, "Si allunga con il testo",
     "La banda cresce quanto i suoi testi e va alla pagina dopo se non ci sta"},
    {TqnBandView::boNewPageAfter, "Nuova pagina dopo", ""},
    {TqnBandView::boRepeat, "Ripeti su ogni pagina",
     "L'intestazione si stampa di nuovo in cima a ogni pagina dei suoi record"},
    {TqnBandView::boKeepOnFirstPage, "Solo sulla prima pagina",
     "L'intestazione o il piè di pagina si stampa solo sulla prima pagina"},
};

// Whether printing honours `option` on a band of `type`: stretch and a new page after on the
// bands of the flow (title, summary, data, their headers and footers, groups), keeping to the
// first page on the page header and footer, repeating on the headers of running records.
inline bool bandHonours(TqnBandType type, quint16 option)
{
    switch (option) {
    case TqnBandView::boStretch: case TqnBandView::boNewPageAfter:
        return (type <= TqnBandType::btSubDetailFooter && !isPageBand(type))
            || type == TqnBandType::btGroupHeader || type == TqnBandType::btGroupFooter;
    case TqnBandView::boKeepOnFirstPage:
        return isPageBand(type);
    case TqnBandView::boRepeat:
        return canRepeat(type);
    default:
        return false;
    }
}

class TqnSubReportView final : public TqnView {
public:
    TqnViewKind kind() const override { return TqnViewKind::vkSubReport; }
    std::unique_ptr<TqnView> clone() const override { return std::make_unique<TqnSubReportView>(*this); }

    quint8 SubPage = 0;          // number (from 0) of the layout page printed in place
};
