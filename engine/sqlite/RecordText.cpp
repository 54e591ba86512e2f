#include "engine/sqlite/RecordText.h"

#include "engine/Value.h"
#include "engine/sqlite/UpperSearch.h"

#include <QDate>
#include <charconv>
#include <cmath>
#include <cstring>
#include <new>
#include <string_view>
#include <vector>
#include <sqlite3.h>

namespace dao::sqlite {

namespace {

constexpr qint64 kMsPerDay = 86400000;
// The data layer numbers days from 1 January 0001 (day 1); the engine's day 0 is its day 693594.
constexpr qint64 kEngineEpochDay = 693594;

void appendQString(std::string &out, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    out.append(utf8.constData(), size_t(utf8.size()));
}

// A stored value as the engine's value type, for the rare storage classes the fast paths
// below do not handle.
Value valueOf(sqlite3_value *value)
{
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        return Value(qint64(sqlite3_value_int64(value)));
    case SQLITE_FLOAT:
        return Value(sqlite3_value_double(value));
    case SQLITE_TEXT:
        return Value(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(value)),
                                       sqlite3_value_bytes(value)));
    case SQLITE_BLOB:
        return Value(QByteArray(static_cast<const char *>(sqlite3_value_blob(value)), sqlite3_value_bytes(value)));
    default:
        return {};
    }
}

// A date's calendar day (days from 1 January 0001, day 1) and milliseconds since midnight,
// as the value text names them; false when the value names no day the calendar shows.
bool dayAndMs(sqlite3_value *value, qint64 &day, qint64 &ms)
{
    if (sqlite3_value_type(value) == SQLITE_TEXT) {
        // A date stored as text is read as a value text: "day [milliseconds]".
        const QString text = valueOf(value).asText().trimmed();
        const qsizetype blank = text.indexOf(QLatin1Char(' '));
        const QStringView dayPart = blank < 0 ? QStringView(text) : QStringView(text).left(blank);
        const QStringView msPart = blank < 0 ? QStringView() : QStringView(text).mid(blank + 1).trimmed();
        if (dayPart.isEmpty() || msPart.contains(QLatin1Char(' ')))
            return false;
        bool ok = false;
        day = dayPart.toLongLong(&ok);
        if (!ok || day < 1)
            return false;
        ms = 0;
        if (!msPart.isEmpty()) {
            ms = msPart.toInt(&ok);
            if (!ok || ms < 0 || ms >= kMsPerDay)
                return false;
        }
        return true;
    }
    const double days = sqlite3_value_type(value) == SQLITE_BLOB ? valueOf(value).asDouble() : sqlite3_value_double(value);
    if (!std::isfinite(days) || std::fabs(days) > 1e12)
        return false;
    // The whole part names the day (also below zero), the fraction's magnitude the time.
    double whole = std::trunc(days);
    ms = std::llround(std::fabs(days - whole) * double(kMsPerDay));
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        whole += 1;
    }
    day = qint64(whole) + kEngineEpochDay;
    return day >= 1;
}

// A non-negative number with at least `width` digits, zeros in front ("%0*d"). A scan for a
// rare search text makes the record text of every card, so no formatting call is made per value.
void appendPadded(std::string &out, qint64 number, int width)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    const int size = int(end - digits);
    if (size < width)
        out.append(size_t(width - size), '0');
    out.append(digits, size_t(size));
}

void appendDateText(std::string &out, sqlite3_value *value, TextForm form)
{
    qint64 day = 0;
    qint64 ms = 0;
    if (!dayAndMs(value, day, ms))
        return;
    const QDate date = QDate::fromJulianDay(day + QDate(1, 1, 1).toJulianDay() - 1);
    if (!date.isValid())
        return;
    if (form != TextForm::Time) {
        int year = 0;
        int month = 0;
        int dayOfMonth = 0;
        date.getDate(&year, &month, &dayOfMonth);
        appendPadded(out, dayOfMonth, 2);
        out.push_back('/');
        appendPadded(out, month, 2);
        out.push_back('/');
        appendPadded(out, year, 4);
        if (form == TextForm::Date)
            return;
        out.push_back(' ');
    }
    const int seconds = int(ms / 1000);
    appendPadded(out, seconds / 3600, 2);
    out.push_back(':');
    appendPadded(out, seconds / 60 % 60, 2);
    out.push_back(':');
    appendPadded(out, seconds % 60, 2);
}

} // namespace

void appendFormText(std::string &out, sqlite3_value *value, TextForm form)
{
    const int type = sqlite3_value_type(value);
    if (type == SQLITE_NULL)
        return;
    switch (form) {
    case TextForm::Plain:
        if (type == SQLITE_TEXT) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
            out.append(text, size_t(sqlite3_value_bytes(value)));
        } else {
            appendQString(out, valueOf(value).asText());
        }
        return;
    case TextForm::Number: {
        const qint64 number = type == SQLITE_INTEGER ? qint64(sqlite3_value_int64(value)) : valueOf(value).asInt();
        char digits[24];
        out.append(digits, size_t(std::to_chars(digits, digits + sizeof digits, number).ptr - digits));
        return;
    }
    case TextForm::Boolean: {
        const bool on = type == SQLITE_TEXT ? valueOf(value).asBool() : sqlite3_value_double(value) != 0.0;
        out.append(on ? "True" : "False");
        return;
    }
    case TextForm::Date: case TextForm::DateTime: case TextForm::Time:
        appendDateText(out, value, form);
        return;
    }
}

namespace {
TextForm formOf(char code)
{
    switch (code) {
    case 'N': return TextForm::Number;
    case 'B': return TextForm::Boolean;
    case 'D': return TextForm::Date;
    case 'T': return TextForm::DateTime;
    case 'H': return TextForm::Time;
    default: return TextForm::Plain;
    }
}

} // namespace

// jet_text(value, form): the value's text in its form; null stays null so that it equals
// nothing, as the empty text of a null field equals no text a condition is made with.
void textFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    try {
        const auto *code = reinterpret_cast<const char *>(sqlite3_value_text(argv[1]));
        std::string text;
        appendFormText(text, argv[0], formOf(code ? code[0] : 'P'));
        sqlite3_result_text(context, text.data(), int(text.size()), SQLITE_TRANSIENT);
    } catch (const std::bad_alloc &) {
        sqlite3_result_error_nomem(context);
    }
}

namespace {
// Whether a column's text holds the term: a stored text is searched where SQLite holds it,
// any other text is made in `scratch` first.
bool columnHolds(const UpperSearch &search, sqlite3_value *value, TextForm form, std::string &scratch)
{
    if (form == TextForm::Plain && sqlite3_value_type(value) == SQLITE_TEXT)
        return search.foundIn(reinterpret_cast<const char *>(sqlite3_value_text(value)), size_t(sqlite3_value_bytes(value)));
    scratch.clear();
    appendFormText(scratch, value, form);
    return search.foundIn(scratch.data(), scratch.size());
}
} // namespace

namespace {
// What a search asks, read once per statement: the term and the form of each column. The
// library keeps it with the statement's term for as long as that term stays the same.
struct SearchPlan {
    SearchPlan(const char *term, size_t termSize, const char *formCodes, size_t formCount)
        : term(term, termSize), search(this->term)
    {
        for (size_t i = 0; i < formCount; ++i)
            forms.push_back(formOf(formCodes[i]));
    }
    SearchPlan(const SearchPlan &) = delete;
    SearchPlan &operator=(const SearchPlan &) = delete;

    TextForm formAt(int column) const { return size_t(column) < forms.size() ? forms[size_t(column)] : TextForm::Plain; }

    const std::string term;
    const UpperSearch search;
    std::vector<TextForm> forms;
};

const SearchPlan &planOf(sqlite3_context *context, sqlite3_value **argv)
{
    if (auto *plan = static_cast<const SearchPlan *>(sqlite3_get_auxdata(context, 0)))
        return *plan;
    const auto *forms = reinterpret_cast<const char *>(sqlite3_value_text(argv[1]));
    auto *plan = new SearchPlan(reinterpret_cast<const char *>(sqlite3_value_text(argv[0])),
                                size_t(sqlite3_value_bytes(argv[0])), forms,
                                forms ? size_t(sqlite3_value_bytes(argv[1])) : 0);
    sqlite3_set_auxdata(context, 0, plan, [](void *p) { delete static_cast<SearchPlan *>(p); });
    // The library may have dropped it at once (and deleted it): ask again.
    if (auto *kept = static_cast<const SearchPlan *>(sqlite3_get_auxdata(context, 0)))
        return *kept;
    throw std::bad_alloc();
}
} // namespace

// jet_record_contains(text, forms, column...): whether text occurs in the record text of
// the columns, `forms` giving one form code per column. A text without a blank cannot reach
// across the blank before each column's text, so each column is searched on its own and no
// record text is made; texts are made in a buffer kept by the thread, so a scan allocates
// nothing per row.
void recordContainsFunction(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    if (argc < 2 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    try {
        const SearchPlan &plan = planOf(context, argv);
        const UpperSearch &search = plan.search;
        thread_local std::string text;
        bool found = search.findsEverything();
        if (!found && !search.findsNothing() && search.hasBlank()) {
            text.clear();
            for (int i = 2; i < argc; ++i) {
                text.push_back(' ');
                appendFormText(text, argv[i], plan.formAt(i - 2));
            }
            found = search.foundIn(text.data(), text.size());
        } else if (!found && !search.findsNothing()) {
            for (int i = 2; i < argc && !found; ++i)
                found = columnHolds(search, argv[i], plan.formAt(i - 2), text);
        }
        sqlite3_result_int(context, found ? 1 : 0);
    } catch (const std::bad_alloc &) {
        sqlite3_result_error_nomem(context);
    }
}

} // namespace dao::sqlite
