// The archive counts ages and days in its own statements (engine/Summary.h); every one of
// them must agree with what the card shows for the same stored value: the day of its record
// text, and the member's age by store/MemberAge.h. Driven over births around 29 February and
// around the reference dates (birthdays on the day), times of day up to a hair before
// midnight, days before 1899 and before year 1, the empty date and no date, at
// reference dates in leap and other years, on the file and on a server.

#include "db/TField.h"
#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "store/MemberAge.h"
#include "store/TArcTableValueText.h"
#include "tests/support/PgTestServer.h"

#include <QHash>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Stored day numbers (days from 30/12/1899; the fraction a time of day).
std::vector<std::optional<double>> births()
{
    std::vector<std::optional<double>> days;
    const auto span = [&](const QDate &from, const QDate &to) {
        for (QDate d = from; d <= to; d = d.addDays(1))
            days.push_back(double(dao::engineDayOf(d)));
    };
    span(QDate(1999, 12, 20), QDate(2001, 3, 10));
    span(QDate(2003, 2, 25), QDate(2004, 3, 5));
    span(QDate(2019, 2, 25), QDate(2020, 3, 5));
    span(QDate(1959, 2, 26), QDate(1959, 3, 3));
    const double leapDay = double(dao::engineDayOf(QDate(2004, 2, 29)));
    for (double fraction : {0.25, 0.5, 0.999, 0.99999999, 0.999999999999})
        days.push_back(leapDay + fraction);
    for (double day : {0.0, 0.4, -0.3, -1.5, -1.999999999999, 1.0, -693593.5, -693594.5})
        days.push_back(day);
    days.push_back(std::nullopt);
    return days;
}

const QDate kReferences[] = {QDate(2024, 2, 28), QDate(2024, 2, 29), QDate(2024, 3, 1), QDate(2025, 2, 28),
                             QDate(2025, 3, 1),  QDate(2000, 2, 29), QDate(2001, 2, 28), QDate(2001, 3, 1),
                             QDate(2020, 2, 29), QDate(2026, 3, 1)};

// The date the card shows for a stored value: its record text read back.
QDate shownDate(const std::optional<double> &stored)
{
    if (!stored)
        return {};
    return TField::parseDateTimeText(arctable::valueText(dao::Value(dao::Date{*stored}), TFieldType::ftDate)).date();
}

TEST(AgeRuleStatement, AgesAndDaysCountedByTheArchiveAreTheCardsOwn)
{
    QTemporaryDir dir;
    const QString location = testsupport::newArchiveLocation(dir.path(), QStringLiteral("tavorio.mdb"));
    dao::DBEngine engine;
    auto ws = engine.CreateWorkspace(QStringLiteral("w"), QStringLiteral("Admin"), {}, dao::dbUseJet);
    const std::vector<std::optional<double>> stored = births();
    {
        auto db = ws->CreateDatabase(location, QString());
        dao::TableSpec people{QStringLiteral("Persone"), {}};
        people.fields.push_back({QStringLiteral("ID"), dao::dbLong, 0, true});
        people.fields.push_back({QStringLiteral("Nascita"), dao::dbDate, 0});
        db->CreateTable(people);
        auto rs = db->OpenRecordset(QStringLiteral("Persone"));
        ws->BeginTrans();
        for (const std::optional<double> &day : stored) {
            rs->AddNew();
            if (day)
                rs->field(QStringLiteral("Nascita")).setValue(dao::Date{*day});
            rs->Update();
        }
        ws->CommitTrans();
        db->Close();
    }
    auto db = ws->OpenDatabase(location, false, false, QStringLiteral(";UID=Admin;PWD=;"));
    auto rs = db->OpenRecordset(QStringLiteral("Persone"));
    QHash<qint64, std::optional<double>> byId;
    for (rs->MoveFirst(); !rs->IsEOF(); rs->MoveNext()) {
        const dao::Value v = rs->field(QStringLiteral("Nascita")).value();
        byId.insert(rs->field(QStringLiteral("ID")).value().asInt(),
                    v.isNull() ? std::nullopt : std::optional<double>(v.asDouble()));
    }
    ASSERT_EQ(size_t(byId.size()), stored.size());

    using Measure = dao::SummaryTerm::Measure;
    for (const QDate &at : kReferences) {
        dao::Summary summary;
        summary.reference = at;
        summary.terms = {{Measure::Stored, QStringLiteral("ID"), {}},
                         {Measure::Age, QStringLiteral("Nascita"), {}},
                         {Measure::DaysFrom, QStringLiteral("Nascita"), {}}};
        const std::vector<dao::SummaryGroup> groups = rs->Summarize(summary);
        ASSERT_EQ(groups.size(), stored.size()) << at.toString(Qt::ISODate).toStdString();
        for (const dao::SummaryGroup &g : groups) {
            const std::optional<double> day = byId.value(g.terms[0].asInt());
            const QDate birth = shownDate(day);
            const std::optional<int> age = memberAge(birth, at);
            const std::string what = at.toString(Qt::ISODate).toStdString() + " born "
                + (day ? QString::number(*day, 'g', 17).toStdString() : std::string("(none)"));
            EXPECT_EQ(g.rows, 1) << what;
            EXPECT_EQ(g.terms[1].isNull() ? std::nullopt : std::optional<int>(int(g.terms[1].asInt())), age) << what;
            EXPECT_EQ(g.terms[2].isNull() ? std::nullopt : std::optional<qint64>(g.terms[2].asInt()),
                      birth.isValid() ? std::optional<qint64>(at.daysTo(birth)) : std::nullopt)
                << what;
        }
    }
    db->Close();
}

} // namespace
