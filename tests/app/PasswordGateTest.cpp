#include "AppTestSupport.h"

#include "forms/main/PasswordGate.h"
#include "platform/FileOps.h"
#include "session/ProcessValues.h"
#include "store/TArcDatabase.h"
#include "tests/support/TestArchive.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

namespace {

using Answers = std::vector<std::optional<QString>>;

struct GateCase {
    const char *name;
    QString archivePassword;
    Answers answers;
    PasswordGateOutcome outcome;
    int asks;
};

void PrintTo(const GateCase &c, std::ostream *os) { *os << c.name; }

class PasswordGateTest : public testing::TestWithParam<GateCase> {
protected:
    apptest::WorkingFolder m_folder;
};

TEST_P(PasswordGateTest, AsksOnlyAsOftenAsNeeded)
{
    const GateCase &c = GetParam();
    const QString archive = m_folder.file(QStringLiteral("tavorio.mdb"));
    testsupport::createArchive(archive, c.archivePassword);
    TArcDatabase database;
    database.setDatabase(archive);
    ProcessValues::setPrintFilterMode(true);

    int factoryCalls = 0;
    int asks = 0;
    std::weak_ptr<int> promptAlive;
    const PasswordPromptFactory factory = [&]() -> PasswordPrompt {
        ++factoryCalls;
        auto token = std::make_shared<int>(0);
        promptAlive = token;
        return [&, token]() -> std::optional<QString> {
            return asks < int(c.answers.size()) ? c.answers[size_t(asks++)] : std::nullopt;
        };
    };

    EXPECT_EQ(runPasswordGate(database, factory), c.outcome);
    EXPECT_EQ(asks, c.asks);
    EXPECT_EQ(factoryCalls, c.asks > 0 ? 1 : 0);
    EXPECT_TRUE(promptAlive.expired()) << "the prompt outlived the gate";
    EXPECT_FALSE(ProcessValues::printFilterMode());
    EXPECT_FALSE(database.Connected());
    EXPECT_FALSE(platform::fileExists(m_folder.file(QStringLiteral("tavorio.ldb"))));
    if (c.outcome == PasswordGateOutcome::Opened) {
        EXPECT_EQ(ProcessValues::archivePassword(), c.archivePassword);
    }
}

const QString kRight = QStringLiteral("Segreta1");
const QString kWrong = QStringLiteral("sbagliata");

INSTANTIATE_TEST_SUITE_P(
    Outcomes, PasswordGateTest,
    testing::Values(
        GateCase{"UnprotectedOpensWithoutPrompt", {}, {}, PasswordGateOutcome::Opened, 0},
        GateCase{"RightAtFirstPrompt", kRight, {kRight}, PasswordGateOutcome::Opened, 1},
        GateCase{"RightAtThirdPrompt", kRight, {kWrong, QString(), kRight}, PasswordGateOutcome::Opened, 3},
        GateCase{"PasswordIsCaseSensitive", kRight, {kRight.toLower(), kRight}, PasswordGateOutcome::Opened, 2},
        GateCase{"ThreeWrongRefused", kRight, {kWrong, kWrong, kWrong, kRight}, PasswordGateOutcome::Refused, 3},
        GateCase{"AnnullaAtFirstPrompt", kRight, {std::nullopt, kRight}, PasswordGateOutcome::Cancelled, 1},
        GateCase{"AnnullaAfterWrong", kRight, {kWrong, std::nullopt}, PasswordGateOutcome::Cancelled, 2}),
    [](const testing::TestParamInfo<GateCase> &info) { return std::string(info.param.name); });

} // namespace
