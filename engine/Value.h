#pragma once
// A field value as the engine hands it over: null, Boolean, whole number, real number,
// date (days since 30 December 1899, the fraction being the time of day), text or bytes.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <cstdint>
#include <variant>

namespace dao {

struct Date {
    double days = 0.0;
    bool operator==(const Date &) const = default;
};

// The engine counts dates in days from its day 0, 30 December 1899 (earlier dates below 0).
inline QDate engineEpoch() { return QDate(1899, 12, 30); }
inline qint64 engineDayOf(const QDate &date) { return engineEpoch().daysTo(date); }
inline QDate calendarDateOf(qint64 engineDay) { return engineEpoch().addDays(engineDay); }

class Value {
public:
    using Storage = std::variant<std::monostate, bool, qint64, double, Date, QString, QByteArray>;

    Value() = default;
    Value(bool b) : m_v(b) {}
    Value(int i) : m_v(qint64(i)) {}
    Value(qint64 i) : m_v(i) {}
    Value(double d) : m_v(d) {}
    Value(Date d) : m_v(d) {}
    Value(const QString &s) : m_v(s) {}
    Value(const char *s) : m_v(QString::fromUtf8(s)) {}
    Value(const QByteArray &b) : m_v(b) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(m_v); }
    bool isBool() const { return std::holds_alternative<bool>(m_v); }
    bool isInt() const { return std::holds_alternative<qint64>(m_v); }
    bool isDouble() const { return std::holds_alternative<double>(m_v); }
    bool isDate() const { return std::holds_alternative<Date>(m_v); }
    bool isText() const { return std::holds_alternative<QString>(m_v); }
    bool isBytes() const { return std::holds_alternative<QByteArray>(m_v); }

    bool asBool() const;
    qint64 asInt() const;
    double asDouble() const;     // dates give their day number
    QString asText() const;      // null gives an empty text; numbers in plain decimal with "."
    QByteArray asBytes() const;
    const Storage &storage() const { return m_v; }

    bool operator==(const Value &) const = default;

private:
    Storage m_v;
};

} // namespace dao
