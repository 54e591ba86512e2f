#include "forms/main/NavigatorSetup.h"

#include "controls/TDBNavStrip.h"
#include "forms/main/SystemColors.h"

#include <QStringList>

void configureNavigator(TDBNavStrip &navigator, TDataSource &source, TNavGlyphSize glyphSize)
{
    navigator.setHints({QStringLiteral("Primo"), QStringLiteral("Precedente"), QStringLiteral("Successivo"),
                        QStringLiteral("Ultimo"), QStringLiteral("Inserisci"), QStringLiteral("Cancella"),
                        QStringLiteral("Modifica"), QStringLiteral("Conferma modifiche"),
                        QStringLiteral("Annulla modifiche"), QStringLiteral("Aggiorna")});
    navigator.setShowHint(true);
    navigator.setConfirmDelete(false);
    navigator.setOrientation(TNavOrientation::noHorizontal);
    navigator.setAutoThemeAdapt(false);
    TNavStripColors colors;
    colors.color = syscolors::silver();
    colors.colorTo = syscolors::appWorkspace();
    navigator.setColors(colors);
    navigator.setGlyphSize(glyphSize);
    navigator.setDataSource(&source);
}
