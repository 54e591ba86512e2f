#include "forms/main/PrintListCommand.h"

#include "forms/ProcessValues.h"
#include "forms/main/ListPage.h"
#include "forms/main/Tfrm_main.h"
#include "forms/selezione/PrintedListRun.h"
#include "forms/selezione/Tfrm_stampa.h"
#include "platform/ScrollLock.h"

#include <QCheckBox>
#include <QLineEdit>

PrintListCommand::~PrintListCommand()
{
    if (m_ownsSelection)
        delete m_selection.data();
}

void PrintListCommand::setSelectionWindow(Tfrm_stampa *window)
{
    if (m_ownsSelection)
        delete m_selection.data();
    m_selection = window;
    m_ownsSelection = false;
}

Tfrm_stampa *PrintListCommand::selectionWindow()
{
    if (!m_selection) {
        m_selection = new Tfrm_stampa(m_window.data(), &m_window);
        m_ownsSelection = true;
    }
    return m_selection;
}

void PrintListCommand::run()
{
    Tfrm_stampa *selection = selectionWindow();
    ListPage *listPage = m_window.listPage();
    const QString searchText = listPage->cerca()->text();
    selection->cerca()->setEnabled(!searchText.isEmpty());
    if (selection->exec() != QDialog::Accepted)
        return;

    PrintedListRun printing(m_window.data().Anagrafica(), m_window.qnReport1(),
                            [listPage](const CardCriteria *c) { listPage->setPrintCriteria(c); });
    printing.run(PrintedListEntry::current(m_window.data().stampe()),
                 ProcessValues::inApplicationFolder(QStringLiteral("stampe/")), selection->criteria(searchText),
                 [](TqnReport &report) {
                     if (platform::scrollLockOn())
                         report.OpenDesigner();
                     else
                         report.RunPreview();
                 });
}

void PrintListCommand::editLayouts() { m_window.qnReport1().OpenDesigner(); }
