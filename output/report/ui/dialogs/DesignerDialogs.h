#pragma once
// The designer's dialogs, one call each. Every dialog edits the report's layout only when the
// user confirms with "&OK" and returns true then; "&Annulla" leaves everything as it was.
// The designer installs them with installDesignerDialogs-like one-liners, for example
//   ext.editObject = report::dialogs::editObject;   // band: record source, text: text editor

#include <QString>

class QWidget;
class TqnReport;
class TqnView;

namespace report::dialogs {

// "Sorgente di dati della banda" on a data band, "Condizione del gruppo" on a group header,
// "Opzioni banda" on the other bands that honour an option, "Editor di testo" on a text box,
// "Immagine" on a picture, the page a sub-report prints; false for other objects.
bool editObject(TqnReport &report, TqnView &view, QWidget *parent);
// Whether editObject has a dialog for `view` (the overlay, column and table headers and
// footers and "Nessuna" have none).
bool hasEditor(const TqnView &view);
bool editBandSource(TqnReport &report, TqnView &band, QWidget *parent);
bool editGroupCondition(TqnReport &report, TqnView &band, QWidget *parent);
bool editPicture(TqnReport &report, TqnView &picture, QWidget *parent);
bool editSubReportPage(TqnReport &report, TqnView &subReport, QWidget *parent);
bool editText(TqnReport &report, TqnView &memo, QWidget *parent);
// "Evidenzia" alone, for the text box's highlight attributes.
bool editHighlight(TqnReport &report, TqnView &memo, QWidget *parent);
// "Editor di variabili".
bool editVariables(TqnReport &report, QWidget *parent);
// "Opzioni report".
bool editReportOptions(TqnReport &report, QWidget *parent);
// "Opzioni di pagina" on layout page `page` (from 0).
bool editPageOptions(TqnReport &report, int page, QWidget *parent);
// "Nuovo report da modello": the chosen template of TemplateDir replaces the layout.
bool newFromTemplate(TqnReport &report, QWidget *parent);
// Asks a description and a picture, then writes the layout as template `fileName`
// (in TemplateDir when it has no folder).
bool saveTemplate(TqnReport &report, const QString &fileName, QWidget *parent);
// "Nuovo da autocomposizione...": the wizard's list layout replaces the layout.
bool runWizard(TqnReport &report, QWidget *parent);

} // namespace report::dialogs
