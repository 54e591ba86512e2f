#pragma once
// The paper sizes the page options offer, with their Italian names. Codes are those a layout
// stores (9 is A4); sizes in tenths of a millimetre, portrait.

#include <QList>
#include <QString>

struct PaperSize {
    qint32 code;
    QString name;
    qint32 width;
    qint32 height;
};

constexpr qint32 kCustomPaper = 256;   // "Personalizzato": width and height typed in

const QList<PaperSize> &paperSizes();
// The entry of that code, or null.
const PaperSize *paperSize(qint32 code);
