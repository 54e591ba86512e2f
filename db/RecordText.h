#pragma once
// The text of the current record for searching: every field's text, in field order, each
// after one blank, with the letters a to z upper-cased (accented letters stay as stored).
// The card list's search and the printed lists' filter share it.

#include <QString>

class TDataSet;

QString recordText(const TDataSet &dataSet);

// Upper-cases the letters a to z only.
QString upperAsciiLetters(const QString &text);
