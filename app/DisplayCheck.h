#pragma once
// Whether the program has a screen to show its windows on, decided before Qt starts (Qt
// aborts when its platform cannot connect to a display).

#include <QProcessEnvironment>

namespace app {

// An X or Wayland display, or a platform plugin the user chose explicitly.
bool displayAvailable(const QProcessEnvironment &environment);
// The line printed when there is none.
const char *noDisplayMessage();

} // namespace app
