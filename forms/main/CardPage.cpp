#include "forms/main/CardPage.h"

#include "session/ProcessValues.h"

#include "db/TField.h"

#include "controls/GridColumn.h"
#include "controls/TDBCheckBox.h"
#include "controls/TDBDateEdit.h"
#include "controls/TDBLookupCombo.h"
#include "controls/TDBMemo.h"
#include "controls/TDBNavStrip.h"
#include "controls/TExDBGrid.h"
#include "forms/main/CardHistoryDialog.h"
#include "forms/main/GridLook.h"
#include "forms/main/NavigatorSetup.h"
#include "session/TMainData.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kMargin = 6;
constexpr int kProtocolWidth = 64;
constexpr int kDateWidth = 96;
constexpr int kBandWidth = 90;
constexpr int kShortEditWidth = 64;
constexpr QSize kMemberNavigatorSize{200, 18};
constexpr int kMemberGridMinimumHeight = 100;
constexpr int kRowColorMembers = 12255087;

struct MemoTab {
    const char *caption;
    const char *field;
};

// The first two captions do not name their fields: the office uses them that way round.
constexpr MemoTab kMemoTabs[] = {
    {"Necessità", "Note"},
    {"Note", "Necessita_alimentari"},
    {"Altro", "Ascolto"},
};

struct MemberColumnSpec {
    const char *field;
    const char *title;
    int width;   // wide enough for the longest role and occupation of the standard lists
};

constexpr MemberColumnSpec kMemberColumns[] = {
    {"Nome", "Nome", 160},
    {"Ruolo", "Ruolo", 90},
    {"Lavoro", "Lavoro", 105},
    {"Data_nascita", "Data Nascita", 76},
    {"Eta", "Età", 32},
};

QLabel *caption(QWidget *parent, const char *text, QWidget *buddy = nullptr)
{
    auto *label = new QLabel(QString::fromUtf8(text), parent);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

QHBoxLayout *row(int spacing = 4)
{
    auto *layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

} // namespace

CardPage::CardPage(TMainData &data, const TMessageBox &mymsg, QWidget *parent)
    : QWidget(parent), m_data(data), m_handlers(data, mymsg)
{
    setObjectName(QStringLiteral("tb_scheda"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    column->setSpacing(kMargin);
    if (ProcessValues::demoArchive()) {
        auto *demo = new QLabel(QStringLiteral("(dimostrazione) Archivio di famiglie inventate: non inserire famiglie vere."), this);
        demo->setObjectName(QStringLiteral("lb_dimostrazione"));
        demo->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
        column->addWidget(demo);
    }
    column->addWidget(buildCardFields());
    column->addWidget(buildMembers(), 1);
    column->addWidget(buildBodiesAndNotes(), 1);
    // The window may be made smaller than the card: the card is then cut at the bottom,
    // as a hand-placed form would be, instead of holding the window's size up.
    column->setSizeConstraint(QLayout::SetNoConstraint);
    setMinimumSize(1, 1);
    chainTabOrder();
}

CardPage::~CardPage() = default;

TDBEdit *CardPage::addEdit(QWidget *parent, const char *fieldName)
{
    auto *edit = new TDBEdit(parent);
    edit->setObjectName(QStringLiteral("ed_") + QLatin1String(fieldName));
    edit->setDataSource(&m_data.ds_anagrafica());
    edit->setDataField(QString::fromLatin1(fieldName));
    m_edits.push_back(edit);
    return edit;
}

// Protocol, start and band across the top; the household's address on the left and its
// other particulars on the right.
QWidget *CardPage::buildCardFields()
{
    auto *box = new QWidget(this);
    box->setObjectName(QStringLiteral("pn_dati"));

    TDBEdit *protocollo = addEdit(box, "Protocollo");
    protocollo->setFixedWidth(kProtocolWidth);
    m_inizio = new TDBDateEdit(box);
    m_inizio->setObjectName(QStringLiteral("ed_Inizio"));
    m_inizio->setDataSource(&m_data.ds_anagrafica());
    m_inizio->setDataField(QStringLiteral("Inizio"));
    m_inizio->setFixedWidth(kDateWidth);
    m_fascia = new TDBLookupCombo(box);
    m_fascia->setObjectName(QStringLiteral("cb_fascia"));
    m_fascia->setDataSource(&m_data.ds_anagrafica());
    m_fascia->setDataField(QStringLiteral("Fascia"));
    m_fascia->setListSource(&m_data.ds_fascia());
    m_fascia->setListField(QStringLiteral("Fascia"));
    m_fascia->setFixedWidth(kBandWidth);

    auto *top = row(6);
    top->addWidget(caption(box, "Numero Protocollo", protocollo));
    top->addWidget(protocollo);
    top->addSpacing(12);
    top->addWidget(caption(box, "Inizio", m_inizio));
    top->addWidget(m_inizio);
    top->addSpacing(12);
    top->addWidget(caption(box, "Fascia", m_fascia));
    top->addWidget(m_fascia);
    top->addStretch(1);

    auto *household = new QGridLayout;
    household->setContentsMargins(0, 0, 0, 0);
    household->setHorizontalSpacing(4);
    household->setVerticalSpacing(3);
    household->addWidget(caption(box, "Nucleo familiare"), 0, 0, 1, 4);
    household->addWidget(addEdit(box, "Capofamiglia"), 1, 0, 1, 4);
    household->addWidget(addEdit(box, "Indirizzo"), 2, 0, 1, 4);
    household->addWidget(addEdit(box, "Citta"), 3, 0, 1, 4);
    TDBEdit *telefono = addEdit(box, "Telefono");
    TDBEdit *cellulare = addEdit(box, "Cellulare");
    household->addWidget(caption(box, "Telef.", telefono), 4, 0);
    household->addWidget(telefono, 4, 1);
    household->addWidget(caption(box, "Cell.", cellulare), 4, 2);
    household->addWidget(cellulare, 4, 3);
    TDBEdit *email = addEdit(box, "Email");
    household->addWidget(caption(box, "Email", email), 5, 0);
    household->addWidget(email, 5, 1, 1, 3);
    household->setColumnStretch(1, 1);
    household->setColumnStretch(3, 1);

    auto *particulars = new QGridLayout;
    particulars->setContentsMargins(0, 0, 0, 0);
    particulars->setHorizontalSpacing(4);
    particulars->setVerticalSpacing(3);
    const char *const captions[] = {"Persona di contatto", "Paese di origine", "Situazione abitativa",
                                    "Figli in patria"};
    const char *const fields[] = {"Referente", "Paese_di_origine", "Abitazione", "Figli_in_patria"};
    for (int i = 0; i < 4; ++i) {
        TDBEdit *edit = addEdit(box, fields[i]);
        particulars->addWidget(caption(box, captions[i], edit), i + 1, 0);
        particulars->addWidget(edit, i + 1, 1, Qt::AlignLeft);
        if (i < 3)
            edit->setMinimumWidth(150);
        else
            edit->setFixedWidth(kShortEditWidth);
    }
    m_scadISEE = new TDBDateEdit(box);
    m_scadISEE->setObjectName(QStringLiteral("ed_Scad_ISEE"));
    m_scadISEE->setDataSource(&m_data.ds_anagrafica());
    m_scadISEE->setDataField(QStringLiteral("Scad_ISEE"));
    m_scadISEE->setFixedWidth(kDateWidth);
    particulars->addWidget(caption(box, "Scadenza ISEE", m_scadISEE), 5, 0);
    particulars->addWidget(m_scadISEE, 5, 1, Qt::AlignLeft);
    particulars->setColumnStretch(1, 1);
    // The right column's first row lines up with the household's first edit.
    particulars->setRowMinimumHeight(0, 0);

    auto *columns = row(12);
    columns->addLayout(household, 1);
    columns->addLayout(particulars, 1);

    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addLayout(top);
    layout->addLayout(columns);
    return box;
}

QWidget *CardPage::buildMembers()
{
    auto *box = new QWidget(this);
    box->setObjectName(QStringLiteral("pn_nucleo"));

    m_navNucleo = new TDBNavStrip(box);
    m_navNucleo->setObjectName(QStringLiteral("DBNavStrip1"));
    configureNavigator(*m_navNucleo, m_data.ds_nucleo(), TNavGlyphSize::gsSmall);
    m_navNucleo->setFixedSize(kMemberNavigatorSize);

    m_gridNucleo = new TExDBGrid(box);
    m_gridNucleo->setObjectName(QStringLiteral("grid_nucleo"));
    applyWindowGridLook(*m_gridNucleo);
    m_gridNucleo->setDisplayDateTime(false);
    m_gridNucleo->setRowColor1(gridcolor::fromBgr(kRowColorMembers));
    m_gridNucleo->setRowColor2(gridcolor::window());
    m_gridNucleo->setUseRowColors(false);
    m_gridNucleo->setMinimumHeight(kMemberGridMinimumHeight);
    TColumns &columns = m_gridNucleo->columns();
    columns.beginUpdate();
    for (const MemberColumnSpec &definition : kMemberColumns) {
        TColumn &column = columns.add(QString::fromLatin1(definition.field));
        column.title().setCaption(QString::fromUtf8(definition.title));
        column.setWidth(definition.width);
    }
    columns.at(colDataNascita)->setAlignment(Qt::AlignHCenter);
    columns.at(colDataNascita)->title().setAlignment(Qt::AlignHCenter);
    columns.at(colEta)->setReadOnly(true);
    columns.endUpdate();
    m_gridNucleo->setDataSource(&m_data.ds_nucleo());
    m_gridNucleo->OnEnter = [this](TCustomDBGrid &) {
        try {
            grid_nucleoEnter();
        } catch (const std::exception &error) {
            if (!m_reportError)
                throw;
            m_reportError(error);
        }
    };

    m_history = new QPushButton(QStringLiteral("Storia della scheda"), box);
    m_history->setObjectName(QStringLiteral("bt_storia"));
    m_history->setFocusPolicy(Qt::NoFocus);
    connect(m_history, &QPushButton::clicked, this, [this] {
        try {
            showHistory(QDate::currentDate());
        } catch (const std::exception &error) {
            if (!m_reportError)
                throw;
            m_reportError(error);
        }
    });

    auto *heading = row();
    heading->addWidget(caption(box, "Composizione nucleo familiare", m_gridNucleo), 1, Qt::AlignBottom);
    heading->addWidget(m_navNucleo, 0, Qt::AlignRight);
    // Below the grid, so that the page is no wider than its designed frame.
    auto *footer = row();
    footer->addStretch(1);
    footer->addWidget(m_history);

    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(heading);
    layout->addWidget(m_gridNucleo, 1);
    layout->addLayout(footer);
    return box;
}

// The changes of the current card and its members; a new card not yet posted has none.
void CardPage::showHistory(const QDate &today)
{
    TArcTable &cards = m_data.Anagrafica();
    if (!cards.active() || !cards.Database())
        return;
    const qint64 card = cards.fieldByName(QStringLiteral("ID_SCHEDA"))->asInteger();
    CardHistoryDialog dialog(*cards.Database(), card, today, this);
    dialog.exec();
}

// The bodies that also assist the household on the left, the three notes on the right.
QWidget *CardPage::buildBodiesAndNotes()
{
    auto *box = new QWidget(this);
    box->setObjectName(QStringLiteral("pn_enti"));

    auto *bodies = new QVBoxLayout;
    bodies->setContentsMargins(0, 0, 0, 0);
    bodies->setSpacing(2);
    bodies->addWidget(caption(box, "Assistiti anche da :"));
    for (int k = 0; k < int(m_ck.size()); ++k) {
        auto *check = new TDBCheckBox(box);
        check->setObjectName(QStringLiteral("ck%1").arg(k + 1));
        check->setDataSource(&m_data.ds_anagrafica());
        check->setDataField(QStringLiteral("G%1").arg(k + 1));
        check->setMinimumWidth(130);
        m_ck[size_t(k)] = check;
        if (k + 1 < int(m_ck.size())) {
            bodies->addWidget(check);
            continue;
        }
        m_g6Altri = addEdit(box, "G6_altri");
        auto *last = row();
        last->addWidget(check);
        last->addWidget(m_g6Altri, 1);
        bodies->addLayout(last);
    }
    bodies->addStretch(1);

    m_memoTabs = new QTabWidget(box);
    m_memoTabs->setObjectName(QStringLiteral("pc_note"));
    for (size_t i = 0; i < m_memos.size(); ++i) {
        auto *memo = new TDBMemo;
        memo->setObjectName(QStringLiteral("mm_") + QLatin1String(kMemoTabs[i].field));
        memo->setDataSource(&m_data.ds_anagrafica());
        memo->setDataField(QString::fromLatin1(kMemoTabs[i].field));
        m_memoTabs->addTab(memo, QString::fromUtf8(kMemoTabs[i].caption));
        m_memos[i] = memo;
    }

    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addLayout(bodies, 0);
    layout->addWidget(m_memoTabs, 1);
    return box;
}

void CardPage::chainTabOrder()
{
    auto editFor = [this](const char *field) { return edit(QString::fromLatin1(field)); };
    m_tabOrder = {editFor("Protocollo"), m_inizio,  m_fascia,
                  editFor("Capofamiglia"), editFor("Indirizzo"), editFor("Citta"),
                  editFor("Telefono"), editFor("Cellulare"), editFor("Email"),
                  editFor("Referente"), editFor("Paese_di_origine"), editFor("Abitazione"),
                  editFor("Figli_in_patria"), m_scadISEE, m_gridNucleo};
    for (TDBCheckBox *box : m_ck)
        m_tabOrder << box;
    m_tabOrder << m_g6Altri << m_memoTabs << m_navNucleo;
    for (int i = 1; i < m_tabOrder.size(); ++i)
        setTabOrder(m_tabOrder[i - 1], m_tabOrder[i]);
}

TDBEdit *CardPage::edit(const QString &fieldName) const
{
    if (fieldName == QLatin1String("Inizio"))
        return m_inizio;
    if (fieldName == QLatin1String("Scad_ISEE"))
        return m_scadISEE;
    for (TDBEdit *edit : m_edits) {
        if (edit->dataField() == fieldName)
            return edit;
    }
    return nullptr;
}

TDBCheckBox *CardPage::ck(int number) const
{
    return number >= 1 && number <= int(m_ck.size()) ? m_ck[size_t(number - 1)] : nullptr;
}

TDBMemo *CardPage::memo(int tab) const
{
    return tab >= 0 && tab < int(m_memos.size()) ? m_memos[size_t(tab)] : nullptr;
}

// The layout store may have moved the columns before the lists are filled: each list goes to
// its field's column, wherever that is now.
void CardPage::setPickList(const QString &fieldName, const QStringList &values)
{
    if (TColumn *target = m_gridNucleo->columns().findByField(fieldName))
        target->setPickList(values);
}

void CardPage::setRolePickList(const QStringList &values) { setPickList(QStringLiteral("Ruolo"), values); }

void CardPage::setOccupationPickList(const QStringList &values)
{
    setPickList(QStringLiteral("Lavoro"), values);
}

// Posting the card gives a new card its key before the first member is added; editing it
// again keeps the page as the user left it.
void CardPage::grid_nucleoEnter()
{
    TDataSet &card = m_data.Anagrafica();
    if (card.state() != TDataSetState::dsEdit && card.state() != TDataSetState::dsInsert)
        return;
    card.post();
    card.edit();
}
