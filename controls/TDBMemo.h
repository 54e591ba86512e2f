#pragma once
// A multi-line text bound to a memo field, with a vertical scroll bar. It puts the dataset
// into edit when the user changes the text and writes the text into the field when the
// focus leaves it or the dataset posts. Line breaks are stored as carriage return and line
// feed, the way the archive's memos hold them.

#include "controls/TDBFieldLink.h"

#include <QPlainTextEdit>

class TDataSource;

class TDBMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TDBMemo(QWidget *parent = nullptr);
    ~TDBMemo() override;

    TDataSource *dataSource() const { return m_link.dataSource(); }
    void setDataSource(TDataSource *source) { m_link.setDataSource(source); }
    QString dataField() const { return m_link.fieldName(); }
    void setDataField(const QString &name) { m_link.setFieldName(name); }
    TField *field() const { return m_link.field(); }

    // The text as the field would store it.
    QString storedText() const;
    // A stored text as the memo shows it: every line break becomes one new line.
    static QString shownText(const QString &stored);

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    void dataChange();
    void userEdited();
    void refuseChange();
    void showStoredKeepingTyped();

    TDBFieldLink m_link;
    bool m_loading = false;
};
