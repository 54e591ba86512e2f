#include "db/RecordText.h"

#include "db/TDataSet.h"
#include "db/TField.h"

QString upperAsciiLetters(const QString &text)
{
    QString upper = text;
    for (QChar &c : upper) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - ('a' - 'A'));
    }
    return upper;
}

QString recordText(const TDataSet &dataSet)
{
    QString text;
    for (const TField *field : dataSet.fields())
        text += QLatin1Char(' ') + upperAsciiLetters(field->asString());
    return text;
}
