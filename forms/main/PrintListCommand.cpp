#include "forms/main/PrintListCommand.h"

#include "forms/main/ListPage.h"
#include "forms/main/Tfrm_main.h"
#include "forms/selezione/ReferenceDateDialog.h"
#include "forms/selezione/Tfrm_stampa.h"
#include "output/report/TqnReport.h"
#include "output/report/model/TqnDataset.h"
#include "platform/ScrollLock.h"
#include "session/PrintedListRun.h"
#include "session/ProcessValues.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {

// Whether the loaded layout reads the statistics, whose date the user then chooses.
bool readsStatistics(const TqnReport &report, const TDataSet &statistics)
{
    const TqnDatasetTable &sources = report.layout().DataSets;
    for (int i = 0; i < sources.count(); ++i)
        if (const auto *bound = qobject_cast<const TqnDBDataSet *>(sources.at(i)); bound && bound->DataSet() == &statistics)
            return true;
    return false;
}

} // namespace

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
                 [this](TqnReport &report) {
                     if (platform::scrollLockOn()) {
                         report.OpenDesigner();
                         return;
                     }
                     StatisticsDataSet &statistics = m_window.data().Statistiche();
                     if (readsStatistics(report, statistics)) {
                         ReferenceDateDialog question(&m_window);
                         const std::optional<QDate> at = question.ask(m_statisticsDate.isValid() ? m_statisticsDate : today());
                         if (!at)
                             return;
                         m_statisticsDate = *at;
                         statistics.setReferenceDate(*at);
                     }
                     report.RunPreview();
                 });
}

void PrintListCommand::editLayouts() { m_window.qnReport1().OpenDesigner(); }
