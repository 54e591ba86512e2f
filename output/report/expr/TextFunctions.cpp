#include "output/report/expr/ExprFunctionImpl.h"

#include "output/report/expr/ExprConvert.h"
#include "output/report/expr/ItalianNumberWords.h"

namespace report::fn {

namespace {
// FILLSTR builds no text longer than this: a line of dashes, not a way to fill memory.
constexpr qsizetype kMaxFill = 10000;
}

ExprValue upperCase(const Args &args, const QString &) { return ExprValue(text(args, 0).toUpper()); }
ExprValue lowerCase(const Args &args, const QString &) { return ExprValue(text(args, 0).toLower()); }

ExprValue nameCase(const Args &args, const QString &)
{
    QString t = text(args, 0).toLower();
    bool wordStart = true;
    for (QChar &c : t) {
        if (c.isLetter()) {
            if (wordStart)
                c = c.toUpper();
            wordStart = false;
        } else {
            wordStart = !c.isDigit();   // after a blank, an apostrophe, a hyphen: D'Angelo, Rossi-Bianchi
        }
    }
    return ExprValue(t);
}

ExprValue phraseCase(const Args &args, const QString &)
{
    QString t = text(args, 0).toLower();
    for (QChar &c : t) {
        if (c.isLetter()) {
            c = c.toUpper();
            break;
        }
    }
    return ExprValue(t);
}

ExprValue numberToLetter(const Args &args, const QString &name)
{
    const auto words = italianNumberWords(number(args, 0, name));
    if (!words)
        invalid(name);
    return ExprValue(*words);
}

ExprValue str(const Args &args, const QString &name) { return ExprValue(numberText(number(args, 0, name))); }

ExprValue copy(const Args &args, const QString &name)
{
    const QString t = text(args, 0);
    const qsizetype start = std::max(1, clampToInt(number(args, 1, name))) - 1;
    const qsizetype count = std::max(0, clampToInt(number(args, 2, name)));
    return ExprValue(start >= t.size() ? QString() : t.mid(start, count));
}

ExprValue pos(const Args &args, const QString &)
{
    const QString needle = text(args, 0);
    return ExprValue(needle.isEmpty() ? 0.0 : double(text(args, 1).indexOf(needle) + 1));
}

ExprValue length(const Args &args, const QString &) { return ExprValue(double(text(args, 0).size())); }

ExprValue fillStr(const Args &args, const QString &name)
{
    const QString t = text(args, 0);
    const int times = clampToInt(number(args, 1, name));
    if (times <= 0 || t.isEmpty())
        return ExprValue(QString());
    if (qint64(times) * t.size() > kMaxFill)
        invalid(name);
    return ExprValue(t.repeated(times));
}

} // namespace report::fn
