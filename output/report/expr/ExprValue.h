#pragma once
// A value of the report expressions: empty, number, text, date-time or flag.
//
// Dates and times are held as days since 30 December 1899 (the archive's serial), so that
// DATE + 30 and the difference of two dates are plain arithmetic. An empty value (an
// unassigned variable, a null date field) computes as 0 or as empty text, whichever the
// other operand asks for, and prints as nothing.

#include <QDateTime>
#include <QString>
#include <type_traits>

namespace report {

// What kind of field a null value came from: it decides the value that stands for it.
enum class ExprFieldKind { Text, Number, DateTime, Flag };

class ExprValue {
public:
    enum class Kind { Empty, Number, Text, DateTime, Flag };

    ExprValue() = default;
    ExprValue(double number) : m_kind(Kind::Number), m_number(number) {}
    template <typename Integer, std::enable_if_t<std::is_integral_v<Integer> && !std::is_same_v<Integer, bool>, int> = 0>
    ExprValue(Integer number) : m_kind(Kind::Number), m_number(double(number)) {}
    ExprValue(const QString &text) : m_kind(Kind::Text), m_text(text) {}
    ExprValue(const char *text) : m_kind(Kind::Text), m_text(QString::fromUtf8(text)) {}
    ExprValue(bool flag) : m_kind(Kind::Flag), m_number(flag ? 1 : 0) {}

    static ExprValue dateTime(double serial);
    static ExprValue dateTime(const QDateTime &value);   // an invalid one gives an empty value
    static ExprValue dateTime(const QDate &date, int msecs);   // a calendar date and its time of day
    static ExprValue date(const QDate &value);
    static ExprValue time(const QTime &value);           // the time of day alone (serial below 1)
    // The value a null field gives: 0 for numbers, false for flags, empty text for strings,
    // and for dates an empty value (0 in computations, printed as nothing rather than 30/12/1899).
    // A null number stays 0 in computations but remembers it stood for nothing: a text that
    // prints it as it is shows nothing, as the field does on screen, and the statistics
    // leave it out. Whatever is computed from it is an ordinary number.
    static ExprValue nullOf(ExprFieldKind kind);

    Kind kind() const { return m_kind; }
    bool isEmpty() const { return m_kind == Kind::Empty; }
    bool isNumber() const { return m_kind == Kind::Number; }
    bool isText() const { return m_kind == Kind::Text; }
    bool isDateTime() const { return m_kind == Kind::DateTime; }
    bool isFlag() const { return m_kind == Kind::Flag; }
    // A null field's value (a null date is also empty).
    bool isNull() const { return m_null || m_kind == Kind::Empty; }

    // Numbers, flags (1/0), dates (their serial) and empty values (0) as a number.
    double number() const { return m_number; }
    const QString &rawText() const { return m_text; }
    QDateTime toDateTime() const;   // of the serial, as a wall-clock time in UTC (no zone)
    // The truth of a flag, a number (nonzero) or an empty value (false).
    bool truth() const { return m_number != 0; }

    // The printed text: numbers with a decimal comma and no grouping ("1234,5"), dates
    // "dd/mm/yyyy", times "hh:mm:ss", both when both parts are set, flags "Sì"/"No".
    QString toText() const;

    bool operator==(const ExprValue &other) const;

private:
    Kind m_kind = Kind::Empty;
    double m_number = 0;
    QString m_text;
    bool m_null = false;
};

// The serial day number of a calendar date, and back.
double serialOfDate(const QDate &date);
QDate dateOfSerial(double serial);
// A number as the expressions print it: "12", "-3,5", "1,5E20"; "INF", "NAN" when not finite.
QString numberText(double value);

} // namespace report
