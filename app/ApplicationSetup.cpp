#include "app/ApplicationSetup.h"

#include "app/QtTranslations.h"
#include "controls/ApplicationTitle.h"

namespace app {

void setUpApplication(QTranslator &qtItalian)
{
    setApplicationTitle(QStringLiteral("Brunzel"));
    // Without the catalogue Qt's windows stay in English; nothing else depends on it.
    installItalianQtTranslations(qtItalian);
}

} // namespace app
