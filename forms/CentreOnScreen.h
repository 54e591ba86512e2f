#pragma once
// The dialogs of the program open centred on the screen of their owner window.

class QWidget;

void centreOnScreen(QWidget &window);
