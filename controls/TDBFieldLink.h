#pragma once
// A control's link to one field of a data source. It tells the control when the value it
// shows may have changed, when editing starts or stops, and when the dataset wants the
// control's pending value written back (only when the control marked it modified).

#include "db/TDataLink.h"

#include <QString>
#include <functional>

class TField;

class TDBFieldLink final : public TDataLink {
public:
    TDBFieldLink() = default;

    const QString &fieldName() const { return m_fieldName; }
    void setFieldName(const QString &name);
    // The bound field while the link is active and the dataset has it; null otherwise.
    TField *field() const { return m_field; }

    // Whether the user may change the value: a writable field of a modifiable dataset.
    bool canModify() const;
    // Puts the dataset into edit for a change the user is about to make; true when editing.
    bool edit();
    // The control holds a value not yet written to the field.
    void modified() { m_modified = true; }
    bool isModified() const { return m_modified; }
    // Drops the control's pending value and shows the field's again.
    void reset();
    // The user has just changed the control: the dataset goes into edit (its re-read of the
    // record does not overwrite the control) and the value is pending. False, with nothing
    // pending, when the dataset refuses the edit.
    bool userChanged();

    std::function<void()> OnDataChange;     // show the field's value
    std::function<void()> OnEditingChange;  // editing started or stopped
    std::function<void()> OnUpdateData;     // write the pending value into field()

protected:
    void activeChanged() override;
    void layoutChanged() override;
    void recordChanged(TField *field) override;
    void editingChanged() override;
    void updateData() override;

private:
    void resolveField();
    static void call(const std::function<void()> &handler);

    QString m_fieldName;
    TField *m_field = nullptr;
    bool m_modified = false;
    bool m_enteringEdit = false;
};
