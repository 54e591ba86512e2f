#pragma once
// A check box bound to a Boolean field: checked is true, clear is false, and a null value
// shows clear. A click puts the dataset into edit and writes the new value at once.

#include "controls/TDBFieldLink.h"

#include <QCheckBox>

class TDataSource;

class TDBCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit TDBCheckBox(QWidget *parent = nullptr);
    ~TDBCheckBox() override;

    TDataSource *dataSource() const { return m_link.dataSource(); }
    void setDataSource(TDataSource *source) { m_link.setDataSource(source); }
    QString dataField() const { return m_link.fieldName(); }
    void setDataField(const QString &name) { m_link.setFieldName(name); }
    TField *field() const { return m_link.field(); }

protected:
    // A dataset that refuses the edit keeps the box as it was.
    void nextCheckState() override;

private:
    void dataChange();

    TDBFieldLink m_link;
};
