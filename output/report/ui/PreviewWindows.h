#pragma once
// The report engine's PresentPages as this program does it: a preview window on the
// prepared pages, modal with ModalPreview, otherwise on its own copy and on top.

class TqnReport;
class QWidget;

namespace previewwindows {

// Opens the preview; a modal one returns when the window has been closed. The window is
// owned by the screen of the active window.
void presentPages(TqnReport &report);

// Makes presentPages the engine's preview; called once where the program starts.
void install();

} // namespace previewwindows
