#pragma once
// The placeholders of a card and the texts that replace them. A placeholder is a field name
// in square brackets; its value text is the field's text with "True" made "X", "False" made
// empty and every line feed removed, so that the carriage-return line ends of memos and of
// the household summary become paragraph breaks.

#include <QString>
#include <QStringList>
#include <vector>

class TDataSet;

namespace word {

class Application;

struct Placeholder {
    QString text;    // "[Capofamiglia]"
    QString value;
};

QString documentValueText(const QString &fieldText);

// One placeholder per field of `cards`, in field order: name i from fieldNames (the
// dataset's bound field names), value i from field i. Throws std::out_of_range when the
// names run out before the fields.
std::vector<Placeholder> cardPlaceholders(const TDataSet &cards, const QStringList &fieldNames);

// The fill of the active document: the selection's find object with its formatting cleared
// and the options of a whole-document search, then one replace-all per placeholder, in
// order. Throws what the find object throws; the placeholders done so far stay done.
void replacePlaceholders(Application &application, const std::vector<Placeholder> &placeholders);

} // namespace word
