// The frame of the main window: the command bar, the three pages and the card navigator.

#include "forms/main/Tfrm_main.h"

#include "controls/TDBCheckBox.h"
#include "controls/TDBNavStrip.h"
#include "controls/TExDBGrid.h"
#include "forms/ErrorBox.h"
#include "forms/main/BarPictures.h"
#include "forms/main/CardPage.h"
#include "forms/main/ConfigPage.h"
#include "forms/main/GradientPanel.h"
#include "forms/main/ListPage.h"
#include "forms/main/NavigatorSetup.h"
#include "forms/main/SystemColors.h"

#include <QHBoxLayout>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kBarHeight = 41;
constexpr int kBarGradientSteps = 120;
constexpr QSize kBarButtonSize{40, 40};
constexpr QSize kBannerSize{180, 40};
constexpr int kCardNavigatorHeight = 30;

struct BarButtonSpec {
    const char *name;
    const char *hint;
    BarPicture picture;
};

// In the order of Tfrm_main::BarCommand.
constexpr BarButtonSpec kBarButtons[] = {
    {"bar_scheda", "Gestione scheda", BarPicture::Card},
    {"bar_lista", "Lista schede", BarPicture::List},
    {"bar_stampa", "Stampa elenchi", BarPicture::Printer},
    {"bar_word", "Produce documento Word", BarPicture::Document},
    {"bar_config", "Configurazione", BarPicture::Gear},
    {"bar_manuale", "Manuale", BarPicture::Book},
};

QToolButton *flatButton(QWidget *parent, const char *name, const QSize &size)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(size);
    return button;
}

QWidget *page(const char *name)
{
    auto *widget = new QWidget;
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

void Tfrm_main::buildFrame()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("client"));
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildTopBar());
    column->addWidget(buildPages(), 1);
    buildNavigator();
    column->addWidget(m_navAnagrafica);
    setCentralWidget(central);
}

QWidget *Tfrm_main::buildTopBar()
{
    m_topBar = new GradientPanel(syscolors::appWorkspace(), syscolors::silver(), kBarGradientSteps);
    m_topBar->setObjectName(QStringLiteral("pn_barra"));
    m_topBar->setFixedHeight(kBarHeight);
    auto *row = new QHBoxLayout(m_topBar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (int command = 0; command < kBarCommands; ++command) {
        const BarButtonSpec &definition = kBarButtons[command];
        QToolButton *button = flatButton(m_topBar, definition.name, kBarButtonSize);
        button->setToolTip(QString::fromUtf8(definition.hint));
        button->setIcon(QIcon(barPicture(definition.picture)));
        button->setIconSize(kBarPictureSize);
        connect(button, &QToolButton::clicked, this, [this, command] { barButtonClick(command); });
        row->addWidget(button, 0, Qt::AlignTop);
        m_barButtons[size_t(command)] = button;
    }
    row->addStretch(1);
    m_banner = flatButton(m_topBar, "bt_banner", kBannerSize);
    m_banner->setToolTip(makerAddress());
    m_banner->setIconSize(kBannerSize - QSize(4, 4));
    m_banner->setIcon(QIcon(bannerPicture(m_banner->iconSize())));
    connect(m_banner, &QToolButton::clicked, this, [this] { bannerClick(); });
    row->addWidget(m_banner, 0, Qt::AlignTop);
    return m_topBar;
}

// The pages are reached through the bar only, so they carry no tabs. The grids join the
// layout store in the order the store keeps them: the member grid, then the card list.
QWidget *Tfrm_main::buildPages()
{
    m_pages = new QStackedWidget;
    m_pages->setObjectName(QStringLiteral("pc_pagine"));
    const auto report = [this](const std::exception &error) { reportUnhandled(this, error); };
    m_cardPage = new CardPage(m_data, m_mymsg);
    m_cardPage->setErrorReporter(report);
    m_listPage = new ListPage(m_data);
    m_listPage->setErrorReporter(report);
    m_listPage->OnShowCard = [this] { grid_anagraficaDblClick(); };
    m_tbConfig = page("tb_config");
    m_pages->addWidget(m_cardPage);
    m_pages->addWidget(m_listPage);
    m_pages->addWidget(m_tbConfig);
    m_configPage = new ConfigPage(*this);
    m_pages->setCurrentWidget(m_cardPage);
    m_cardPage->grid_nucleo()->setIniStorage(&m_layoutStore);
    m_listPage->grid_anagrafica()->setIniStorage(&m_layoutStore);
    return m_pages;
}

void Tfrm_main::buildNavigator()
{
    m_navAnagrafica = new TDBNavStrip;
    m_navAnagrafica->setObjectName(QStringLiteral("nav_anagrafica"));
    configureNavigator(*m_navAnagrafica, m_data.ds_anagrafica(), TNavGlyphSize::gsLarge);
    m_navAnagrafica->setAligned(true);
    m_navAnagrafica->setFixedHeight(kCardNavigatorHeight);
    m_navAnagrafica->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QAbstractButton *Tfrm_main::barButton(int command) const
{
    return command >= 0 && command < kBarCommands ? m_barButtons[size_t(command)] : nullptr;
}

QAbstractButton *Tfrm_main::bannerButton() const { return m_banner; }

QWidget *Tfrm_main::tb_scheda() const { return m_cardPage; }

QWidget *Tfrm_main::tb_lista() const { return m_listPage; }

QCheckBox *Tfrm_main::ck(int number) const { return m_cardPage->ck(number); }
