#pragma once
// A drop-down list bound to a field, offering the values of one field of another dataset
// (the list source) in that dataset's order. Choosing an entry writes it into the bound
// field at once; a value that is not in the list shows as an empty choice.

#include "controls/TDBFieldLink.h"

#include <QComboBox>
#include <QStringList>
#include <memory>

class TDataSource;

class TDBLookupCombo : public QComboBox {
    Q_OBJECT
public:
    explicit TDBLookupCombo(QWidget *parent = nullptr);
    ~TDBLookupCombo() override;

    TDataSource *dataSource() const { return m_link.dataSource(); }
    void setDataSource(TDataSource *source) { m_link.setDataSource(source); }
    QString dataField() const { return m_link.fieldName(); }
    void setDataField(const QString &name) { m_link.setFieldName(name); }
    TField *field() const { return m_link.field(); }

    TDataSource *listSource() const;
    void setListSource(TDataSource *source);
    QString listField() const { return m_listField; }
    void setListField(const QString &name);

    // The values offered, read again from the list source when it changed since last time.
    QStringList listValues();
    void showPopup() override;

private:
    class ListLink;

    void dataChange();
    void userChose(int index);
    void refreshItems();

    TDBFieldLink m_link;
    std::unique_ptr<ListLink> m_listLink;
    QString m_listField;
    QStringList m_values;
    bool m_listStale = true;
    bool m_reading = false;
};
