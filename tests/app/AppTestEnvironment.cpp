// One QApplication for every test of this program, made before the first test runs, with
// the program's own title for its boxes (and, as in the program, no Qt display name that
// window managers would append to window titles).

#include "controls/ApplicationTitle.h"
#include "tests/support/QtApplication.h"

namespace {

class ProgramTitle final : public testing::Environment {
public:
    void SetUp() override { setApplicationTitle(QStringLiteral("Brunzel")); }
};

[[maybe_unused]] testing::Environment *const environment =
    testing::AddGlobalTestEnvironment(new testsupport::QtApplicationEnvironment);
[[maybe_unused]] testing::Environment *const title = testing::AddGlobalTestEnvironment(new ProgramTitle);

} // namespace
