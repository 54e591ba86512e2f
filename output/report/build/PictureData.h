#pragma once
// Pictures kept in a layout or a dataset field, recognised by their first bytes (at the
// start or after an 8-byte header): "BM" a bitmap, 16-bit 0 then 1 an icon, FF D8 a JPEG,
// a first 16-bit value of 0 or 1 or D7 CD C6 9A a Windows metafile.

#include <QByteArray>
#include <QImage>
#include <QStringList>
#include <optional>
#include <stdexcept>

class TqnLayout;

class UnknownPictureFormat final : public std::runtime_error {
public:
    UnknownPictureFormat() : std::runtime_error("Formato immagine sconosciuto.") {}
};

enum class PictureFormat { Bitmap, Icon, Jpeg, Metafile };

// Throws UnknownPictureFormat.
PictureFormat recognisePicture(const QByteArray &data, qsizetype *start = nullptr);
// The picture as an image; a null image for a metafile (which this system cannot draw).
QImage decodePicture(const QByteArray &data);
// What stands in a box of `size` pixels for a metafile: a grey, framed and crossed box that
// says what it replaces, so that the picture is seen to be missing rather than blank.
QImage metafilePlaceholder(QSize size);
// The names of the layout's pictures that are metafiles, for the warning given when the
// layout is loaded.
QStringList metafilePictures(const TqnLayout &layout);
QString metafileWarning(const QStringList &names);
