// The commands of the bar and the page changes, with the pick lists and captions they
// refresh.

#include "forms/main/Tfrm_main.h"

#include "controls/TDBNavStrip.h"
#include "db/TField.h"
#include "forms/ErrorBox.h"
#include "forms/main/CardPage.h"
#include "forms/main/ListPage.h"
#include "session/ProcessValues.h"
#include "store/BodyCaptions.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QStackedWidget>
#include <QUrl>

namespace {

bool editing(const TDataSet &dataSet)
{
    return dataSet.state() == TDataSetState::dsEdit || dataSet.state() == TDataSetState::dsInsert;
}

} // namespace

QString Tfrm_main::makerAddress() { return QStringLiteral("https://tavorio.example.org/"); }

// Member rows, bodies and printed lists are posted by their own grids and navigators.
void Tfrm_main::Chiude_modifiche()
{
    if (editing(m_data.Anagrafica()))
        m_data.Anagrafica().post();
    if (editing(m_data.Fascia()))
        m_data.Fascia().post();
    if (editing(m_data.Occupazione())) {
        m_data.Occupazione().post();
        Popola_lista_occupazione();
    }
    if (editing(m_data.Ruolo())) {
        m_data.Ruolo().post();
        Popola_lista_ruolo();
    }
}

void Tfrm_main::postPendingEdits()
{
    // The members first: the card's summary is written from them when the card posts.
    if (editing(m_data.Nucleo()))
        m_data.Nucleo().checkBrowseMode();
    Chiude_modifiche();
    if (editing(m_data.Gruppi()))
        m_data.Gruppi().checkBrowseMode();
}

void Tfrm_main::Popola_lista_ruolo()
{
    m_listaRuolo = TMainData::columnTexts(m_data.Ruolo(), QStringLiteral("Ruolo"));
    m_cardPage->setRolePickList(m_listaRuolo);
}

void Tfrm_main::Popola_lista_occupazione()
{
    m_listaOccupazione = TMainData::columnTexts(m_data.Occupazione(), QStringLiteral("Occupazione"));
    m_cardPage->setOccupationPickList(m_listaOccupazione);
}

void Tfrm_main::labelCheckBoxes()
{
    const QStringList captions = bodyCaptions(m_data.Gruppi());
    for (int number = 1; number <= 6; ++number)
        ck(number)->setText(captions.at(number - 1));
}

void Tfrm_main::showPage(QWidget *page)
{
    Chiude_modifiche();
    m_pages->setCurrentWidget(page);
}

// The navigator keeps whatever state the bar gave it.
void Tfrm_main::grid_anagraficaDblClick()
{
    try {
        showPage(m_cardPage);
    } catch (const std::exception &error) {
        reportUnhandled(this, error);
    }
}

void Tfrm_main::barButtonClick(int command)
{
    try {
        switch (command) {
        case cmdScheda: bar_schedaClick(); break;
        case cmdLista: bar_listaClick(); break;
        case cmdStampa: bar_stampaClick(); break;
        case cmdWord: bar_wordClick(); break;
        case cmdConfig: bar_configClick(); break;
        case cmdManuale: bar_manualeClick(); break;
        default: break;
        }
    } catch (const std::exception &error) {
        reportUnhandled(this, error);
    }
}

void Tfrm_main::bar_schedaClick()
{
    m_navAnagrafica->setEnabled(true);
    showPage(m_cardPage);
}

void Tfrm_main::bar_listaClick()
{
    m_navAnagrafica->setEnabled(true);
    showPage(m_listPage);
}

void Tfrm_main::bar_stampaClick() { m_printCommand.run(); }

void Tfrm_main::bar_wordClick() { m_wordCommand.run(); }

// The card navigator would move the card behind the configuration page's back.
void Tfrm_main::bar_configClick()
{
    m_navAnagrafica->setEnabled(false);
    showPage(m_tbConfig);
}

// Whether the manual is there and something can open it is the desktop's business.
void Tfrm_main::bar_manualeClick()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(ProcessValues::inApplicationFolder(QStringLiteral("manuale.pdf"))));
}

void Tfrm_main::bannerClick() { QDesktopServices::openUrl(QUrl(makerAddress())); }
