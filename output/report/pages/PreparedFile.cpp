// Prepared-report file (".qnp"). Little-endian; f64 is an IEEE double stored as its u64 bits.
//
//   4 bytes  "QNP1"
//   u32      page count; per page:
//     i32 paper size code, i32 width, i32 height (tenths of a millimetre), u8 orientation,
//     i32 shift by the printer's physical offsets, i32 layout page (from 0)
//     u32 font count; per font: u32 byte count + UTF-8 family, f64 points, u16 style
//     u32 record count; per record:
//       u8 kind (0 fill, 1 line, 2 text, 3 image), f64 x, f64 y, f64 width, f64 height
//       (layout pixels, 96 per inch), u32 colour (blue-green-red), f64 pen width,
//       f64 baseline, u8 text flags (1 turned 90 degrees, 2 cut at its box), i32 font index
//       (-1 none),
//       u32 byte count + UTF-8 text, u32 byte count + PNG image (0: none)
//
// Any count larger than the bytes left, a short file or a font index outside the page's
// table makes the file unreadable as a whole.

#include "output/report/pages/PreparedFile.h"

#include "output/report/file/ByteStream.h"

#include <QBuffer>
#include <cstring>

namespace {

const QByteArray kMagic("QNP1");

void f64(ByteWriter &out, double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, sizeof bits);
    out.u32(quint32(bits));
    out.u32(quint32(bits >> 32));
}

double f64(ByteReader &in)
{
    const quint64 low = in.u32();
    const quint64 bits = low | (quint64(in.u32()) << 32);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

void blob(ByteWriter &out, const QByteArray &b)
{
    out.u32(quint32(b.size()));
    out.bytes(b);
}

QByteArray blob(ByteReader &in)
{
    const quint32 size = in.u32();
    if (qsizetype(size) > in.remaining())
        in.fail(QStringLiteral("lunghezza oltre la fine del file"));
    return in.bytes(qsizetype(size));
}

quint32 count(ByteReader &in, int minimumBytesEach)
{
    const quint32 n = in.u32();
    if (qint64(n) * minimumBytesEach > in.remaining())
        in.fail(QStringLiteral("numero di elementi oltre la fine del file"));
    return n;
}

QByteArray png(const QImage &image)
{
    if (image.isNull())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

QByteArray writePreparedPages(const PreparedPages &pages)
{
    ByteWriter out;
    out.bytes(kMagic);
    out.u32(quint32(pages.size()));
    for (const PreparedPage &page : pages) {
        const PreparedPaper &p = page.Paper;
        out.i32(p.Size);
        out.i32(p.Width);
        out.i32(p.Height);
        out.u8(p.Orientation);
        out.i32(p.UsePhysicalOffset);
        out.i32(page.LayoutPage);
        out.u32(quint32(page.Fonts.size()));
        for (const PreparedFont &font : page.Fonts) {
            blob(out, font.Family.toUtf8());
            f64(out, font.PointSize);
            out.u16(font.Style);
        }
        out.u32(quint32(page.Records.size()));
        for (const DrawRecord &r : page.Records) {
            out.u8(r.kind);
            for (double v : {r.rect.x(), r.rect.y(), r.rect.width(), r.rect.height()})
                f64(out, v);
            out.u32(r.color);
            f64(out, r.penWidth);
            f64(out, r.baseline);
            out.u8(quint8((r.rotated ? 1 : 0) | (r.clipped ? 2 : 0)));
            out.i32(r.font);
            blob(out, r.text.toUtf8());
            blob(out, png(r.image));
        }
    }
    return out.data();
}

std::optional<PreparedPages> readPreparedPages(const QByteArray &data)
{
    if (!data.startsWith(kMagic))
        return std::nullopt;
    ByteReader in(data.mid(kMagic.size()));
    PreparedPages pages;
    try {
        const quint32 pageCount = count(in, 29);
        for (quint32 i = 0; i < pageCount; ++i) {
            PreparedPage page;
            page.Paper.Size = in.i32();
            page.Paper.Width = in.i32();
            page.Paper.Height = in.i32();
            page.Paper.Orientation = in.u8();
            page.Paper.UsePhysicalOffset = in.i32();
            page.LayoutPage = in.i32();
            const quint32 fonts = count(in, 14);
            for (quint32 f = 0; f < fonts; ++f) {
                PreparedFont font;
                font.Family = QString::fromUtf8(blob(in));
                font.PointSize = float(f64(in));
                font.Style = in.u16();
                page.Fonts.push_back(font);
            }
            const quint32 records = count(in, 62);
            page.Records.reserve(records);
            for (quint32 r = 0; r < records; ++r) {
                DrawRecord rec;
                const quint8 kind = in.u8();
                if (kind > DrawRecord::Image)
                    in.fail(QStringLiteral("tipo di elemento sconosciuto"));
                rec.kind = DrawRecord::Kind(kind);
                const double x = f64(in), y = f64(in), w = f64(in), h = f64(in);
                rec.rect = QRectF(x, y, w, h);
                rec.color = in.u32();
                rec.penWidth = float(f64(in));
                rec.baseline = float(f64(in));
                const quint8 flags = in.u8();
                rec.rotated = flags & 1;
                rec.clipped = flags & 2;
                rec.font = in.i32();
                if (rec.font < -1 || rec.font >= int(page.Fonts.size()))
                    in.fail(QStringLiteral("carattere inesistente"));
                rec.text = QString::fromUtf8(blob(in));
                const QByteArray image = blob(in);
                if (!image.isEmpty())
                    rec.image = QImage::fromData(image, "PNG").convertToFormat(QImage::Format_ARGB32);
                page.Records.push_back(std::move(rec));
            }
            pages.append(std::move(page));
        }
    } catch (const LayoutFormatError &) {
        return std::nullopt;
    }
    return pages;
}
