#pragma once
// The report engine's OpenDesigner as this program does it: one designer window, modal.

class TqnReport;

namespace designerwindows {

// Opens the designer on `report` and returns when it has closed; while one is open a
// second call only brings it forward.
void openDesigner(TqnReport &report);
// Makes openDesigner the engine's designer; called once where the program starts.
void install();
// Gives the designer its dialogs of record sources, text, variables, options, templates and
// the wizard; called once where the program starts.
void installDialogs();

} // namespace designerwindows
