#pragma once
// The functions the PostgreSQL translations of the Jet texts call, created in the archive's
// schema of functions (kFunctionSchema) when the archive is made (and again, harmlessly, when it is upgraded): plain SQL
// and PL/pgSQL, no server extension.
//   jet_key(text) -> bytea          the engine's text order as a byte key (TextKey.h)
//   jet_num(text) -> numeric        a text read as a number the way the file does when it
//                                   compares a text with a number; null when it is none
//   jet_truth(text) -> boolean      a text standing alone as a condition: its leading number
//   jet_real_text(float8, boolean)  a real number as text, as the file writes it (true) or
//                                   as the record texts do (false)
//   jet_number_text(float8, boolean) a number of a currency, single or date field as text
//   jet_date_text(float8, text)     a day number in a record text form (D, T, H);
//   jet_text_date_text(text, text)  the same for a date kept as text
//   jet_like(text, text) -> boolean LIKE with a pattern that is not a literal
//   jet_ucase(text), jet_lcase(text) UCASE and LCASE
//   jet_like_lower(text)            the lower case LIKE compares
// and the helpers they call (jet_utf8, jet_key_latin, jet_key_composed, jet_calendar_text).
// The texts hold no question mark, so a runner that numbers parameters leaves them alone.

#include <QStringList>

namespace dao::pg {

// The schema, then one CREATE OR REPLACE FUNCTION statement per element, to be run in order.
QStringList functionDefinitions();

} // namespace dao::pg
