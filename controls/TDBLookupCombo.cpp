#include "controls/TDBLookupCombo.h"

#include "db/TDataSet.h"
#include "db/TField.h"

// Watches the list source only to learn that the cached values may be out of date.
class TDBLookupCombo::ListLink final : public TDataLink {
public:
    explicit ListLink(TDBLookupCombo &combo) : m_combo(combo) {}

protected:
    // The bound value may be showing empty only because its list was not there yet.
    void activeChanged() override
    {
        stale();
        if (active())
            m_combo.dataChange();
    }
    void dataSetChanged() override { stale(); }
    void recordChanged(TField *) override { stale(); }

private:
    void stale()
    {
        if (!m_combo.m_reading)
            m_combo.m_listStale = true;
    }
    TDBLookupCombo &m_combo;
};

namespace {

bool browsing(const TDataSet &ds) { return ds.state() == TDataSetState::dsBrowse; }

// Brings the dataset back to the record it was on, with its controls told once.
class KeepPosition final {
public:
    explicit KeepPosition(TDataSet &ds) : m_ds(ds), m_bookmark(ds.getBookmark()) { m_ds.disableControls(); }
    ~KeepPosition()
    {
        try {
            if (!m_bookmark.isEmpty() && m_ds.bookmarkValid(m_bookmark))
                m_ds.gotoBookmark(m_bookmark);
        } catch (...) {
            // The list is read again next time; the record it stands on is of no consequence.
        }
        m_ds.enableControls();
    }
    KeepPosition(const KeepPosition &) = delete;
    KeepPosition &operator=(const KeepPosition &) = delete;

private:
    TDataSet &m_ds;
    TBookmark m_bookmark;
};

} // namespace

TDBLookupCombo::TDBLookupCombo(QWidget *parent) : QComboBox(parent), m_listLink(std::make_unique<ListLink>(*this))
{
    setEditable(false);
    m_link.OnDataChange = [this] { dataChange(); };
    m_link.OnUpdateData = [this] { m_link.field()->setAsString(currentText()); };
    connect(this, &QComboBox::activated, this, [this](int index) { userChose(index); });
}

TDBLookupCombo::~TDBLookupCombo()
{
    m_link.OnDataChange = nullptr;
    m_link.setDataSource(nullptr);
    m_listLink->setDataSource(nullptr);
}

TDataSource *TDBLookupCombo::listSource() const { return m_listLink->dataSource(); }

void TDBLookupCombo::setListSource(TDataSource *source)
{
    m_listLink->setDataSource(source);
    m_listStale = true;
    dataChange();
}

void TDBLookupCombo::setListField(const QString &name)
{
    m_listField = name;
    m_listStale = true;
    dataChange();
}

// A list source being edited cannot move, so its last values serve until it is posted.
QStringList TDBLookupCombo::listValues()
{
    TDataSet *ds = m_listLink->dataSet();
    if (!m_listStale || !ds || !m_listLink->active() || !browsing(*ds) || m_listField.isEmpty())
        return m_values;
    TField *field = ds->findField(m_listField);
    if (!field)
        return m_values;
    QStringList values;
    m_reading = true;
    {
        KeepPosition keep(*ds);
        for (ds->first(); !ds->eof(); ds->next())
            values << field->asString();
    }
    m_reading = false;
    m_values = values;
    m_listStale = false;
    return m_values;
}

void TDBLookupCombo::refreshItems()
{
    const QStringList values = listValues();
    QStringList shown;
    for (int i = 0; i < count(); ++i)
        shown << itemText(i);
    if (shown == values)
        return;
    clear();
    addItems(values);
}

void TDBLookupCombo::dataChange()
{
    const TField *field = m_link.field();
    if (field)
        refreshItems();
    setCurrentIndex(field ? findText(field->asString(), Qt::MatchExactly | Qt::MatchCaseSensitive) : -1);
}

void TDBLookupCombo::showPopup()
{
    const QString current = currentText();
    refreshItems();
    setCurrentIndex(findText(current, Qt::MatchExactly | Qt::MatchCaseSensitive));
    QComboBox::showPopup();
}

// Qt reports only the user's choices here, never the index the field's value selected.
void TDBLookupCombo::userChose(int)
{
    if (!m_link.userChanged()) {
        m_link.reset();
        return;
    }
    m_link.updateRecord();
}
