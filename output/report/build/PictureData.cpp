#include "output/report/build/PictureData.h"

namespace {

std::optional<PictureFormat> formatAt(const QByteArray &data, qsizetype at)
{
    if (data.size() < at + 2)
        return std::nullopt;
    const auto b = [&](qsizetype i) { return quint8(data[at + i]); };
    const quint16 first = quint16(b(0) | (b(1) << 8));
    if (b(0) == 'B' && b(1) == 'M')
        return PictureFormat::Bitmap;
    if (first == 0 && data.size() >= at + 4 && quint16(b(2) | (b(3) << 8)) == 1)
        return PictureFormat::Icon;
    if (b(0) == 0xFF && b(1) == 0xD8)
        return PictureFormat::Jpeg;
    if (first == 0 || first == 1)
        return PictureFormat::Metafile;
    if (data.size() >= at + 4 && b(0) == 0xD7 && b(1) == 0xCD && b(2) == 0xC6 && b(3) == 0x9A)
        return PictureFormat::Metafile;
    return std::nullopt;
}

} // namespace

PictureFormat recognisePicture(const QByteArray &data, qsizetype *start)
{
    for (qsizetype at : {qsizetype(0), qsizetype(8)})
        if (const auto format = formatAt(data, at)) {
            if (start)
                *start = at;
            return *format;
        }
    throw UnknownPictureFormat();
}

QImage decodePicture(const QByteArray &data)
{
    qsizetype start = 0;
    const PictureFormat format = recognisePicture(data, &start);
    const QByteArray bytes = data.mid(start);
    switch (format) {
    case PictureFormat::Bitmap: return QImage::fromData(bytes, "BMP");
    case PictureFormat::Icon: return QImage::fromData(bytes, "ICO");
    case PictureFormat::Jpeg: return QImage::fromData(bytes, "JPEG");
    case PictureFormat::Metafile: return QImage();
    }
    return QImage();
}
