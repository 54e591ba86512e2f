// Layout file (".qnf"), as read here and written by LayoutWriter.cpp.
//
// All integers are little-endian; i32 signed, u8/u16/u32 unsigned. Colours are u32
// blue-green-red (0x1FFFFFFF: none). Coordinates of objects are pixels at 96 per inch; paper
// sizes and margins are tenths of a millimetre.
//
//   sstr   short string: u8 length, that many bytes (Windows Western code page)
//   slist  string list. Version 26 on: u16 line count, then per line u16 byte length
//          (at most 1024) and the bytes. Before 26: bytes where 13 ends a line and 0 ends
//          the list; a line cut short by the 0 is kept only when not empty; at most 255
//          bytes a line.
//
// File, front to back:
//   u8     version. Below 21: the file predates the version byte; it is read again from
//          byte 0 as version 21. Writers put 27. No upper bound is checked.
//   only when version > 22, the dataset table:
//     u32  entry count; per entry:
//       u8    kind: nonzero bound (a table dataset of a window; writers put 1), 0 plain
//       bound only: sstr component "window.component" (e.g. "frm_main.Anagrafica");
//                   version > 26 only: u8 filtered (1 on) and sstr filter expression
//       sstr  entry name
//       u8 RangeBegin (0 first, 1 current), u8 RangeEnd (0 last, 1 current, 2 count),
//       u16 unused, u32 RangeEndCount
//   u16 SystemPrinter, u16 TwoPass; version >= 23: u16 Collate, u16 Repaginate (else 0)
//   slist  first line: printer name
//   records to the end of the file, each opened by a tag byte:
//     255  layout page (the first 256 only are kept: no object can name a later one): i32 paper size code, i32 width, i32 height, i32 left, i32 top,
//          i32 right, i32 bottom margins, u8 orientation (0 portrait, 1 landscape),
//          u16 use margins (0: "Non usati"), u16 print to previous page,
//          u16 title before header, u16 copy header into table, u16 scaling (0 proportions,
//          1 page width, 2 page height), i32 columns, i32 column gap;
//          version >= 25: i32 paper bin, i32 shift by the printer's physical offsets
//     254  variables: u32 count; per variable sstr name, u8 kind (0 unassigned, 1 field,
//          2 other); kind 1: sstr dataset, sstr field; kind 2: slist (first line: the
//          expression). Then slist: the variable editor's list.
//     0..3 object of kind 0 text box, 1 picture, 2 band, 3 sub-report
//     10   add-in object: slist whose first line is the class name (none is registered:
//          the read fails)
//          every object then: u8 number (from 0) of its layout page, then the body:
//            i32 x, i32 y, i32 width, i32 height (before version 24 each times 1123/1088,
//            rounded), u16 frame lines (1 top, 2 left, 4 bottom, 8 right), u16 flags,
//            i32 frame width, u32 frame colour, u16 display format, u32 fill colour,
//            i32 tag, slist (first line: a band's record source, other kinds' format
//            text), slist text lines; version >= 23: u8 visible (1), sstr name.
//            Then by kind:
//            text box: slist (first line: font name), i32 font size in points, u16 font
//              style (1 italic, 2 bold, 4 underline), u32 font colour, u16 alignment
//              (bits 0-1: 0 left, 1 right, 2 centre, 3 justify; 4 vertical centre,
//              8 bottom, 16 turned 90 degrees, 32 word wrap), slist (first line: the
//              highlight condition), u16 highlight font style, u32 highlight font colour,
//              u32 highlight fill colour
//            picture: u8 flags (1 stretch, 2 keep aspect, 4 centre), u32 byte count,
//              the picture's bytes
//            band: u8 band type 0..21, u16 options (1 new page after, 2 keep on first
//              page, 4 stretch, 8 repeat after a page break; bits not known are kept as
//              read), slist (first line: a group header's condition)
//            sub-report: u8 number (from 0) of the layout page printed in place
//     4..9 not a kind: the read fails
//     >10  (other than 254, 255) the pages block ends; the rest of the file is ignored
//     253  full texts, written last, only when some text did not fit the code page: the four
//          bytes "UTF8", u32 count, then per text u32 place, u32 byte length, UTF-8 bytes.
//          The place counts every sstr and every slist line of the file from 0, front to
//          back. Where a text has characters the code page lacks, its sstr or slist line
//          holds the text with a '?' for each of them, which is what other readers (for
//          them 253 ends the pages block) show; this reader puts the full text back in
//          place when the file still holds exactly that stand-in there.
//
// A failure anywhere after the version byte (a short file, an unknown kind, an object of a
// page that does not exist, a line too long) is a damaged layout: the box is shown and the
// layout is left empty with one page.

#include "output/report/file/LayoutReader.h"

#include "output/report/build/PreparationError.h"
#include "output/report/file/ByteStream.h"
#include "output/report/model/TqnLayout.h"

#include <cmath>

namespace layouttext {
QString damaged()
{
    return QStringLiteral("Non è stato possibile terminare la fase di caricamento del report.\n\r"
                          "Probabilmente il report è corrotto, o contiene componenti non inseriti "
                          "all'interno del progetto.");
}
QString addInMissing(const QString &className)
{
    return QStringLiteral("Oggetto non trovato : %1.\n\rUn componente avanzato presente nel report, "
                          "\n\rnon è stato inserito nel programma che ne fa uso.").arg(className);
}
QString dataSetNotFound(const QString &name)
{
    return PreparationError::missingDataSet(name);
}
} // namespace layouttext

namespace {

class Reader {
public:
    Reader(ByteReader &in, TqnLayout &layout, const LayoutReadHooks &hooks, int version)
        : m_in(in), m_layout(layout), m_hooks(hooks), m_version(version) {}

    void dataSetTable();
    void options();
    void records();
    void checkOldDataBands();
    const std::optional<WideTexts> &wideTexts() const { return m_wide; }

private:
    void message(const QString &text, const QString &caption, TqnMessageIcon icon)
    {
        if (m_hooks.messages)
            m_hooks.messages->show(text, caption, icon);
    }
    void page();
    void variables();
    void object(quint8 tag);
    void common(TqnView &view);
    void memo(TqnMemoView &view);
    void picture(TqnPictureView &view);
    void band(TqnBandView &view);
    qint32 scaled(qint32 v) const
    {
        return m_version < 24 ? qint32(std::lround(double(v) * 1123.0 / 1088.0)) : v;
    }
    QString firstLine() { const QStringList l = m_in.stringList(m_version); return l.value(0); }

    ByteReader &m_in;
    TqnLayout &m_layout;
    const LayoutReadHooks &m_hooks;
    int m_version;
    std::optional<WideTexts> m_wide;
};

void Reader::dataSetTable()
{
    const quint32 count = m_in.u32();
    for (quint32 i = 0; i < count; ++i) {
        const bool bound = m_in.u8() != 0;
        QString component;
        bool filtered = false;
        QString filter;
        if (bound) {
            component = m_in.shortString();
            if (m_version > 26) {
                filtered = m_in.u8() == 1;
                filter = m_in.shortString();
            }
        }
        const QString name = m_in.shortString();
        const quint8 rangeBegin = m_in.u8();
        const quint8 rangeEnd = m_in.u8();
        m_in.u16();
        const qint32 rangeCount = m_in.i32();

        TqnDataset *entry = nullptr;
        if (bound) {
            TDataSet *table = m_hooks.findComponent ? m_hooks.findComponent(component) : nullptr;
            if (!table) {
                message(layouttext::dataSetNotFound(component), QStringLiteral("Attenzione"),
                        TqnMessageIcon::Warning);
                continue;
            }
            auto *db = new TqnDBDataSet(m_layout.DataSets.holder());
            db->setDataSet(table);
            db->ComponentText = component;
            db->Filtered = filtered;
            db->Filter = filter;
            entry = db;
        } else {
            entry = new TqnDataset(m_layout.DataSets.holder());
        }
        entry->setName(name);
        entry->RangeBegin = rangeBegin == 1 ? TqnRangeBegin::rbCurrent : TqnRangeBegin::rbFirst;
        entry->RangeEnd = rangeEnd == 1 ? TqnRangeEnd::reCurrent
                        : rangeEnd == 2 ? TqnRangeEnd::reCount : TqnRangeEnd::reLast;
        entry->RangeEndCount = rangeCount;
        m_layout.DataSets.add(entry);
    }
}

void Reader::options()
{
    m_layout.SystemPrinter = m_in.u16();
    m_layout.TwoPass = m_in.u16();
    m_layout.Collate = m_version >= 23 ? m_in.u16() : 0;
    m_layout.Repaginate = m_version >= 23 ? m_in.u16() : 0;
    m_layout.PrinterName = firstLine();
}

void Reader::records()
{
    while (!m_in.atEnd()) {
        const quint8 tag = m_in.u8();
        if (tag == 255)
            page();
        else if (tag == 254)
            variables();
        else if (tag <= 3 || tag == 10)
            object(tag);
        else if (tag <= 9)
            m_in.fail(QStringLiteral("tipo di oggetto %1 sconosciuto").arg(tag));
        else {
            if (tag == kWideTextsTag)
                m_wide = m_in.wideTexts();
            return;
        }
    }
}

void Reader::page()
{
    TqnPage page;
    TqnPaper &p = page.Paper;
    p.Size = m_in.i32();
    p.Width = m_in.i32();
    p.Height = m_in.i32();
    p.Left = m_in.i32();
    p.Top = m_in.i32();
    p.Right = m_in.i32();
    p.Bottom = m_in.i32();
    p.Orientation = m_in.u8();
    page.UseMargins = m_in.u16() != 0;
    page.PrintToPrevPage = m_in.u16() != 0;
    page.TitleBeforeHeader = m_in.u16() != 0;
    page.PrintHeaderInTable = m_in.u16() != 0;
    const quint16 scale = m_in.u16();
    page.ScaleMode = scale <= 2 ? TqnScaleMode(scale) : TqnScaleMode::smProportional;
    page.Columns = m_in.i32();
    page.ColumnGap = m_in.i32();
    if (m_version >= 25) {
        page.Bin = m_in.i32();
        page.UsePhysicalOffset = m_in.i32();
    }
    // No object can name a page past the limit (its page number is one byte): such records
    // would only add blank pages that the designer could not keep apart on saving.
    if (m_layout.Pages.size() < kMaxLayoutPages)
        m_layout.Pages.push_back(std::move(page));
}

void Reader::variables()
{
    TqnVariables values;
    const quint32 count = m_in.u32();
    for (quint32 i = 0; i < count; ++i) {
        TqnVariable v;
        v.Name = m_in.shortString();
        const quint8 kind = m_in.u8();
        if (kind == 1) {
            v.Kind = TqnVariableKind::vkField;
            v.DataSet = m_in.shortString();
            v.Field = m_in.shortString();
        } else if (kind == 2) {
            v.Kind = TqnVariableKind::vkOther;
            v.Text = firstLine();
        }
        values.set(v);
    }
    m_layout.Values = std::move(values);
    m_layout.VariableList = m_in.stringList(m_version);
}

void Reader::object(quint8 tag)
{
    if (tag == 10) {
        const QString className = firstLine();
        // No add-in class is registered in this program.
        message(layouttext::addInMissing(className), QStringLiteral("Errore"), TqnMessageIcon::Error);
        m_in.fail(QStringLiteral("oggetto aggiuntivo non registrato: ") + className);
    }
    const quint8 pageNo = m_in.u8();
    if (pageNo >= m_layout.Pages.size())
        m_in.fail(QStringLiteral("oggetto di una pagina inesistente (%1)").arg(pageNo));
    std::unique_ptr<TqnView> view;
    switch (tag) {
    case 0: view = std::make_unique<TqnMemoView>(); break;
    case 1: view = std::make_unique<TqnPictureView>(); break;
    case 2: view = std::make_unique<TqnBandView>(); break;
    default: view = std::make_unique<TqnSubReportView>(); break;
    }
    common(*view);
    switch (tag) {
    case 0: memo(static_cast<TqnMemoView &>(*view)); break;
    case 1: picture(static_cast<TqnPictureView &>(*view)); break;
    case 2: band(static_cast<TqnBandView &>(*view)); break;
    default: static_cast<TqnSubReportView &>(*view).SubPage = m_in.u8(); break;
    }
    m_layout.Pages[pageNo].Objects.push_back(std::move(view));
}

void Reader::common(TqnView &view)
{
    view.X = scaled(m_in.i32());
    view.Y = scaled(m_in.i32());
    view.Width = scaled(m_in.i32());
    view.Height = scaled(m_in.i32());
    view.FrameLines = m_in.u16();
    view.Flags = m_in.u16();
    view.FrameWidth = m_in.i32();
    view.FrameColor = m_in.u32();
    view.Format = m_in.u16();
    view.FillColor = m_in.u32();
    view.Tag = m_in.i32();
    view.FormatText = firstLine();
    view.Memo = m_in.stringList(m_version);
    if (m_version >= 23) {
        view.Visible = m_in.u8() != 0;
        view.Name = m_in.shortString();
    }
}

void Reader::memo(TqnMemoView &view)
{
    view.FontName = firstLine();
    view.FontSize = m_in.i32();
    view.FontStyle = m_in.u16();
    view.FontColor = m_in.u32();
    view.Alignment = m_in.u16();
    view.HighlightCondition = firstLine();
    view.HighlightFontStyle = m_in.u16();
    view.HighlightFontColor = m_in.u32();
    view.HighlightFillColor = m_in.u32();
}

void Reader::picture(TqnPictureView &view)
{
    view.PictureFlags = m_in.u8();
    const quint32 size = m_in.u32();
    if (qsizetype(size) > m_in.remaining())
        m_in.fail(QStringLiteral("immagine più lunga del file"));
    view.Data = m_in.bytes(qsizetype(size));
}

void Reader::band(TqnBandView &view)
{
    const quint8 type = m_in.u8();
    if (type >= kBandTypeCount)
        m_in.fail(QStringLiteral("tipo di banda %1 sconosciuto").arg(type));
    view.BandType = TqnBandType(type);
    view.BandOptions = m_in.u16();
    view.GroupCondition = firstLine();
}

void Reader::checkOldDataBands()
{
    for (const TqnPage &page : m_layout.Pages)
        for (const auto &object : page.Objects) {
            if (object->kind() != TqnViewKind::vkBand)
                continue;
            const auto &band = static_cast<const TqnBandView &>(*object);
            if (!isDataBand(band.BandType))
                continue;
            const bool found = m_hooks.outsideDataSetExists && m_hooks.outsideDataSetExists(band.dataSetName());
            if (!found)
                message(layouttext::dataSetNotFound(band.dataSetName()), QStringLiteral("Attenzione"),
                        TqnMessageIcon::Warning);
        }
}

} // namespace

namespace {

// One reading of the whole file; with `wide` the full texts are put back as they are read.
LayoutReadResult readOnce(const QByteArray &data, TqnLayout &layout, const LayoutReadHooks &hooks,
                          const WideTexts *wide, std::optional<WideTexts> *found)
{
    LayoutReadResult result;
    ByteReader in(data);
    if (wide)
        in.setWideTexts(*wide);
    try {
        result.version = in.u8();
        if (result.version < 21) {
            result.version = 21;
            in.rewind();
        }
    } catch (const LayoutFormatError &) {
        result.version = 21;   // an empty file: read on as the oldest kind, which fails below
    }
    layout.clearContent();
    Reader reader(in, layout, hooks, result.version);
    try {
        if (result.version > 22)
            reader.dataSetTable();
        reader.options();
        reader.records();
        result.pagesRead = true;
    } catch (const LayoutFormatError &error) {
        result.failedAt = error.offset();
        result.detail = QString::fromStdString(error.what());
    }
    if (found)
        *found = reader.wideTexts();
    if (!result.pagesRead) {
        if (hooks.messages)
            hooks.messages->show(layouttext::damaged(), QStringLiteral("Errore"), TqnMessageIcon::Error);
        layout.DataSets.clear();
        layout.Pages.clear();
        layout.Pages.emplace_back();
        return result;
    }
    if (result.version <= 22)
        reader.checkOldDataBands();
    return result;
}

} // namespace

LayoutReadResult readLayout(const QByteArray &data, TqnLayout &layout, const LayoutReadHooks &hooks)
{
    // The full texts come last in the file, after everything they stand in for: a silent
    // first reading finds them, and the real one (with its warnings) puts them in place.
    std::optional<WideTexts> wide;
    {
        TqnLayout scratch;
        readOnce(data, scratch, LayoutReadHooks{}, nullptr, &wide);
    }
    return readOnce(data, layout, hooks, wide ? &*wide : nullptr, nullptr);
}
