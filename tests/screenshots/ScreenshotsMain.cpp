// One application for every picture, with the program's own title for its boxes.

#include "controls/ApplicationTitle.h"
#include "tests/support/QtApplication.h"

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new testsupport::QtApplicationEnvironment);
    setApplicationTitle(QStringLiteral("Brunzel"));
    return RUN_ALL_TESTS();
}
