// The byte key of the engine's text order, computed here and by jet_key on the server,
// checked against compareText itself over every printable character below U+0250 alone,
// in pairs and inside words (all pairs with TAVORIO_LONG_TESTS=1).

#include "JetTestSupport.h"
#include "PgTestLink.h"
#include "engine/pg/ServerFunctions.h"
#include "engine/pg/TextKey.h"
#include "tests/support/TestArchive.h"

#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>

using dao::jet::compareText;
using dao::pg::textKey;

namespace {

QStringList sampleTexts()
{
    QStringList singles;
    for (char32_t cp = 0x20; cp < 0x250; ++cp) {
        if (QChar::isPrint(cp))
            singles << QString::fromUcs4(&cp, 1);
    }
    const bool everyPair = testsupport::longRun();
    QStringList texts = singles;
    for (qsizetype i = 0; i < singles.size(); ++i) {
        const QString &s = singles[i];
        texts << s + u'a' << s + u'z' << QStringLiteral("a") + s << s + s << s + QStringLiteral("é")
              << QStringLiteral("E") + s << QStringLiteral("Ross") + s + QStringLiteral("i")
              << QStringLiteral("ROSS") + s;
        // Latin-1 letters against each other, or every pair in the long run.
        for (qsizetype j = 0; j < singles.size(); ++j) {
            if (everyPair || (i % 7 == 0 && singles[j][0].unicode() >= 0xC0 && singles[j][0].unicode() < 0x100))
                texts << s + singles[j];
        }
    }
    texts << QString() << QStringLiteral("e\u0301") << QStringLiteral("E\u0301MILE") << QStringLiteral("a\u0300lfa")
          << QStringLiteral("Stra\u00DFe") << QStringLiteral("STRASSE") << QStringLiteral("\u0152uvre")
          << QStringLiteral("oeuvre") << QStringLiteral("Ελλάδα") << QStringLiteral("ΕΛΛΆΔΑ") << QStringLiteral("Мария");
    return texts;
}

TEST(TextKey, OrdersAndEqualsAsCompareText)
{
    QStringList texts = sampleTexts();
    std::stable_sort(texts.begin(), texts.end(), [](const QString &a, const QString &b) { return compareText(a, b) < 0; });
    int faults = 0;
    for (qsizetype i = 1; i < texts.size() && faults < 20; ++i) {
        const int order = compareText(texts[i - 1], texts[i]);
        const QByteArray a = textKey(texts[i - 1]);
        const QByteArray b = textKey(texts[i]);
        if ((order == 0) != (a == b) || a > b) {
            ++faults;
            ADD_FAILURE() << "'" << texts[i - 1].toStdString() << "' and '" << texts[i].toStdString()
                          << "': compareText " << order << ", keys " << a.toHex().toStdString() << " "
                          << b.toHex().toStdString();
        }
    }
}

TEST(TextKey, ServerComputesTheSameKey)
{
    TAVORIO_REQUIRE_PG();
    jettest::PgTestLink server;
    for (const QString &statement : dao::pg::functionDefinitions())
        server.exec(statement);
    // Beyond the table the server lower-cases: every printable letter of the other alphabets.
    QStringList texts = sampleTexts();
    for (char32_t cp = 0x250; cp < 0x3000; ++cp) {
        if (QChar::isLetter(cp))
            texts << QString::fromUcs4(&cp, 1) + QStringLiteral("a");
    }
    const auto rows = server.rows(
        QStringLiteral("SELECT encode(jet_key(t), 'hex') FROM string_to_table(?::text, E'\\x01') WITH ORDINALITY "
                       "AS s(t, n) ORDER BY n"),
        {texts.join(QChar(1))});
    ASSERT_EQ(qsizetype(rows.size()), texts.size());
    int faults = 0;
    for (qsizetype i = 0; i < texts.size() && faults < 40; ++i) {
        const QString local = QString::fromLatin1(textKey(texts[i]).toHex());
        if (rows[size_t(i)][0] != local) {
            ++faults;
            ADD_FAILURE() << "'" << texts[i].toStdString() << "': server " << rows[size_t(i)][0].toStdString()
                          << ", here " << local.toStdString();
        }
    }
}

} // namespace
