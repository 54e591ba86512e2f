#pragma once
// Button "Produce documento Word": the user picks a template in the word folder, a new
// document is made from it with every placeholder of the current card replaced, and it is
// shown in the desktop's word processor (or, when no application takes it, the user is told
// where it is and offered a copy). The word-processor connections made by one use of
// the button live until the next use, so only the last document's close reaches WdClose1,
// which keeps that document as "ultimo.doc".

#include "output/word/Application.h"

#include <QString>
#include <functional>
#include <memory>

class QWidget;
class TArcTable;
class TMessageBox;

class WordCommand final {
public:
    // Returns the chosen template, or empty when the user cancels.
    using Chooser = std::function<QString(QWidget *parent, const QString &folder)>;

    WordCommand(QWidget &window, TArcTable &cards, const TMessageBox &messages);
    ~WordCommand();

    void run();
    // The close handler of the generated document.
    void WdClose1();

    // Hands a shown document to an application; false when none took it.
    using Opener = std::function<bool(const QString &path)>;
    // Where the user wants a copy of a document no application opened; empty when cancelled.
    using CopyPicker = std::function<QString(QWidget *parent, const QString &suggested)>;

    // Seams for tests: the template chooser, what opens a shown document, where the copy
    // goes, where shown documents are written.
    void setChooser(Chooser chooser) { m_chooser = std::move(chooser); }
    void setOpener(Opener opener) { m_opener = std::move(opener); }
    void setCopyPicker(CopyPicker picker) { m_copyPicker = std::move(picker); }
    void setDocumentFolder(const QString &folder) { m_documentFolder = folder; }

    word::Application *WordApplication1() const { return m_application.get(); }
    word::Document *WordDocument1() const { return m_document; }

private:
    void connectWord();
    void handOver(const QString &path);

    QWidget &m_window;
    TArcTable &m_cards;
    const TMessageBox &m_messages;
    Chooser m_chooser;
    Opener m_opener;
    CopyPicker m_copyPicker;
    QString m_documentFolder;
    std::unique_ptr<word::Application> m_application;
    word::Document *m_document = nullptr;
};
