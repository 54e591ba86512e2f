#pragma once
// Qt's own windows (file chooser, print, colour and font dialogs, the buttons of message
// boxes) in Italian, like the rest of the program, from the catalogues installed with Qt.

#include <QString>

class QTranslator;

namespace app {

// The folder Qt's catalogues are installed in.
QString qtTranslationsFolder();
// Loads Qt's Italian catalogue into `translator` and installs it in the application; false,
// leaving Qt's English texts, when the catalogue is not installed.
bool installItalianQtTranslations(QTranslator &translator, const QString &folder = qtTranslationsFolder());

} // namespace app
