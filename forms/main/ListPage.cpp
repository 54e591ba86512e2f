#include "forms/main/ListPage.h"

#include "controls/GridColumn.h"
#include "controls/TExDBGrid.h"
#include "db/RecordText.h"
#include "db/TField.h"
#include "forms/main/GridLook.h"
#include "output/criteria/CardCriteria.h"
#include "session/ProcessValues.h"
#include "session/TMainData.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>
#include <QVBoxLayout>

namespace {

constexpr int kSearchPanelHeight = 30;
constexpr int kSearchWidth = 220;

const char *const kListColumns[] = {
    "Protocollo", "Fascia", "Referente", "Capofamiglia", "Indirizzo", "Citta",
    "Telefono", "Cellulare", "Email", "Paese_di_origine", "Figli_in_patria", "Scad_ISEE",
    "Nucleo", "Abitazione", "Inizio", "Necessita_alimentari", "Note", "Ascolto",
};

// The letters a to z the user enters come out in upper case, the others as typed: the search
// text is folded as the record text is, so whatever is stored (an "ß", a Greek or Cyrillic
// name, an accented letter in either case) is found by typing it as it stands.
class UpperCaseEntry final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        input = upperAsciiLetters(input);
        return Acceptable;
    }
};

} // namespace

ListPage::ListPage(TMainData &data, QWidget *parent) : QWidget(parent), m_data(data)
{
    setObjectName(QStringLiteral("tb_lista"));

    m_grid = new TExDBGrid(this);
    m_grid->setObjectName(QStringLiteral("grid_anagrafica"));
    applyWindowGridLook(*m_grid);
    using O = TDBGridOption;
    m_grid->setOptions(O::dgEditing | O::dgTitles | O::dgIndicator | O::dgColumnResize | O::dgColLines
                       | O::dgRowLines | O::dgCancelOnExit);
    m_grid->setReadOnly(true);
    m_grid->setTitleButtons(true);
    m_grid->setUseRowColors(true);
    m_grid->setRowColor1(gridcolor::btnFace());
    m_grid->setRowColor2(gridcolor::window());
    m_grid->setHighlightColor(gridcolor::navy());
    m_grid->setHighlightFontColor(gridcolor::white());
    TColumns &columns = m_grid->columns();
    columns.beginUpdate();
    for (const char *field : kListColumns)
        columns.add(QString::fromLatin1(field)).title().setCaption(QString::fromLatin1(field));
    columns.endUpdate();
    m_grid->setDataSource(&m_data.ds_anagrafica());
    m_grid->OnTitleBtnClick = [this](TCoreDBGrid &, int aCol, TField *field) {
        reporting([&] { grid_anagraficaTitleBtnClick(aCol, field); });
    };
    m_grid->OnDblClick = [this](TCustomDBGrid &) {
        if (OnShowCard)
            OnShowCard();
    };

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_grid, 1);
    layout->addWidget(buildSearchPanel());
    setTabOrder(m_grid, m_cerca);

    m_data.Anagrafica().OnFilterRecord = [this](TDataSet &cards, bool &accept) { AnagraficaFilterRecord(cards, accept); };
    m_data.Anagrafica().FilterCriteria = [this] { return AnagraficaFilterCriteria(); };
}

ListPage::~ListPage()
{
    // Assigned directly: the setter would reopen the card table on the way out.
    m_data.Anagrafica().OnFilterRecord = nullptr;
    m_data.Anagrafica().FilterCriteria = nullptr;
}

void ListPage::setPrintCriteria(PrintCriteria criteria)
{
    m_printCriteria = std::move(criteria);
    m_printFilterCriteria.reset();
}

void ListPage::setPrintCriteria(const CardCriteria *criteria)
{
    if (!criteria) {
        setPrintCriteria(PrintCriteria());
        return;
    }
    m_printCriteria = [c = *criteria](const TDataSet &cards) { return c.accepts(cards); };
    m_printFilterCriteria = criteria->filterCriteria();
}

QWidget *ListPage::buildSearchPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("pn_ricerca"));
    panel->setFixedHeight(kSearchPanelHeight);
    m_cerca = new QLineEdit(panel);
    m_cerca->setObjectName(QStringLiteral("cerca"));
    m_cerca->setValidator(new UpperCaseEntry(m_cerca));
    m_cerca->setFixedWidth(kSearchWidth);
    connect(m_cerca, &QLineEdit::textChanged, this, [this] { reporting([this] { cercaChange(); }); });
    auto *label = new QLabel(QStringLiteral("Ricerca"), panel);
    label->setObjectName(QStringLiteral("lb_ricerca"));
    label->setBuddy(m_cerca);

    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(8, 3, 8, 3);
    row->setSpacing(6);
    row->addWidget(label);
    row->addWidget(m_cerca);
    row->addStretch(1);
    return panel;
}

template <class Handler> void ListPage::reporting(Handler handler)
{
    try {
        handler();
    } catch (const std::exception &error) {
        if (!m_reportError)
            throw;
        m_reportError(error);
    }
}

void ListPage::AnagraficaFilterRecord(TDataSet &cards, bool &accept)
{
    if (ProcessValues::printFilterMode()) {
        if (m_printCriteria)
            accept = m_printCriteria(cards);
        return;
    }
    const QString search = m_cerca->text();
    if (search.isEmpty())
        return;
    accept = recordText(cards).contains(search);
}

std::optional<TFilterCriteria> ListPage::AnagraficaFilterCriteria() const
{
    if (ProcessValues::printFilterMode())
        return m_printCriteria ? m_printFilterCriteria : TFilterCriteria();
    TFilterCriteria search;
    search.recordTextContains = m_cerca->text();
    return search;
}

// Moving to the first record makes the dataset filter afresh from the start.
void ListPage::cercaChange() { m_data.Anagrafica().first(); }

void ListPage::grid_anagraficaTitleBtnClick(int aCol, TField *field)
{
    TColumns &columns = m_grid->columns();
    const TColumn *clicked = columns.at(aCol);
    const QString fieldName = field ? field->fieldName() : clicked ? clicked->fieldName() : QString();
    if (fieldName.isEmpty())
        return;
    TArcTable &cards = m_data.Anagrafica();
    cards.SortedByList() = QStringList{fieldName};
    cards.ReopenRecordset();
    for (int i = 0; i < columns.count(); ++i)
        columns.at(i)->title().setColor(gridcolor::btnFace());
    columns.at(aCol)->title().setColor(gridcolor::silver());
}
