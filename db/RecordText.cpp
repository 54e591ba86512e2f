#include "db/RecordText.h"

#include "db/TDataSet.h"
#include "db/TField.h"

namespace {
// The search runs this over every field of every card: it changes the text where it lies.
void upperAsciiFrom(QString &text, qsizetype from)
{
    QChar *c = text.data() + from;
    QChar *const end = text.data() + text.size();
    for (; c != end; ++c) {
        const char16_t u = c->unicode();
        if (u >= u'a' && u <= u'z')
            *c = QChar(char16_t(u - (u'a' - u'A')));
    }
}
}

QString upperAsciiLetters(const QString &text)
{
    QString upper = text;
    upperAsciiFrom(upper, 0);
    return upper;
}

QString recordText(const TDataSet &dataSet)
{
    QString text;
    text.reserve(1024);
    for (const TField *field : dataSet.fields()) {
        text += QLatin1Char(' ');
        const qsizetype from = text.size();
        text += field->asString();
        upperAsciiFrom(text, from);
    }
    return text;
}
