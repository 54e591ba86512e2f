#include "forms/main/WordCommand.h"

#include "controls/TMessageBox.h"
#include "forms/ErrorBox.h"
#include "forms/ProcessValues.h"
#include "output/word/CardPlaceholders.h"
#include "store/TArcTable.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

namespace {

QString chooseTemplate(QWidget *parent, const QString &folder)
{
    return QFileDialog::getOpenFileName(parent, QString(), folder, QStringLiteral("Word (*.doc* *.odt *.ott)"));
}

void openOnDesktop(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace

WordCommand::WordCommand(QWidget &window, TArcTable &cards, const TMessageBox &messages)
    : m_window(window), m_cards(cards), m_messages(messages), m_chooser(chooseTemplate), m_opener(openOnDesktop)
{
}

WordCommand::~WordCommand() = default;

// A new pair of connections for every use; the previous document stays with the desktop.
void WordCommand::connectWord()
{
    m_document = nullptr;
    m_application = std::make_unique<word::Application>();
    m_application->setOpener(m_opener);
    if (!m_documentFolder.isEmpty())
        m_application->setDocumentFolder(m_documentFolder);
}

void WordCommand::run()
{
    const QString chosen = m_chooser(&m_window, ProcessValues::inApplicationFolder(QStringLiteral("word/")));
    if (chosen.isEmpty())
        return;
    try {
        connectWord();
        word::Document &document = m_application->Documents().Add(chosen);
        m_document = &document;
        document.OnClose = [this] { WdClose1(); };
        word::replacePlaceholders(*m_application, word::cardPlaceholders(m_cards, m_cards.BoundFieldNames()));
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
