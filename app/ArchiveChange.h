#pragma once
// "Cambia archivio…": the first-start choice asked again from the running program. The
// program then closes (saving what the windows hold, as on any close) and starts again on
// the folder chosen, which is also remembered for the next starts of an installed program.

#include <QString>
#include <functional>

class QMainWindow;

namespace app {

// Starts the program anew on `folder`; false when it could not be started.
using Restart = std::function<bool(const QString &folder)>;
bool restartOn(const QString &folder);

void changeArchive(QMainWindow &window, const Restart &restart = restartOn);

} // namespace app
