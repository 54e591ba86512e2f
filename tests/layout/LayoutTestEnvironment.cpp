// One QApplication for every test of this program, made before the first test runs.

#include "tests/support/QtApplication.h"

namespace {
[[maybe_unused]] testing::Environment *const environment =
    testing::AddGlobalTestEnvironment(new testsupport::QtApplicationEnvironment);
}
