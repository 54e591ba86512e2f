#include "output/report/file/LayoutWriter.h"

#include "output/report/file/ByteStream.h"
#include "output/report/file/LayoutReader.h"
#include "output/report/model/TqnLayout.h"

namespace {

void writeDataSets(ByteWriter &out, const TqnDatasetTable &table)
{
    out.u32(quint32(table.count()));
    for (int i = 0; i < table.count(); ++i) {
        const TqnDataset *entry = table.at(i);
        const auto *bound = qobject_cast<const TqnDBDataSet *>(entry);
        out.u8(bound ? 1 : 0);
        if (bound) {
            out.shortString(bound->ComponentText);
            out.u8(bound->Filtered ? 1 : 0);
            out.shortString(bound->Filter);
        }
        out.shortString(entry->name());
        out.u8(quint8(entry->RangeBegin));
        out.u8(quint8(entry->RangeEnd));
        out.u16(0);
        out.i32(entry->RangeEndCount);
    }
}

void writePage(ByteWriter &out, const TqnPage &page)
{
    out.u8(255);
    const TqnPaper &p = page.Paper;
    for (qint32 v : {p.Size, p.Width, p.Height, p.Left, p.Top, p.Right, p.Bottom})
        out.i32(v);
    out.u8(p.Orientation);
    out.u16(page.UseMargins);
    out.u16(page.PrintToPrevPage);
    out.u16(page.TitleBeforeHeader);
    out.u16(page.PrintHeaderInTable);
    out.u16(quint16(page.ScaleMode));
    out.i32(page.Columns);
    out.i32(page.ColumnGap);
    out.i32(page.Bin);
    out.i32(page.UsePhysicalOffset);
}

void writeCommon(ByteWriter &out, const TqnView &v)
{
    for (qint32 n : {v.X, v.Y, v.Width, v.Height})
        out.i32(n);
    out.u16(v.FrameLines);
    out.u16(v.Flags);
    out.i32(v.FrameWidth);
    out.u32(v.FrameColor);
    out.u16(v.Format);
    out.u32(v.FillColor);
    out.i32(v.Tag);
    out.stringList({v.FormatText});
    out.stringList(v.Memo);
    out.u8(v.Visible ? 1 : 0);
    out.shortString(v.Name);
}

void writeObject(ByteWriter &out, const TqnView &view, int pageNo)
{
    out.u8(quint8(view.kind()));
    out.u8(quint8(pageNo));
    writeCommon(out, view);
    switch (view.kind()) {
    case TqnViewKind::vkMemo: {
        const auto &m = static_cast<const TqnMemoView &>(view);
        out.stringList({m.FontName});
        out.i32(m.FontSize);
        out.u16(m.FontStyle);
        out.u32(m.FontColor);
        out.u16(m.Alignment);
        out.stringList({m.HighlightCondition});
        out.u16(m.HighlightFontStyle);
        out.u32(m.HighlightFontColor);
        out.u32(m.HighlightFillColor);
        break;
    }
    case TqnViewKind::vkPicture: {
        const auto &p = static_cast<const TqnPictureView &>(view);
        out.u8(p.PictureFlags);
        out.u32(quint32(p.Data.size()));
        out.bytes(p.Data);
        break;
    }
    case TqnViewKind::vkBand: {
        const auto &b = static_cast<const TqnBandView &>(view);
        out.u8(quint8(b.BandType));
        out.u16(b.BandOptions);
        out.stringList({b.GroupCondition});
        break;
    }
    case TqnViewKind::vkSubReport:
        out.u8(static_cast<const TqnSubReportView &>(view).SubPage);
        break;
    case TqnViewKind::vkAddIn:
        break;
    }
}

void writeVariables(ByteWriter &out, const TqnLayout &layout)
{
    out.u8(254);
    const auto &items = layout.Values.items();
    out.u32(quint32(items.size()));
    for (const TqnVariable &v : items) {
        out.shortString(v.Name);
        out.u8(quint8(v.Kind));
        if (v.Kind == TqnVariableKind::vkField) {
            out.shortString(v.DataSet);
            out.shortString(v.Field);
        } else if (v.Kind == TqnVariableKind::vkOther) {
            out.stringList({v.Text});
        }
    }
    out.stringList(layout.VariableList);
}

} // namespace

QByteArray writeLayout(const TqnLayout &layout, const QString &printerName)
{
    ByteWriter out;
    out.u8(kLayoutVersion);
    writeDataSets(out, layout.DataSets);
    out.u16(layout.SystemPrinter);
    out.u16(layout.TwoPass);
    out.u16(layout.Collate);
    out.u16(layout.Repaginate);
    out.stringList({printerName});
    for (const TqnPage &page : layout.Pages)
        writePage(out, page);
    for (size_t p = 0; p < layout.Pages.size(); ++p)
        for (const auto &object : layout.Pages[p].Objects)
            writeObject(out, *object, int(p));
    writeVariables(out, layout);
    // Last, so that other readers stop before it and keep everything else.
    out.wideTexts(kWideTextsTag);
    return out.data();
}
