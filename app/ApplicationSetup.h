#pragma once
// What the program sets once its application object exists: its own title for the boxes
// and Qt's Italian catalogue for Qt's own windows.

class QTranslator;

namespace app {

// `qtItalian` must live as long as the application. The title is not Qt's display name:
// window managers that append that name to titles would show "Tavorio — Brunzel".
void setUpApplication(QTranslator &qtItalian);

} // namespace app
