#pragma once
// A one-line edit bound to a field: it shows the field's text, puts the dataset into edit
// when the user changes the text, and writes the text into the field when the focus leaves
// it or the dataset posts. Escape brings back the field's value.

#include "controls/TDBFieldLink.h"

#include <QLineEdit>

class TDataSource;

class TDBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TDBEdit(QWidget *parent = nullptr);
    ~TDBEdit() override;

    TDataSource *dataSource() const { return m_link.dataSource(); }
    void setDataSource(TDataSource *source) { m_link.setDataSource(source); }
    QString dataField() const { return m_link.fieldName(); }
    void setDataField(const QString &name) { m_link.setFieldName(name); }
    TField *field() const { return m_link.field(); }
    TDBFieldLink &dataLink() { return m_link; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    // Shows `text` as if the user had typed it: the dataset goes into edit and the text is
    // pending until written back. False when the dataset refuses the edit.
    bool enterAsTyped(const QString &text);

private:
    void dataChange();
    bool userEdited();
    void showStoredKeepingTyped();

    TDBFieldLink m_link;
    bool m_loading = false;
};
