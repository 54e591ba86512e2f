#include "output/report/build/PictureData.h"

#include "output/report/model/TqnLayout.h"

#include <QPainter>

#include <algorithm>

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

QImage metafilePlaceholder(QSize size)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32);
    image.fill(QColor(230, 230, 230));
    QPainter painter(&image);
    painter.setPen(QPen(QColor(128, 128, 128), 1));
    const QRect box = image.rect().adjusted(0, 0, -1, -1);
    painter.drawRect(box);
    painter.drawLine(box.topLeft(), box.bottomRight());
    painter.drawLine(box.bottomLeft(), box.topRight());
    QFont font = painter.font();
    font.setPixelSize(std::clamp(size.height() / 6, 6, 12));
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(box.adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWordWrap,
                     QStringLiteral("Immagine metafile non visualizzabile"));
    return image;
}

QStringList metafilePictures(const TqnLayout &layout)
{
    QStringList names;
    for (const TqnPage &page : layout.Pages)
        for (const auto &object : page.Objects) {
            if (object->kind() != TqnViewKind::vkPicture)
                continue;
            const QByteArray &data = static_cast<const TqnPictureView &>(*object).Data;
            try {
                if (!data.isEmpty() && recognisePicture(data) == PictureFormat::Metafile)
                    names << object->Name;
            } catch (const UnknownPictureFormat &) {
                // Told when the page is built, as every unknown picture is.
            }
        }
    return names;
}

QString metafileWarning(const QStringList &names)
{
    const QString quoted = QLatin1Char('"') + names.join(QStringLiteral("\", \"")) + QLatin1Char('"');
    if (names.size() == 1)
        return QStringLiteral("L'immagine %1 è un metafile di Windows, un formato che questo programma non sa "
                              "disegnare: nella stampa al suo posto appare un riquadro grigio. Sostituirla con "
                              "un'immagine BMP o JPEG.").arg(quoted);
    return QStringLiteral("Le immagini %1 sono metafile di Windows, un formato che questo programma non sa "
                          "disegnare: nella stampa al loro posto appaiono riquadri grigi. Sostituirle con "
                          "immagini BMP o JPEG.").arg(quoted);
}
