#pragma once
// The link a detail dataset keeps to its master's data source: it watches the master's
// fields named in the link and reports a change of master record or the link going away.

#include "db/TDataLink.h"

#include <QList>
#include <QStringList>
#include <functional>

class TMasterDataLink : public TDataLink {
public:
    explicit TMasterDataLink(TDataSet *detail) : m_detail(detail) {}

    // Master field names, separated by ";".
    QString fieldNames() const { return m_fieldNames; }
    void setFieldNames(const QString &names);
    const QList<TField *> &fields() const { return m_fields; }

    std::function<void()> OnMasterChange;
    std::function<void()> OnMasterDisable;

protected:
    void activeChanged() override;
    void checkBrowseMode() override;
    void layoutChanged() override;
    void recordChanged(TField *field) override;

private:
    void updateFields();
    TDataSet *m_detail;
    QString m_fieldNames;
    QList<TField *> m_fields;
};
