#include "app/DisplayCheck.h"

#include <gtest/gtest.h>

namespace {

struct DisplayCase {
    const char *name;
    std::vector<std::pair<const char *, const char *>> variables;
    bool available;
};

void PrintTo(const DisplayCase &c, std::ostream *os) { *os << c.name; }

class DisplayCheckTest : public testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayCheckTest, NeedsADisplayOrAnExplicitPlatform)
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("HOME"), QStringLiteral("/home/ufficio"));
    for (const auto &[name, value] : GetParam().variables)
        environment.insert(QString::fromLatin1(name), QString::fromLatin1(value));
    EXPECT_EQ(app::displayAvailable(environment), GetParam().available);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, DisplayCheckTest,
    testing::Values(DisplayCase{"Nothing", {}, false},
                    DisplayCase{"EmptyDisplay", {{"DISPLAY", ""}}, false},
                    DisplayCase{"X11", {{"DISPLAY", ":0"}}, true},
                    DisplayCase{"Wayland", {{"WAYLAND_DISPLAY", "wayland-0"}}, true},
                    DisplayCase{"ExplicitPlatform", {{"QT_QPA_PLATFORM", "offscreen"}}, true}),
    [](const testing::TestParamInfo<DisplayCase> &info) { return std::string(info.param.name); });

} // namespace
