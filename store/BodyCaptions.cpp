#include "store/BodyCaptions.h"

#include "db/TDataSet.h"
#include "db/TField.h"

// Moving on at the last row stays there, which is what repeats the last caption.
QStringList bodyCaptions(TDataSet &gruppi)
{
    const TField *gruppo = gruppi.fieldByName(QStringLiteral("Gruppo"));
    QStringList captions;
    for (int number = 1; number <= 6; ++number) {
        captions << gruppo->asString();
        gruppi.next();
    }
    gruppi.first();
    return captions;
}
