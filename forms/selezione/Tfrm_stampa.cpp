#include "forms/selezione/Tfrm_stampa.h"

#include "controls/GridColumn.h"
#include "controls/SansFont.h"
#include "controls/TExDBGrid.h"
#include "forms/CentreOnScreen.h"
#include "forms/main/GridLook.h"
#include "session/TMainData.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

namespace {

constexpr int kClientWidth = 268;
constexpr int kClientHeight = 273;
constexpr int kFontPixels = 11;
constexpr int kBandRowsVisible = 8;
constexpr int kCatalogueColumnWidth = 246;

QLabel *label(QWidget *parent, const char *name, const QString &text, int x, int y)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->move(x, y);
    l->adjustSize();
    return l;
}

} // namespace

Tfrm_stampa::Tfrm_stampa(TMainData &data, QWidget *parent) : QDialog(parent), m_data(data)
{
    setObjectName(QStringLiteral("frm_stampa"));
    setWindowTitle(QStringLiteral("Selezione"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(sansSerifFont(kFontPixels));
    setFixedSize(kClientWidth, kClientHeight);
    buildControls();
}

Tfrm_stampa::~Tfrm_stampa() = default;

void Tfrm_stampa::buildControls()
{
    label(this, "lb_fascia", QStringLiteral("Fascia"), 8, 8);
    m_selFascia = new QComboBox(this);
    m_selFascia->setObjectName(QStringLiteral("sel_fascia"));
    m_selFascia->setMaxVisibleItems(kBandRowsVisible);
    m_selFascia->setGeometry(8, 24, 121, 21);
    m_selFascia->addItem(allBands());

    label(this, "lb_paese", QStringLiteral("Paese orig."), 140, 8);
    m_selPaese = new QLineEdit(this);
    m_selPaese->setObjectName(QStringLiteral("sel_paese"));
    m_selPaese->setGeometry(140, 24, 120, 21);

    m_cerca = new QCheckBox(QStringLiteral("utilizza anche l'attuale filtro di ricerca"), this);
    m_cerca->setObjectName(QStringLiteral("cerca"));
    m_cerca->setGeometry(8, 52, 252, 17);

    label(this, "lb_stampa", QStringLiteral("Selezionare stampa"), 8, 78);
    m_grid = new TExDBGrid(this);
    m_grid->setObjectName(QStringLiteral("grid_stampe"));
    applyWindowGridLook(*m_grid);
    using O = TDBGridOption;
    m_grid->setOptions(O::dgTitles | O::dgColumnResize | O::dgColLines | O::dgRowLines | O::dgRowSelect
                       | O::dgAlwaysShowSelection);
    m_grid->setReadOnly(true);
    m_grid->setScrollBars(TScrollStyle::ssNone);
    m_grid->columns().add(QStringLiteral("Nome")).title().setCaption(QStringLiteral("Nome"));
    m_grid->columns().at(0)->setWidth(kCatalogueColumnWidth);
    m_grid->setDataSource(&m_data.ds_stampe());
    m_grid->setGeometry(8, 94, 252, 138);
    // The grid keeps Enter and Esc for its own editing; here they close the window as in any
    // selection dialog.
    m_grid->installEventFilter(this);

    m_btAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    m_btAnnulla->setObjectName(QStringLiteral("bt_annulla"));
    m_btAnnulla->setGeometry(96, 242, 80, 25);
    m_btAnnulla->setAutoDefault(false);
    connect(m_btAnnulla, &QPushButton::clicked, this, &QDialog::reject);

    m_btStampa = new QPushButton(QStringLiteral("Stampa"), this);
    m_btStampa->setObjectName(QStringLiteral("bt_stampa"));
    m_btStampa->setGeometry(180, 242, 80, 25);
    m_btStampa->setDefault(true);
    connect(m_btStampa, &QPushButton::clicked, this, &QDialog::accept);

    setTabOrder(m_selFascia, m_selPaese);
    setTabOrder(m_selPaese, m_cerca);
    setTabOrder(m_cerca, m_grid);
    setTabOrder(m_grid, m_btAnnulla);
    setTabOrder(m_btAnnulla, m_btStampa);
}

CardCriteria Tfrm_stampa::criteria(const QString &searchText) const
{
    CardCriteria c;
    if (m_selFascia->currentIndex() > 0)
        c.band = m_selFascia->currentText();
    c.country = m_selPaese->text();
    if (m_cerca->isEnabled() && m_cerca->isChecked())
        c.searchText = searchText;
    return c;
}

void Tfrm_stampa::refillBands()
{
    const QString chosen = m_selFascia->currentIndex() > 0 ? m_selFascia->currentText() : QString();
    QStringList bands;
    if (m_data.Fascia().active())
        bands = TMainData::columnTexts(m_data.Fascia(), QStringLiteral("Fascia"));
    m_selFascia->clear();
    m_selFascia->addItem(allBands());
    m_selFascia->addItems(bands);
    const int index = chosen.isEmpty() ? 0 : int(bands.indexOf(chosen)) + 1;
    m_selFascia->setCurrentIndex(index);
}

bool Tfrm_stampa::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_btStampa->click();
            return true;
        }
        if (key == Qt::Key_Escape) {
            m_btAnnulla->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// A catalogue longer than the grid shows gets a scroll bar, its column narrowed to leave room:
// every list stays reachable with the mouse too.
void Tfrm_stampa::fitCatalogue()
{
    TDataSet &catalogue = m_data.stampe();
    const bool scrolls = catalogue.active() && catalogue.recordCount() > m_grid->visibleRowCount();
    m_grid->setScrollBars(scrolls ? TScrollStyle::ssVertical : TScrollStyle::ssNone);
    const int room = scrolls ? m_grid->verticalScrollBar()->sizeHint().width() : 0;
    m_grid->columns().at(0)->setWidth(kCatalogueColumnWidth - room);
}

void Tfrm_stampa::showEvent(QShowEvent *event)
{
    refillBands();
    fitCatalogue();
    centreOnScreen(*this);
    QDialog::showEvent(event);
}
