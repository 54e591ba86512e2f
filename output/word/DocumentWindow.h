#pragma once
// What stands in for the word processor's window on a document. The document is written to
// a file of its own in a folder only the user can enter (0700, the file 0600) and handed to
// the desktop's application for its format. That application tells the program nothing when
// the user closes the document; what the program can see is the file. So the close event is
// raised when the document is handed over (as it was made) and again after every save the
// user makes to that file, with the document holding the saved version: the close handler
// therefore always finds the document as the user last saved it.

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

namespace word {

class Document;

class DocumentWindow final : public QObject {
    Q_OBJECT
public:
    // Writes the document into folder and opens it; throws AutomationError.
    DocumentWindow(Document &document, const QString &folder,
                   const std::function<void(const QString &)> &opener);

    const QString &path() const { return m_path; }
    // Looks at the file now: a changed, complete package is a save by the user.
    void checkForSave();

private:
    void raiseClose();
    void watch();

    Document &m_document;
    QString m_path;
    QByteArray m_lastSeen;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
};

// Makes `folder` (and its parents) and narrows it to the owner; throws AutomationError.
void makePrivateFolder(const QString &folder);

} // namespace word
