#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace app {

QString qtTranslationsFolder() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

// "qt_it" gathers the catalogues of every Qt module the program uses (qtbase among them).
bool installItalianQtTranslations(QTranslator &translator, const QString &folder)
{
    if (!translator.load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qt"), QStringLiteral("_"), folder))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

} // namespace app
