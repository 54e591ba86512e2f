#pragma once
// The word processor as the program drives it: an application object with its collection
// of documents, the selection with its find object, and visibility. Documents are made from
// .docx/.dotx and .odt/.ott templates in memory (a .doc template is first converted by
// LibreOffice when it is installed); making the application visible hands every open
// document to the desktop's application for its format (see DocumentWindow).

#include "output/word/Document.h"
#include "output/word/Find.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace word {

class Application;

class DocumentsCollection {
public:
    explicit DocumentsCollection(Application &application) : m_application(application) {}
    // A new document based on the template, which becomes the active document. The
    // template file is only read. Throws AutomationError.
    Document &Add(const QString &templatePath);
    int Count() const { return int(m_documents.size()); }
    Document &Item(int index) { return *m_documents.at(size_t(index)); }

private:
    Application &m_application;
    std::vector<std::unique_ptr<Document>> m_documents;
    int m_made = 0;
};

class SelectionObject {
public:
    explicit SelectionObject(Application &application) : m_find(application) {}
    FindObject &Find() { return m_find; }

private:
    FindObject m_find;
};

class Application {
public:
    // Hands a shown document's file to whatever shows it (the desktop's default application).
    using Opener = std::function<void(const QString &path)>;

    Application();
    ~Application();
    Application(const Application &) = delete;
    Application &operator=(const Application &) = delete;

    DocumentsCollection &Documents() { return m_documents; }
    SelectionObject &Selection() { return m_selection; }
    bool Visible() const { return m_visible; }
    // true shows every open document not shown yet; throws AutomationError when a document
    // cannot be handed over.
    void setVisible(bool visible);

    // The active document: the last one made that is still open; null when none.
    Document *ActiveDocument() const;

    // Where shown documents are written: a folder only the user can enter. By default a
    // folder in the user's private run-time folder.
    void setDocumentFolder(const QString &folder) { m_documentFolder = folder; }
    QString documentFolder() const;
    void setOpener(Opener opener) { m_opener = std::move(opener); }

private:
    friend class DocumentsCollection;
    void setActive(Document *document) { m_active = document; }

    DocumentsCollection m_documents{*this};
    SelectionObject m_selection{*this};
    Document *m_active = nullptr;
    bool m_visible = false;
    QString m_documentFolder;
    Opener m_opener;
};

} // namespace word
