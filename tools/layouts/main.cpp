// make-layouts FOLDER: writes the supplied printed lists' layout files into FOLDER
// (data/stampe in the source tree).

#include "tools/layouts/SuppliedLists.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "uso: make-layouts CARTELLA\n");
        return 64;
    }
    const QDir folder(args[1]);
    for (const QString &name : layouts::suppliedLayouts()) {
        QSaveFile file(folder.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(layouts::suppliedLayoutBytes(name)) < 0 || !file.commit()) {
            std::fprintf(stderr, "make-layouts: %s non scritto\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
