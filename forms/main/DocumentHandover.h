#pragma once
// Handing a filled document to the desktop, and what happens when no application takes it:
// the user is told where the document is and may keep a copy where they choose, since the
// document itself sits in a private run-time folder that is emptied at logout.

#include <QString>
#include <functional>

class QWidget;
class TMessageBox;

// True when the desktop has an application for the file's type and it was started on it.
// Without xdg-mime's answer (no desktop tools) Qt's own launcher decides.
bool openOnDesktop(const QString &path);

// Lets the user pick where to save a copy, starting from a suggested path; empty when cancelled.
using CopyPicker = std::function<QString(QWidget *parent, const QString &suggested)>;
QString pickCopyPlace(QWidget *parent, const QString &suggested);

// The notice with the document's place and the offer of a copy; failures to copy are told too.
void offerDocumentCopy(QWidget &window, const TMessageBox &messages, const QString &path, const CopyPicker &picker);
