// One QApplication for every test of this program, made before the first test runs, with
// the program's own title.

#include "tests/support/QtApplication.h"

namespace {
[[maybe_unused]] testing::Environment *const environment =
    testing::AddGlobalTestEnvironment(new testsupport::QtApplicationEnvironment(QStringLiteral("Brunzel")));
}
