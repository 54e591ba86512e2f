#pragma once
// The two ways a text can be refused: it is outside the dialect (errUnsupportedText) or it
// names a field the table does not have (errTooFewParameters, as Jet reports a name it takes
// for a missing parameter).

#include <QString>
#include <QStringView>

namespace dao::jet {

// `text` is the whole text being read and `position` the offset where reading stopped.
[[noreturn]] void throwSyntaxError(const QString &detail, QStringView text, qsizetype position);
[[noreturn]] void throwSyntaxError(const QString &detail);
[[noreturn]] void throwUnknownField(const QString &name);

} // namespace dao::jet
