#include "engine/pg/ServerFunctions.h"

#include "engine/pg/TextKey.h"

#include <QChar>

namespace dao::pg {

namespace {

QString literal(const QString &text)
{
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("''"));
    return u'\'' + quoted + u'\'';
}

// replace(...replace(t, 'ß', <with>)...) for the letters that weigh as two and pass `keep`.
template <typename Keep>
QString expanded(const QString &text, QString KeyEntry::*with, Keep keep)
{
    QString sql = text;
    for (const KeyEntry &entry : keyTable().expansions) {
        if (keep(entry.cp))
            sql = QStringLiteral("replace(%1, %2, %3)").arg(sql, literal(QString::fromUcs4(&entry.cp, 1)), literal(entry.*with));
    }
    return sql;
}

// A key function over the text `t`: the expansions replaced, then translate() with the
// table's letters that pass `keep` for the primaries (lower-cased after, when asked) and for
// the accent ranks, where every character the table leaves alone has no accent.
template <typename Keep>
QString keyFunction(const QString &name, bool lowerAfter, Keep keep)
{
    QString from;
    QString primaries;
    QString secondaries;
    for (const KeyEntry &entry : keyTable().singles) {
        if (!keep(entry.cp))
            continue;
        from += QString::fromUcs4(&entry.cp, 1);
        primaries += entry.primaries;
        secondaries += entry.secondaries;
    }
    const char32_t lastRank = kRankBase + 0xFF;
    const QString noAccent = QString::fromUcs4(&kRankBase, 1);
    const QString notARank = QStringLiteral("[^%1-%2]").arg(noAccent, QString::fromUcs4(&lastRank, 1));
    QString primary = QStringLiteral("translate(%1, %2, %3)")
                          .arg(expanded(QStringLiteral("t"), &KeyEntry::primaries, keep), literal(from), literal(primaries));
    if (lowerAfter)
        primary = QStringLiteral("lower(%1)").arg(primary);
    return QStringLiteral(
               "CREATE OR REPLACE FUNCTION %1(t text) RETURNS bytea LANGUAGE sql IMMUTABLE PARALLEL SAFE AS "
               "$f$ SELECT jet_utf8(%2) || '\\x00'::bytea || "
               "jet_utf8(rtrim(regexp_replace(translate(%3, %4, %5), %6, %7, 'g'), %7)) $f$")
        .arg(name, primary, expanded(QStringLiteral("t"), &KeyEntry::secondaries, keep), literal(from),
             literal(secondaries), literal(notARank), literal(noAccent));
}

// jet_key_latin takes a lower-cased text of code points below U+0100 (most accented
// names): a short table, so translate() stays quick; jet_key_composed any composed text.
// No function here is strict and none calls a function that is not immutable, so the
// server can inline them into the statement instead of calling them row by row.
QStringList keyFunctions()
{
    const auto latin = [](char32_t cp) { return cp >= 0x80 && cp <= 0xFF && QChar::toLower(cp) == cp; };
    const auto every = [](char32_t) { return true; };
    return {QStringLiteral("CREATE OR REPLACE FUNCTION jet_utf8(t text) RETURNS bytea LANGUAGE sql IMMUTABLE "
                           "PARALLEL SAFE AS $f$ SELECT decode(replace(t, '\\', '\\\\'), 'escape') $f$"),
            keyFunction(QStringLiteral("jet_key_latin"), false, latin),
            keyFunction(QStringLiteral("jet_key_composed"), true, every)};
}

// The whitespace the file's number reading skips around a number.
const char *const kNumberPattern = "[+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?";

const char *const kFixedFunctions[] = {
    // Texts of plain ASCII need neither composing nor the table; Latin-1 ones a short table.
    "CREATE OR REPLACE FUNCTION jet_key(t text) RETURNS bytea LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $f$ "
    "SELECT CASE WHEN octet_length(t) = char_length(t) "
    "THEN jet_utf8(translate(t, 'ABCDEFGHIJKLMNOPQRSTUVWXYZ', 'abcdefghijklmnopqrstuvwxyz')) || "
    "'\\x00'::bytea WHEN t ~ '^[\\x01-\\xff]*$' THEN jet_key_latin(lower(t)) "
    "ELSE jet_key_composed(normalize(t, NFC)) END $f$",

    // A text compared with a number reads as one only when it is a number as a whole.
    "CREATE OR REPLACE FUNCTION jet_num(t text) RETURNS numeric LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $f$ "
    "SELECT CASE WHEN t ~ '^[ \\t\\n\\r\\f\\v]*%NUMBER%[ \\t\\n\\r\\f\\v]*$' "
    "THEN btrim(t, E' \\t\\n\\r\\f\\v')::numeric END $f$",

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

    // A day number as dd/MM/yyyy (D), hh:mm:ss (H) or both (T); empty before the first day of
    // year 1. The whole part names the day, the fraction's magnitude the time.
    "CREATE OR REPLACE FUNCTION jet_date_text(x double precision, form text) RETURNS text LANGUAGE plpgsql "
    "IMMUTABLE STRICT PARALLEL SAFE AS $f$ "
    "DECLARE w double precision; ms bigint; day bigint; secs integer; ds text; ts text; "
    "BEGIN "
    "IF x = 'NaN' OR abs(x) > 1e12 THEN RETURN ''; END IF; "
    "w := trunc(x); "
    "ms := round((abs(x - w) * 86400000)::numeric); "
    "day := w::bigint + 693594; "
    "IF ms >= 86400000 THEN ms := ms - 86400000; day := day + 1; END IF; "
    "IF day < 1 OR day > 2000000000 THEN RETURN ''; END IF; "
    "ds := to_char(date '0001-01-01' + (day - 1)::integer, 'DD/MM/YYYY'); "
    "secs := ms / 1000; "
    "ts := lpad((secs / 3600)::text, 2, '0') || ':' || lpad((secs / 60 % 60)::text, 2, '0') || ':' "
    "|| lpad((secs % 60)::text, 2, '0'); "
    "RETURN CASE form WHEN 'D' THEN ds WHEN 'H' THEN ts ELSE ds || ' ' || ts END; "
    "END $f$",

    // LIKE when the pattern is a field: the pattern becomes a regular expression per row, as
    // the translation does once for a literal pattern (* ? # [set] [!set], case ignored).
    "CREATE OR REPLACE FUNCTION jet_like(v text, p text) RETURNS boolean LANGUAGE plpgsql IMMUTABLE STRICT "
    "PARALLEL SAFE AS $f$ "
    "DECLARE lp text := lower(p); n integer := char_length(lower(p)); r text := '^'; i integer := 1; "
    "c text; k integer; inside text; neg boolean; j integer; lo text; hi text; ranges text; "
    "BEGIN "
    "WHILE i <= n LOOP "
    "  c := substr(lp, i, 1); "
    "  IF c = '*' THEN r := r || '.*'; "
    "  ELSIF c = '?' THEN r := r || '.'; "
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
    "RETURN lower(v) ~ (r || '$'); "
    "END $f$",
};

} // namespace

QStringList functionDefinitions()
{
    QStringList statements = keyFunctions();
    for (const char *function : kFixedFunctions)
        statements.append(QString::fromUtf8(function).replace(QStringLiteral("%NUMBER%"), QLatin1StringView(kNumberPattern)));
    return statements;
}

} // namespace dao::pg
