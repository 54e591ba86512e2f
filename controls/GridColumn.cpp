#include "controls/GridColumn.h"

#include "controls/GridColumns.h"
#include "db/TField.h"

QString TColumnTitle::caption() const
{
    if (m_caption)
        return *m_caption;
    if (TField *field = m_column.field())
        return field->displayLabel();
    return m_column.fieldName();
}

void TColumnTitle::setCaption(const QString &caption)
{
    m_caption = caption;
    m_column.changed();
}

void TColumnTitle::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    m_column.changed();
}

QColor TColumnTitle::color() const
{
    return m_color ? *m_color : m_column.collection().owner().columnsFixedColor();
}

void TColumnTitle::setColor(const QColor &color)
{
    m_color = color;
    m_column.changed();
}

QFont TColumnTitle::font() const
{
    return m_font ? *m_font : m_column.collection().owner().columnsTitleFont();
}

void TColumnTitle::setFont(const QFont &font)
{
    m_font = font;
    m_column.changed();
}

TColumn::TColumn(TColumns &owner, const QString &fieldName)
    : m_owner(owner), m_fieldName(fieldName), m_title(*this)
{
}

int TColumn::index() const { return m_owner.indexOf(this); }

void TColumn::setIndex(int index) { m_owner.move(this->index(), index); }

void TColumn::setFieldName(const QString &name)
{
    m_fieldName = name;
    m_field = nullptr;
    m_defaultWidth.reset();
    m_owner.notifyChanged();
}

int TColumn::width() const
{
    if (m_width)
        return *m_width;
    if (!m_defaultWidth)
        m_defaultWidth = m_owner.owner().defaultColumnWidth(*this);
    return *m_defaultWidth;
}

void TColumn::setWidth(int width)
{
    if (m_width == width)
        return;
    m_width = width;
    m_owner.notifyChanged();
}

void TColumn::setVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
    m_owner.notifyChanged();
}

Qt::Alignment TColumn::alignment() const
{
    if (m_alignment)
        return *m_alignment;
    if (m_field)
        return m_field->alignment() & Qt::AlignHorizontal_Mask;
    return Qt::AlignLeft;
}

void TColumn::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    changed();
}

QColor TColumn::color() const { return m_color ? *m_color : m_owner.owner().columnsGridColor(); }

void TColumn::setColor(const QColor &color)
{
    m_color = color;
    changed();
}

QFont TColumn::font() const { return m_font ? *m_font : m_owner.owner().columnsFont(); }

void TColumn::setFont(const QFont &font)
{
    m_font = font;
    changed();
}

void TColumn::changed() { m_owner.owner().columnAppearanceChanged(*this); }
