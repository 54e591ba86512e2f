// A name in an expression printed on every record is looked up once and then read from what it
// found, until a component it was found through is renamed, registered, removed or destroyed,
// or the band group reads another dataset: then it is looked up again.

#include "db/TField.h"
#include "output/report/ComponentDirectory.h"
#include "output/report/build/ReportScope.h"
#include "output/report/expr/Expression.h"
#include "tests/report/ReportTestSupport.h"

using namespace reporttest;

namespace {

class ReportScopeTest : public ArchiveReportFixture {
protected:
    QString text(const report::Expression &expression) { return expression.evaluate(*m_scope).toText(); }

    report::ExprSystemValues m_system;
    std::unique_ptr<ReportScope> m_scope;
};

TEST_F(ReportScopeTest, ANameFollowsTheComponentsItWasFoundThrough)
{
    openArchive(3);
    m_scope = std::make_unique<ReportScope>(m_report->layout(), QStringLiteral("frm_main"), m_system);
    TArcTable &cards = m_data->Anagrafica();
    TArcTable &members = m_data->Nucleo();
    cards.first();
    const QString firstHead = cards.fieldByName(QStringLiteral("Capofamiglia"))->asString();
    ASSERT_FALSE(firstHead.isEmpty());

    const report::Expression head(QStringLiteral("Tabella.Capofamiglia"));
    EXPECT_THROW(text(head), report::ExprError);
    cards.setObjectName(QStringLiteral("Tabella"));
    EXPECT_EQ(text(head), firstHead);
    cards.next();
    EXPECT_NE(text(head), firstHead);   // the same field, the record now current
    // Another table takes the name: it has no such field.
    cards.setObjectName(QStringLiteral("Anagrafica"));
    members.setObjectName(QStringLiteral("Tabella"));
    EXPECT_THROW(text(head), report::ExprError);
    members.setObjectName(QStringLiteral("Nucleo"));

    // The window's components registered anew, the cards' table under another name.
    ComponentDirectory::instance().removeWindow(QStringLiteral("frm_main"));
    const report::Expression spelled(QStringLiteral("frm_main.Schede.Capofamiglia"));
    EXPECT_THROW(text(spelled), report::ExprError);
    cards.setObjectName(QStringLiteral("Schede"));
    ComponentDirectory::instance().add(QStringLiteral("frm_main"), &cards);
    cards.first();
    EXPECT_EQ(text(spelled), firstHead);
    cards.setObjectName(QStringLiteral("Anagrafica"));

    // A bare name reads the band group's dataset, whichever it is now.
    const report::Expression bare(QStringLiteral("Capofamiglia"));
    m_scope->setGroupSource(&cards);
    EXPECT_EQ(text(bare), firstHead);
    m_scope->setGroupSource(&members);
    EXPECT_THROW(text(bare), report::ExprError);
}

} // namespace
