#include "tests/support/QtApplication.h"

namespace testsupport {

namespace {
int argc = 1;
char name[] = "tavorio-test";
char *argv[] = {name, nullptr};

void chooseOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}
}

void ensureApplication()
{
    if (qApp)
        return;
    chooseOffscreen();
    new QApplication(argc, argv);
}

void QtApplicationEnvironment::SetUp()
{
    chooseOffscreen();
    m_application = std::make_unique<QApplication>(argc, argv);
    if (!m_displayName.isEmpty())
        QGuiApplication::setApplicationDisplayName(m_displayName);
}

} // namespace testsupport
