#include "controls/TDBCheckBox.h"

#include "db/TField.h"

TDBCheckBox::TDBCheckBox(QWidget *parent) : QCheckBox(parent)
{
    m_link.OnDataChange = [this] { dataChange(); };
    m_link.OnUpdateData = [this] { m_link.field()->setAsBoolean(isChecked()); };
}

TDBCheckBox::~TDBCheckBox()
{
    m_link.OnDataChange = nullptr;
    m_link.setDataSource(nullptr);
}

void TDBCheckBox::dataChange()
{
    const TField *field = m_link.field();
    setChecked(field && !field->isNull() && field->asBoolean());
}

void TDBCheckBox::nextCheckState()
{
    const bool checked = !isChecked();
    if (!m_link.edit())
        return;
    setChecked(checked);
    m_link.modified();
    m_link.updateRecord();
}
