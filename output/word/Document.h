#pragma once
// A document made from a template, held by the automation layer until it is closed. Its
// close event (OnClose) is raised when the desktop application hands back a version of the
// document (see DocumentWindow); SaveAs then writes that version.

#include "output/word/DocumentPackage.h"
#include "output/word/WordConstants.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

namespace word {

class DocumentWindow;

class Document {
public:
    Document(DocumentPackage package, QString name);
    ~Document();

    // The close event.
    std::function<void()> OnClose;

    // "Documento1", "Documento2"... as the word processor names new documents.
    const QString &Name() const { return m_name; }
    // Writes the document, in its own format whatever the extension, to fileName; a name
    // without a folder lands in the current folder. Throws AutomationError.
    void SaveAs(const QString &fileName) const;
    // Ends the program's work on the document; wdSaveChanges writes the shown copy first.
    void Close(int saveChanges = wdDoNotSaveChanges);
    bool isClosed() const { return m_closed; }

    // --- inside the layer -------------------------------------------------------------
    DocumentPackage &package();
    // The document's bytes now: the version handed back by the desktop application when
    // there is one, otherwise the package with the edits made.
    QByteArray bytes() const;
    QString extension() const { return m_package.extension(); }
    // A version saved by the user: the document is open again with that content.
    void takeSavedVersion(const QByteArray &bytes);
    DocumentWindow *window() const { return m_window.get(); }
    void setWindow(std::unique_ptr<DocumentWindow> window);

private:
    DocumentPackage m_package;
    QString m_name;
    QByteArray m_savedVersion;
    bool m_closed = false;
    std::unique_ptr<DocumentWindow> m_window;
};

} // namespace word
