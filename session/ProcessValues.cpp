#include "session/ProcessValues.h"

namespace ProcessValues {

namespace {

struct Values {
    QString applicationFolder;
    QString archivePassword;
    bool printFilterMode = false;
    bool demoArchive = false;
};

Values &values()
{
    static Values v;
    return v;
}

} // namespace

QString applicationFolder() { return values().applicationFolder; }
void setApplicationFolder(const QString &folder) { values().applicationFolder = folder; }
QString inApplicationFolder(const QString &name) { return values().applicationFolder + name; }

QString archivePassword() { return values().archivePassword; }
void setArchivePassword(const QString &password) { values().archivePassword = password; }

bool printFilterMode() { return values().printFilterMode; }
void setPrintFilterMode(bool on) { values().printFilterMode = on; }

bool demoArchive() { return values().demoArchive; }
void setDemoArchive(bool demo) { values().demoArchive = demo; }

void reset() { values() = Values{}; }

} // namespace ProcessValues
