#pragma once
// The texts the table dataset sends to the engine: sort texts, master/detail conditions
// and select texts, and the conditions of a locate. Typed values are always enclosed so
// that they cannot change the condition around them.

#include "db/DbTypes.h"

#include <QString>
#include <QStringList>

namespace arctable {

// "a, b, c " from the sort items: each item, "," unless last, then one blank.
QString sortText(const QStringList &items);

// "[name]" (a dot becoming "].[") when brackets are on, the name as written otherwise.
QString fieldNameText(const QString &name, bool useBrackets);

// A text enclosed in double quotes, every double quote inside doubled.
QString quotedText(const QString &text);

// A key value as a condition needs it: the type of its field, whether it is null and its
// text (the content for text, memo and binary fields, the value text for the others).
struct KeyValue {
    TFieldType type = TFieldType::ftUnknown;
    bool isNull = true;
    QString text;
};

// The value part of one master/detail term ("IS NULL", " = 17", " = \"x\"", ...);
// "Unable to build Master/Detail SQL Relationship!" for a type it cannot write.
QString masterValuePart(const KeyValue &value);
// The value part of one locate term: texts lower-cased inside LCASE(...) when the search
// ignores case, matched with LIKE and a trailing "*" for a partial key.
QString locateValuePart(const KeyValue &value, bool caseInsensitive, bool partialKey);

// "(name value)" terms joined by " AND ".
QString joinTerms(const QStringList &terms);
QString term(const QString &name, const QString &valuePart, bool useBrackets);

// The detail/master pairs of MasterFields lines ("Detail -> Master", or one line "A;B").
struct LinkPairs {
    QStringList detail;
    QStringList master;
};
LinkPairs parseMasterFields(const QStringList &lines);

// The master condition combined with the text filter: "(c) AND (f)", or either alone.
QString combineWithFilter(const QString &condition, const QString &filter);

// "Select * From [T] Where c Order By s;" (without the order part when s is empty).
QString selectText(const QString &table, const QString &condition, const QString &sortText);

} // namespace arctable
