#include "app/DisplayCheck.h"

namespace app {

bool displayAvailable(const QProcessEnvironment &environment)
{
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!environment.value(QLatin1String(name)).isEmpty())
            return true;
    }
    return false;
}

const char *noDisplayMessage()
{
    return "tavorio: nessuno schermo disponibile (DISPLAY non impostato). "
           "Avviare il programma da una sessione grafica.";
}

} // namespace app
