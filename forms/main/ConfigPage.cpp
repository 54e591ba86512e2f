#include "forms/main/ConfigPage.h"

#include "forms/ErrorText.h"
#include "forms/main/PeopleDialog.h"
#include "store/PeopleAccess.h"

#include "db/DatabaseError.h"
#include "forms/ErrorBox.h"
#include "forms/main/LookupTab.h"
#include "forms/main/PasswordChange.h"
#include "forms/main/Tfrm_main.h"
#include "forms/pass2/Tfrm_pass2.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kOrdineWidth = 50;
constexpr int kValueWidth = 220;
constexpr int kButtonHeight = 25;

struct TabEntry {
    const char *caption;
    LookupTabSpec definition;
    TDataSource &(TMainData::*source)();
};

// In the order of ConfigPage::Lookup. The bodies' table is shown in its natural order, its
// counter under the title "Ordine".
std::array<TabEntry, ConfigPage::kLookups> tabEntries()
{
    return {{
        {"Fascia",
         {"tb_fascia", "grid_fascia", "nav_fascia",
          {{"Ordine", "Ordine", kOrdineWidth}, {"Fascia", "Fascia", kValueWidth}}, TScrollStyle::ssHorizontal, true},
         &TMainData::ds_fascia},
        {"Ruolo",
         {"tb_ruolo", "grid_ruolo", "nav_ruolo",
          {{"Ordine", "Ordine", kOrdineWidth}, {"Ruolo", "Ruolo", kValueWidth}}, TScrollStyle::ssHorizontal},
         &TMainData::ds_Ruolo},
        {"Occupazione",
         {"tb_occupazione", "grid_occupazione", "nav_occupazione",
          {{"Ordine", "Ordine", kOrdineWidth}, {"Occupazione", "Occupazione", kValueWidth}},
          TScrollStyle::ssHorizontal},
         &TMainData::ds_occupazione},
        {"Enti",
         {"tb_enti", "ExDBGrid1", "nav_enti", {{"ID", "Ordine", kOrdineWidth}, {"Gruppo", "Gruppo", kValueWidth}},
          TScrollStyle::ssVertical},
         &TMainData::ds_gruppi},
    }};
}

QPushButton *configButton(QWidget *parent, const char *name, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFixedHeight(kButtonHeight);
    button->setAutoDefault(false);
    return button;
}

} // namespace

QString ConfigPage::fasciaDeleteQuestion()
{
    return QStringLiteral("   Confermi la cancellazione di questa fascia ?   ");
}

QString ConfigPage::ruoloDeleteQuestion() { return QStringLiteral("   Confermi la cancellazione di questo ruolo ?   "); }

QString ConfigPage::occupazioneDeleteQuestion()
{
    return QStringLiteral("   Confermi la cancellazione di questa occupazione ?   ");
}

ConfigPage::ConfigPage(Tfrm_main &window) : QWidget(window.tb_config()), m_window(window)
{
    setObjectName(QStringLiteral("config_page"));
    QWidget *page = window.tb_config();
    auto *pageLayout = qobject_cast<QVBoxLayout *>(page->layout());
    if (!pageLayout) {
        pageLayout = new QVBoxLayout(page);
        pageLayout->setContentsMargins(0, 0, 0, 0);
    }
    pageLayout->addWidget(this);

    buildButtons();
    buildTabs();
    setTabOrder(m_btTracciati, m_btPassword);
    setTabOrder(m_btPassword, m_btPersone);
    setTabOrder(m_btPersone, m_btArchivio);
    setTabOrder(m_btArchivio, m_tabs);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 4, 0, 0);
    column->setSpacing(4);
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(4, 0, 4, 0);
    buttons->addWidget(m_btTracciati);
    buttons->addWidget(m_btPassword);
    buttons->addWidget(m_btArchivio);
    buttons->addStretch();
    column->addLayout(buttons);
    // A row of its own: the page stays as wide as its designed frame.
    auto *people = new QHBoxLayout;
    people->setContentsMargins(4, 0, 4, 0);
    people->addWidget(m_btPersone);
    people->addStretch();
    column->addLayout(people);
    column->addWidget(m_tabs, 1);

    bindDeleteConfirmations();
}

void ConfigPage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    applyRole();
}

void ConfigPage::applyRole()
{
    TArcDatabase &database = m_window.Database();
    QString refusal;
    bool people = false;
    try {
        refusal = store::operatorRefusal(database);
        people = store::hasPeople(database);
    } catch (const std::exception &) {
        // A server out of reach: its own message comes with the next thing the user does.
    }
    m_btTracciati->setEnabled(refusal.isEmpty());
    m_btTracciati->setToolTip(refusal);
    for (LookupTab *tab : m_lookupTabs)
        tab->setRefusal(refusal);
    m_btPersone->setEnabled(people && refusal.isEmpty());
    m_btPersone->setToolTip(!people ? QStringLiteral("Le persone ci sono solo per un archivio su un server: un file ha "
                                                     "la sola password dell'archivio.")
                                    : refusal);
}

// The datasets outlive the page: they must not call into it once it is gone.
ConfigPage::~ConfigPage() { releaseDeleteConfirmations(); }

void ConfigPage::buildButtons()
{
    m_btTracciati = configButton(this, "bt_tracciati", QStringLiteral("Modifica i tracciati di stampa"));
    m_btPassword = configButton(this, "bt_password", QStringLiteral("Proteggi il mio archivio con una password"));
    connect(m_btTracciati, &QPushButton::clicked, this, [this] { bt_tracciatiClick(); });
    connect(m_btPassword, &QPushButton::clicked, this, [this] { bt_passwordClick(); });
    m_btPersone = configButton(this, "bt_persone", QStringLiteral("Persone"));
    connect(m_btPersone, &QPushButton::clicked, this, [this] {
        try {
            PeopleDialog(m_window.Database(), this).exec();
        } catch (const std::exception &error) {
            QMessageBox::warning(this, QStringLiteral("Persone"), errorText(error));
        }
    });
    m_btArchivio = configButton(this, "bt_archivio", QStringLiteral("Cambia archivio…"));
    connect(m_btArchivio, &QPushButton::clicked, this, [this] {
        if (OnArchivioClick)
            OnArchivioClick();
    });
}

void ConfigPage::buildTabs()
{
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("pc_tabelle"));
    TMainData &data = m_window.data();
    const auto entries = tabEntries();
    for (size_t k = 0; k < entries.size(); ++k) {
        const TabEntry &entry = entries[k];
        auto *tab = new LookupTab(entry.definition, (data.*entry.source)(), m_tabs);
        m_tabs->addTab(tab, QString::fromUtf8(entry.caption));
        m_lookupTabs[k] = tab;
    }
    m_tabs->setCurrentIndex(lkFascia);
}

LookupTab *ConfigPage::tab(Lookup lookup) const
{
    return lookup >= 0 && lookup < kLookups ? m_lookupTabs[size_t(lookup)] : nullptr;
}

TExDBGrid *ConfigPage::grid(Lookup lookup) const
{
    LookupTab *t = tab(lookup);
    return t ? t->grid() : nullptr;
}

TDBNavStrip *ConfigPage::navigator(Lookup lookup) const
{
    LookupTab *t = tab(lookup);
    return t ? t->navigator() : nullptr;
}

void ConfigPage::bindDeleteConfirmations()
{
    TMainData &data = m_window.data();
    data.Fascia().BeforeDelete = [this](TDataSet &ds) { FasciaBeforeDelete(ds); };
    data.Ruolo().BeforeDelete = [this](TDataSet &ds) { RuoloBeforeDelete(ds); };
    data.Occupazione().BeforeDelete = [this](TDataSet &ds) { OccupazioneBeforeDelete(ds); };
}

void ConfigPage::releaseDeleteConfirmations()
{
    TMainData &data = m_window.data();
    data.Fascia().BeforeDelete = {};
    data.Ruolo().BeforeDelete = {};
    data.Occupazione().BeforeDelete = {};
}

void ConfigPage::FasciaBeforeDelete(TDataSet &) { confirmDelete(fasciaDeleteQuestion()); }

void ConfigPage::RuoloBeforeDelete(TDataSet &) { confirmDelete(ruoloDeleteQuestion()); }

void ConfigPage::OccupazioneBeforeDelete(TDataSet &) { confirmDelete(occupazioneDeleteQuestion()); }

// Anything but "Sì" cancels without a word: the user has just said so.
void ConfigPage::confirmDelete(const QString &question)
{
    if (!m_window.mymsg().confirm(question))
        throw EAbort();
}

void ConfigPage::setPasswordWindow(Tfrm_pass2 *dialog) { m_passwordWindow = dialog; }

Tfrm_pass2 *ConfigPage::passwordWindow()
{
    if (!m_passwordWindow)
        m_passwordWindow = new Tfrm_pass2(&m_window);
    return m_passwordWindow;
}

void ConfigPage::bt_tracciatiClick()
{
    if (!OnTracciatiClick)
        return;
    try {
        OnTracciatiClick();
    } catch (const std::exception &error) {
        reportUnhandled(&m_window, error);
    }
}

void ConfigPage::bt_passwordClick()
{
    try {
        PasswordChange(m_window, *passwordWindow()).run();
    } catch (const std::exception &error) {
        reportUnhandled(&m_window, error);
    }
}
