#include "forms/main/WordCommand.h"

#include "controls/TMessageBox.h"
#include "forms/ErrorBox.h"
#include "forms/main/ConversionProgress.h"
#include "forms/main/DocumentHandover.h"
#include "output/word/CardPlaceholders.h"
#include "session/ProcessValues.h"
#include "store/TArcTable.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

namespace {

QString chooseTemplate(QWidget *parent, const QString &folder)
{
    return QFileDialog::getOpenFileName(parent, QString(), folder, QStringLiteral("Word (*.doc* *.odt *.ott)"));
}

} // namespace

WordCommand::WordCommand(QWidget &window, TArcTable &cards, const TMessageBox &messages)
    : m_window(window), m_cards(cards), m_messages(messages), m_chooser(chooseTemplate), m_opener(openOnDesktop),
      m_copyPicker(pickCopyPlace)
{
}

WordCommand::~WordCommand() = default;

// A new pair of connections for every use; the previous document stays with the desktop.
void WordCommand::connectWord()
{
    m_document = nullptr;
    m_application = std::make_unique<word::Application>();
    m_application->setOpener([this](const QString &path) { handOver(path); });
    if (!m_documentFolder.isEmpty())
        m_application->setDocumentFolder(m_documentFolder);
}

// The notice waits for the button's handler to end, so the document is complete and its
// close handler has run when the user reads where it is.
void WordCommand::handOver(const QString &path)
{
    if (m_opener(path))
        return;
    QTimer::singleShot(0, &m_window, [this, path] { offerDocumentCopy(m_window, m_messages, path, m_copyPicker); });
}

void WordCommand::run()
{
    const QString chosen = m_chooser(&m_window, ProcessValues::inApplicationFolder(QStringLiteral("word/")));
    if (chosen.isEmpty())
        return;
    try {
        connectWord();
        const ScopedConversionProgress progress(&m_window);
        word::Document &document = m_application->Documents().Add(chosen);
        m_document = &document;
        document.OnClose = [this] { WdClose1(); };
        word::replacePlaceholders(*m_application, word::cardPlaceholders(m_cards, m_cards.BoundFieldNames()));
    } catch (const word::ConversionCancelled &) {
        // The user stopped the conversion: no document, nothing to tell.
    } catch (const std::exception &) {
        m_messages.notice(QStringLiteral("   Impossibile collegarsi a Microsoft Word !   "));
    }
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    m_application->setVisible(true);
}

// The word processor resolves a bare name in its current folder: here the application folder.
void WordCommand::WdClose1()
{
    if (!m_document)
        return;
    try {
        m_document->SaveAs(QStringLiteral("ultimo.doc"));
        m_application->setVisible(false);
        m_document->Close(word::wdDoNotSaveChanges);
    } catch (const std::exception &error) {
        reportUnhandled(&m_window, error);
    }
}
