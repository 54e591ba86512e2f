#pragma once
// One column of a data grid: the field it shows, its width, alignment, colours, title and
// pick list. Unset properties take their value from the field or the grid, as the standard
// grid does, so a column only stores what the form changed.

#include "db/TField.h"

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <optional>

class TColumns;

class TColumnTitle final {
public:
    explicit TColumnTitle(class TColumn &column) : m_column(column) {}

    QString caption() const;   // default: the field's display label, else the field name
    void setCaption(const QString &caption);
    Qt::Alignment alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment alignment);
    QColor color() const;      // default: the grid's fixed colour
    void setColor(const QColor &color);
    QFont font() const;        // default: the grid's title font
    void setFont(const QFont &font);

private:
    TColumn &m_column;
    std::optional<QString> m_caption;
    Qt::Alignment m_alignment = Qt::AlignLeft;
    std::optional<QColor> m_color;
    std::optional<QFont> m_font;
};

class TColumn final {
public:
    TColumn(TColumns &owner, const QString &fieldName);
    TColumn(const TColumn &) = delete;
    TColumn &operator=(const TColumn &) = delete;

    TColumns &collection() const { return m_owner; }
    int index() const;                 // position in the collection, from 0
    void setIndex(int index);          // moves the column

    const QString &fieldName() const { return m_fieldName; }
    void setFieldName(const QString &name);
    TField *field() const { return m_field; }
    void setField(TField *field) { m_field = field; }

    int width() const;                 // pixels; default from the field's display width
    void setWidth(int width);
    bool widthAssigned() const { return m_width.has_value(); }
    bool visible() const { return m_visible; }
    void setVisible(bool visible);
    Qt::Alignment alignment() const;   // default: the field's alignment
    void setAlignment(Qt::Alignment alignment);
    QColor color() const;              // default: the grid's colour
    void setColor(const QColor &color);
    QFont font() const;                // default: the grid's font
    void setFont(const QFont &font);
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

    TColumnTitle &title() { return m_title; }
    const TColumnTitle &title() const { return m_title; }

    const QStringList &pickList() const { return m_pickList; }
    QStringList &pickList() { return m_pickList; }   // filled in place by the forms
    void setPickList(const QStringList &list) { m_pickList = list; }
    int dropDownRows() const { return m_dropDownRows; }
    void setDropDownRows(int rows) { m_dropDownRows = rows; }

    void forgetDefaultWidth() { m_defaultWidth.reset(); }
    void changed();

private:
    TColumns &m_owner;
    QString m_fieldName;
    QPointer<TField> m_field;
    std::optional<int> m_width;
    mutable std::optional<int> m_defaultWidth;
    bool m_visible = true;
    bool m_readOnly = false;
    std::optional<Qt::Alignment> m_alignment;
    std::optional<QColor> m_color;
    std::optional<QFont> m_font;
    TColumnTitle m_title;
    QStringList m_pickList;
    int m_dropDownRows = 7;
};
