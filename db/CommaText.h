#pragma once
// A string list as one comma text, the way sort orders are saved and catalogued:
// items separated by commas, an item holding blanks, commas or double quotes enclosed in
// double quotes (a double quote inside doubled).

#include <QString>
#include <QStringList>

// "Fascia,\"[Scad_ISEE] DESC\"" for {"Fascia", "[Scad_ISEE] DESC"}.
QString toCommaText(const QStringList &items);
// Splits at commas and at blanks outside double quotes; quoted pieces lose their quotes.
// Empty pieces (two commas in a row, a trailing comma) are dropped: an empty item means
// nothing in a sort order.
QStringList fromCommaText(const QString &text);
