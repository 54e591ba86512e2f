// What a search of the record text finds: each column's text in its form, a blank before
// each, the letters a to z matched in either case and every other character as stored. The
// same on the file and on the server.

#include "EngineFixture.h"

namespace {

using SearchKeysRecordText = EngineFixture;

struct Card {
    QString name;
    int age;
    bool active;
    QDate born;
    QString note;
};

// The cards in the table of people, made in the new archive.
void writeCards(dao::Database &db, const dao::TableSpec &people, const std::vector<Card> &cards)
{
    db.CreateTable(people);
    auto rs = db.OpenRecordset("Persone");
    for (const Card &card : cards) {
        rs->AddNew();
        rs->field("Nome").setValue(card.name);
        rs->field("Eta").setValue(card.age);
        rs->field("Attivo").setValue(card.active);
        if (card.born.isValid())
            rs->field("Nascita").setValue(dao::Value(dao::Date{double(dao::engineDayOf(card.born))}));
        if (!card.note.isEmpty())
            rs->field("Note").setValue(card.note);
        rs->Update();
    }
}

QStringList found(dao::Database &db, const QString &text)
{
    auto base = db.OpenRecordset("Persone");
    dao::RecordCondition condition;
    condition.contains.push_back({{{QStringLiteral("Nome"), dao::TextForm::Plain},
                                   {QStringLiteral("Eta"), dao::TextForm::Number},
                                   {QStringLiteral("Attivo"), dao::TextForm::Boolean},
                                   {QStringLiteral("Nascita"), dao::TextForm::Date},
                                   {QStringLiteral("Note"), dao::TextForm::Plain}},
                                  text});
    base->setCondition(condition);
    auto selection = base->OpenRecordset();
    QStringList names;
    for (; !selection->IsEOF(); selection->MoveNext())
        names << selection->field("Nome").value().asText();
    return names;
}

TEST_F(SearchKeysRecordText, LettersAToZInEitherCaseTheRestAsStoredNeverAcrossAColumnWithoutABlank)
{
    const std::vector<Card> cards = {
        {"rossi", 12, true, QDate(2020, 3, 1), {}},
        {"Rossini", 30, false, {}, "via Roma"},
        {"città", 41, false, {}, "CITTÀ alta"},
        {"AB", 7, false, QDate(1999, 12, 31), {}},
    };
    writeCards(*ws->CreateDatabase(path(), {}), peopleSpec(), cards);
    auto db = open();
    EXPECT_EQ(found(*db, "ROSSI"), QStringList({"rossi", "Rossini"}));
    EXPECT_EQ(found(*db, "rossi"), QStringList());           // no upper-cased text holds a small letter
    EXPECT_EQ(found(*db, ""), QStringList({"rossi", "Rossini", "città", "AB"}));
    EXPECT_EQ(found(*db, "CITTÀ"), QStringList({"città"}));  // the note's own capital; à is not upper-cased
    EXPECT_EQ(found(*db, "CITTà"), QStringList({"città"}));
    EXPECT_EQ(found(*db, "TRUE"), QStringList({"rossi"}));
    EXPECT_EQ(found(*db, "/03/2020"), QStringList({"rossi"}));
    EXPECT_EQ(found(*db, "ROSSI 12 TRUE 01/03/2020"), QStringList({"rossi"}));
    EXPECT_EQ(found(*db, " ROMA"), QStringList({"Rossini"}));
    EXPECT_EQ(found(*db, "FALSE  VIA"), QStringList({"Rossini"}));   // the empty date between them
    EXPECT_EQ(found(*db, " AB 7 "), QStringList({"AB"}));
    EXPECT_EQ(found(*db, "B7"), QStringList());               // a blank stands between the columns
    EXPECT_EQ(found(*db, "INI3"), QStringList());
}

TEST_F(SearchKeysRecordText, ATermIsFoundWhereverItStandsInALongText)
{
    // Notes long enough to be read sixteen bytes at a time, with the term, a near miss and a
    // cut-off term at every place; what is found is what the record text itself holds.
    std::vector<std::pair<QString, QString>> notes;
    for (int at = 0; at < 40; ++at) {
        const QString before(at, QLatin1Char('z'));
        notes.emplace_back(QStringLiteral("F%1").arg(at), before + QStringLiteral("zeta") + QString(at % 19, QLatin1Char('e')));
        notes.emplace_back(QStringLiteral("N%1").arg(at), before + QStringLiteral("zeza") + QString(at % 7, QLatin1Char('a')));
        notes.emplace_back(QStringLiteral("C%1").arg(at), before + QStringLiteral("zet"));
    }
    notes.emplace_back(QStringLiteral("L"), QString(70, QLatin1Char('q')) + QStringLiteral("zeta"));
    {
        auto db = ws->CreateDatabase(path(), {});
        db->CreateTable(peopleSpec());
        auto rs = db->OpenRecordset("Persone");
        for (const auto &[name, note] : notes) {
            rs->AddNew();
            rs->field("Nome").setValue(name);
            rs->field("Note").setValue(note);
            rs->Update();
        }
    }
    auto db = open();
    for (const QString &term : {QStringLiteral("ZETA"), QStringLiteral("ZEZA"), QStringLiteral("ZET"),
                                QString(21, QLatin1Char('Z')) + QStringLiteral("ETA"), QString(40, QLatin1Char('Z')),
                                QString(40, QLatin1Char('Z')) + QStringLiteral("ETA"), QStringLiteral("EEEEEEEEEEEEEEEEEE"),
                                QStringLiteral("AAAAAA"), QStringLiteral("  FALSE  ZZ"), QString(64, QLatin1Char('Q')) + QStringLiteral("ZETA")}) {
        QStringList expected;
        for (const auto &[name, note] : notes) {
            const QString record = QStringLiteral(" %1  False  %2").arg(name, note).toUpper();
            if (record.contains(term))
                expected << name;
        }
        EXPECT_EQ(found(*db, term), expected) << term.toStdString();
        EXPECT_FALSE(expected.isEmpty() && term != QString(40, QLatin1Char('Z')) + QStringLiteral("ETA")) << term.toStdString();
    }
}

TEST_F(SearchKeysRecordText, EveryPieceOfANumberABooleanWordOrADateIsFoundInItsColumn)
{
    // A term without a blank is looked for only in the columns whose texts could hold it:
    // every piece of every text below must still find its card, and only where it stands.
    const std::vector<Card> cards = {
        {"uno", -307, true, QDate(2021, 11, 9), {}},
        {"due", 58, false, QDate(1987, 2, 28), {}},
        {"tre", 0, true, {}, "nota 3/9"},
    };
    writeCards(*ws->CreateDatabase(path(), {}), peopleSpec(), cards);
    std::vector<QString> records;
    for (const Card &card : cards) {
        records.push_back(QStringLiteral(" %1 %2 %3 %4 %5")
                              .arg(card.name, QString::number(card.age), card.active ? "True" : "False",
                                   card.born.isValid() ? card.born.toString("dd/MM/yyyy") : QString(), card.note)
                              .toUpper());
    }
    auto db = open();
    for (const QString &record : records) {
        for (const QString &word : record.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            for (qsizetype from = 0; from < word.size(); ++from) {
                for (qsizetype length = 1; from + length <= word.size(); length += 2) {
                    const QString term = word.mid(from, length);
                    QStringList expected;
                    for (size_t i = 0; i < cards.size(); ++i)
                        if (records[i].contains(term))
                            expected << cards[i].name;
                    EXPECT_EQ(found(*db, term), expected) << term.toStdString();
                }
            }
        }
    }
}

} // namespace
