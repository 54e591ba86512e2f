#include "engine/pg/ServerFunctions.h"

#include "engine/pg/PgSchema.h"
#include "engine/pg/TextKey.h"

#include <QChar>

namespace dao::pg {

namespace {

QString sqlText(const QString &text)
{
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("''"));
    return u'\'' + quoted + u'\'';
}

// replace(...replace(t, 'ß', <with>)...) for the letters that weigh as two and pass `keep`.
template <typename Keep>
QString withExpansions(const QString &text, QString KeyEntry::*with, Keep keep)
{
    QString sql = text;
    for (const KeyEntry &entry : keyTable().expansions) {
        if (keep(entry.cp))
            sql = QStringLiteral("replace(%1, %2, %3)").arg(sql, sqlText(QString::fromUcs4(&entry.cp, 1)), sqlText(entry.*with));
    }
    return sql;
}

// A key function over the text `t`: the expansions replaced, then translate() with the
// table's letters that pass `keep` for the primaries (then `lowerAfter`) and for
// the accent ranks, where every character the table leaves alone has no accent.
template <typename Keep>
QString keyFunction(const QString &name, const QString &lowerAfter, Keep keep)
{
    // translate() looks each character up from the start of its list and reads the whole
    // list for one that is not there: the commonest characters, which map to themselves,
    // come first so that a name costs a few steps per letter.
    const QString noAccent = QString::fromUcs4(&kRankBase, 1);
    QString from = QStringLiteral("aeiounrtlscdmpbgvfzhqjkwxy 0123456789.,'-");
    QString primaries = from;
    QString secondaries = noAccent.repeated(from.size());
    for (const KeyEntry &entry : keyTable().singles) {
        if (!keep(entry.cp))
            continue;
        from += QString::fromUcs4(&entry.cp, 1);
        primaries += entry.primaries;
        secondaries += entry.secondaries;
    }
    const char32_t lastRank = kRankBase + 0xFF;
    const QString notARank = QStringLiteral("[^%1-%2]").arg(noAccent, QString::fromUcs4(&lastRank, 1));
    QString primary = QStringLiteral("translate(%1, %2, %3)")
                          .arg(withExpansions(QStringLiteral("t"), &KeyEntry::primaries, keep), sqlText(from), sqlText(primaries));
    primary = lowerAfter.arg(primary);
    return QStringLiteral(
               "CREATE OR REPLACE FUNCTION %1(t text) RETURNS bytea LANGUAGE sql IMMUTABLE PARALLEL SAFE AS "
               "$f$ SELECT jet_utf8(%2) || '\\x00'::bytea || "
               "jet_utf8(rtrim(regexp_replace(translate(%3, %4, %5), %6, %7, 'g'), %7)) $f$")
        .arg(name, primary, withExpansions(QStringLiteral("t"), &KeyEntry::secondaries, keep), sqlText(from),
             sqlText(secondaries), sqlText(notARank), sqlText(noAccent));
}

// jet_key_latin takes a text of code points below U+0100 (most accented names): a short
// table, so translate() stays quick, and lower() under the collation "C" for A to Z, so the
// database's locale plays no part; jet_key_composed any composed text, whose letters beyond
// the table lower() lower-cases as the database's locale says (C.UTF-8 as Qt does).
// No function here is strict and none calls a function that is not immutable, so the
// server can inline them into the statement instead of calling them row by row.
QStringList keyFunctions()
{
    const auto latin = [](char32_t cp) { return cp >= 0x80 && cp <= 0xFF; };
    const auto every = [](char32_t) { return true; };
    return {QStringLiteral("CREATE OR REPLACE FUNCTION jet_utf8(t text) RETURNS bytea LANGUAGE sql IMMUTABLE "
                           "PARALLEL SAFE AS $f$ SELECT decode(replace(t, '\\', '\\\\'), 'escape') $f$"),
            keyFunction(QStringLiteral("jet_key_latin"), QStringLiteral("lower(%1 COLLATE \"C\")"), latin),
            keyFunction(QStringLiteral("jet_key_composed"), QStringLiteral("lower(%1)"), every)};
}

// translate(t, ...) changing the case of the Latin-1 letters as Qt does, so that accented
// names change case whatever the database's locale; upper() and lower() do the rest.
QString latinCase(const QString &text, bool upper)
{
    QString from;
    QString to;
    for (char32_t cp = 0x80; cp <= 0xFF; ++cp) {
        const char32_t changed = upper ? QChar::toUpper(cp) : QChar::toLower(cp);
        if (changed != cp) {
            from += QString::fromUcs4(&cp, 1);
            to += QString::fromUcs4(&changed, 1);
        }
    }
    return QStringLiteral("translate(%1, %2, %3)").arg(text, sqlText(from), sqlText(to));
}

// UCASE and LCASE as the file's functions change case: whole texts, so a letter that turns
// into two ("ß" into "SS") does, which upper() and lower() do letter by letter.
QStringList caseFunctions()
{
    QStringList functions;
    for (const bool upper : {true, false}) {
        QString sql = QStringLiteral("t");
        for (char32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
            if (cp >= 0xD800 && cp <= 0xDFFF)
                continue;
            const QString letter = QString::fromUcs4(&cp, 1);
            const QString whole = upper ? letter.toUpper() : letter.toLower();
            const char32_t single = upper ? QChar::toUpper(cp) : QChar::toLower(cp);
            if (whole != QString::fromUcs4(&single, 1))
                sql = QStringLiteral("replace(%1, %2, %3)").arg(sql, sqlText(letter), sqlText(whole));
        }
        functions << QStringLiteral("CREATE OR REPLACE FUNCTION %1(t text) RETURNS text LANGUAGE sql IMMUTABLE "
                                    "PARALLEL SAFE AS $f$ SELECT %2(%3) $f$")
                         .arg(upper ? QStringLiteral("jet_ucase") : QStringLiteral("jet_lcase"),
                              upper ? QStringLiteral("upper") : QStringLiteral("lower"), latinCase(sql, upper));
    }
    // LIKE lowers letter by letter, and leaves alone a letter whose lower case is more than
    // one letter ("İ"), which lower() would change: such letters hide behind private-use
    // characters while lower() runs.
    QString hide = QStringLiteral("t");
    QString show = QStringLiteral("lower(%1)");
    char32_t hiding = 0x10FF00;  // a private-use plane no text uses
    for (char32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
        const QString letter = QString::fromUcs4(&cp, 1);
        if ((cp >= 0xD800 && cp <= 0xDFFF) || QChar::toLower(cp) != cp || letter.toLower() == letter)
            continue;
        const QString hidden = QString::fromUcs4(&hiding, 1);
        hide = QStringLiteral("replace(%1, %2, %3)").arg(hide, sqlText(letter), sqlText(hidden));
        show = QStringLiteral("replace(%1, %2, %3)").arg(show, sqlText(hidden), sqlText(letter));
        ++hiding;
    }
    functions << QStringLiteral("CREATE OR REPLACE FUNCTION jet_like_lower(t text) RETURNS text LANGUAGE sql "
                                "IMMUTABLE PARALLEL SAFE AS $f$ SELECT %1 $f$")
                     .arg(show.arg(latinCase(hide, false)));
    return functions;
}

// A number as the file reads one. No question mark anywhere in these texts: whoever runs them may take one for a parameter.
// Exponents of three digits at most: the server refuses a number beyond 1e1000.
const char *const kNumberPattern = "[+-]{0,1}([0-9]+\\.{0,1}[0-9]*|\\.[0-9]+)([eE][+-]{0,1}[0-9]{1,3}){0,1}";

const char *const kFixedFunctions[] = {
    // Texts of plain ASCII need neither composing nor the table (under the collation "C"
    // lower() changes A to Z only); Latin-1 ones a short table.
    "CREATE OR REPLACE FUNCTION jet_key(t text) RETURNS bytea LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $f$ "
    "SELECT CASE WHEN octet_length(t) = char_length(t) "
    "THEN jet_utf8(lower(t COLLATE \"C\")) || "
    "'\\x00'::bytea WHEN t ~ '^[\\x01-\\xff]*$' THEN jet_key_latin(t) "
    "ELSE jet_key_composed(normalize(t, NFC)) END $f$",

    // A text compared with a number reads as one only when it is a number as a whole; kept
    // within the range of a double precision field it may be compared with.
    "CREATE OR REPLACE FUNCTION jet_num(t text) RETURNS numeric LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $f$ "
    "SELECT CASE WHEN t ~ '^[ \\t\\n\\r\\f\\v]*%NUMBER%[ \\t\\n\\r\\f\\v]*$' "
    "THEN greatest(least(btrim(t, E' \\t\\n\\r\\f\\v')::numeric, 1e308), -1e308) END $f$",

    // A text standing as a condition holds when the number it begins with is not zero.
    "CREATE OR REPLACE FUNCTION jet_truth(t text) RETURNS boolean LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $f$ "
    "SELECT coalesce(substring(t from '^[ \\t\\n\\r\\f\\v]*(%NUMBER%)')::numeric <> 0, false) $f$",

    // Fifteen significant digits; the file's form always shows a decimal point ("1.0",
    // "1.0e+20"), the record texts' form does not ("1", "1e+20").
    "CREATE OR REPLACE FUNCTION jet_real_text(x double precision, point boolean) RETURNS text LANGUAGE plpgsql "
    "IMMUTABLE STRICT PARALLEL SAFE AS $f$ "
    "DECLARE n numeric; e integer; s text; "
    "BEGIN "
    "IF x = 'NaN' THEN RETURN NULL; END IF; "
    "IF x = 'Infinity' THEN RETURN CASE WHEN point THEN 'Inf' ELSE 'inf' END; END IF; "
    "IF x = '-Infinity' THEN RETURN CASE WHEN point THEN '-Inf' ELSE '-inf' END; END IF; "
    "IF x = 0 THEN RETURN CASE WHEN point THEN '0.0' ELSE '0' END; END IF; "
    "n := x::numeric; "
    "e := split_part(to_char(n, '9.99999999999999EEEE'), 'e', 2)::integer; "
    "IF e < -4 OR e >= 15 THEN "
    "  s := trim_scale(round(n / (10::numeric ^ e), 14))::text; "
    "  IF point AND position('.' in s) = 0 THEN s := s || '.0'; END IF; "
    "  RETURN s || 'e' || CASE WHEN e < 0 THEN '-' ELSE '+' END || lpad(abs(e)::text, 2, '0'); "
    "END IF; "
    "s := trim_scale(n)::text; "
    "IF point AND position('.' in s) = 0 THEN s := s || '.0'; END IF; "
    "RETURN s; "
    "END $f$",

    // A currency, single or date field keeps a whole value as a whole number in the file.
    "CREATE OR REPLACE FUNCTION jet_number_text(x double precision, point boolean) RETURNS text LANGUAGE sql IMMUTABLE STRICT "
    "PARALLEL SAFE AS $f$ SELECT CASE WHEN x = trunc(x) AND abs(x) < 9.2e18 THEN trunc(x)::bigint::text "
    "ELSE jet_real_text(x, point) END $f$",

    // A calendar day (1 January 0001 is day 1) and milliseconds as dd/MM/yyyy (D), hh:mm:ss (H)
    // or both (T); empty before the first day.
    "CREATE OR REPLACE FUNCTION jet_calendar_text(day bigint, ms bigint, form text) RETURNS text LANGUAGE plpgsql "
    "IMMUTABLE STRICT PARALLEL SAFE AS $f$ "
    "DECLARE secs integer := ms / 1000; ds text; ts text; "
    "BEGIN "
    "IF day < 1 OR day > 2000000000 THEN RETURN ''; END IF; "
    "ds := to_char(date '0001-01-01' + (day - 1)::integer, 'DD/MM/YYYY'); "
    "ts := lpad((secs / 3600)::text, 2, '0') || ':' || lpad((secs / 60 % 60)::text, 2, '0') || ':' "
    "|| lpad((secs % 60)::text, 2, '0'); "
    "RETURN CASE form WHEN 'D' THEN ds WHEN 'H' THEN ts ELSE ds || ' ' || ts END; "
    "END $f$",

    // A day number: the whole part names the day, the fraction's magnitude the time.
    "CREATE OR REPLACE FUNCTION jet_date_text(x double precision, form text) RETURNS text LANGUAGE plpgsql "
    "IMMUTABLE STRICT PARALLEL SAFE AS $f$ "
    "DECLARE w double precision; ms bigint; day bigint; "
    "BEGIN "
    "IF x = 'NaN' OR abs(x) > 1e12 THEN RETURN ''; END IF; "
    "w := trunc(x); "
    "ms := round((abs(x - w) * 86400000)::numeric); "
    "day := w::bigint + 693594; "
    "IF ms >= 86400000 THEN ms := ms - 86400000; day := day + 1; END IF; "
    "RETURN jet_calendar_text(day, ms, form); "
    "END $f$",

    // A date kept as text reads as "calendar day [milliseconds]" (days from 1 January 0001).
    "CREATE OR REPLACE FUNCTION jet_text_date_text(t text, form text) RETURNS text LANGUAGE plpgsql "
    "IMMUTABLE STRICT PARALLEL SAFE AS $f$ "
    "DECLARE parts text[] := regexp_match(btrim(t, E' \\t\\n\\r\\f\\v'), "
    "'^([+-]{0,1}[0-9]{1,18})( +([+]{0,1}[0-9]{1,9})){0,1}$'); ms bigint; "
    "BEGIN "
    "IF parts IS NULL THEN RETURN ''; END IF; "
    "ms := coalesce(parts[3]::bigint, 0); "
    "IF ms >= 86400000 THEN RETURN ''; END IF; "
    "RETURN jet_calendar_text(parts[1]::bigint, ms, form); "
    "END $f$",

    // LIKE when the pattern is a field: the pattern becomes a regular expression per row, as
    // the translation does once for a literal pattern (* ? # [set] [!set], case ignored).
    "CREATE OR REPLACE FUNCTION jet_like(v text, p text) RETURNS boolean LANGUAGE plpgsql IMMUTABLE STRICT "
    "PARALLEL SAFE AS $f$ "
    "DECLARE lp text := jet_like_lower(p); n integer := char_length(lp); r text := '^'; i integer := 1; "
    "c text; k integer; inside text; neg boolean; j integer; lo text; hi text; ranges text; "
    "BEGIN "
    "WHILE i <= n LOOP "
    "  c := substr(lp, i, 1); "
    "  IF c = '*' THEN r := r || '.*'; "
    "  ELSIF c = chr(63) THEN r := r || '.'; "
    "  ELSIF c = '#' THEN r := r || '[0-9]'; "
    "  ELSIF c = '[' AND strpos(substr(lp, i + 1), ']') > 0 THEN "
    "    k := strpos(substr(lp, i + 1), ']'); inside := substr(lp, i + 1, k - 1); i := i + k; "
    "    neg := char_length(inside) > 1 AND left(inside, 1) = '!'; "
    "    IF neg THEN inside := substr(inside, 2); END IF; "
    "    IF inside = '' THEN NULL; "
    "    ELSIF NOT neg AND char_length(inside) = 1 THEN r := r || '\\U' || lpad(to_hex(ascii(inside)), 8, '0'); "
    "    ELSE "
    "      ranges := ''; j := 1; "
    "      WHILE j <= char_length(inside) LOOP "
    "        IF j + 2 <= char_length(inside) AND substr(inside, j + 1, 1) = '-' THEN "
    "          lo := substr(inside, j, 1); hi := substr(inside, j + 2, 1); j := j + 3; "
    "        ELSE lo := substr(inside, j, 1); hi := lo; j := j + 1; END IF; "
    "        IF ascii(lo) <= ascii(hi) THEN "
    "          ranges := ranges || '\\U' || lpad(to_hex(ascii(lo)), 8, '0') || '-\\U' || lpad(to_hex(ascii(hi)), 8, '0'); "
    "        END IF; "
    "      END LOOP; "
    "      r := r || CASE WHEN ranges <> '' THEN '[' || CASE WHEN neg THEN '^' ELSE '' END || ranges || ']' "
    "                     WHEN neg THEN '.' ELSE '[^\\U00000001-\\U0010ffff]' END; "
    "    END IF; "
    "  ELSE r := r || '\\U' || lpad(to_hex(ascii(c)), 8, '0'); "
    "  END IF; "
    "  i := i + 1; "
    "END LOOP; "
    "RETURN jet_like_lower(v) ~ (r || '$'); "
    "END $f$",
};

} // namespace

QStringList functionDefinitions()
{
    QStringList functions = keyFunctions() + caseFunctions();
    for (const char *function : kFixedFunctions)
        functions.append(QString::fromUtf8(function).replace(QStringLiteral("%NUMBER%"), QLatin1StringView(kNumberPattern)));
    // Each in the functions' own schema, named in full whatever the search path.
    const QString create = QStringLiteral("CREATE OR REPLACE FUNCTION ");
    QStringList statements{QStringLiteral("CREATE SCHEMA IF NOT EXISTS %1").arg(QLatin1String(kFunctionSchema))};
    for (const QString &function : functions)
        statements << create + QLatin1String(kFunctionSchema) + u'.' + function.mid(create.size());
    return statements;
}

} // namespace dao::pg
