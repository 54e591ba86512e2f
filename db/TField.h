#pragma once
// A field object: one column of a dataset as controls and code see it. It reads and writes
// its value as value text in the dataset's active record buffer and converts it to and
// from the typed views (string, integer, float, Boolean, date-time, variant). Subclasses
// decide the conversions and the display of each field kind.

#include "db/DbTypes.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

class TDataSet;

class TField : public QObject {
    Q_OBJECT
public:
    // A field object belongs to its dataset (the dataset deletes it) and joins its list.
    TField(TDataSet *dataSet, const QString &fieldName, TFieldType type, int size = 0,
           TFieldKind kind = TFieldKind::fkData);
    ~TField() override;

    TDataSet *dataSet() const { return m_dataSet; }
    const QString &fieldName() const { return m_fieldName; }
    TFieldType dataType() const { return m_dataType; }
    TFieldKind fieldKind() const { return m_kind; }
    bool isCalculated() const { return m_kind != TFieldKind::fkData; }
    int size() const { return m_size; }
    void setSize(int size) { m_size = size; }
    int fieldNo() const { return m_fieldNo; }   // 1-based definition position; 0 when unbound
    int index() const;                          // position in the dataset's field list

    QString displayLabel() const { return m_displayLabel.isEmpty() ? m_fieldName : m_displayLabel; }
    void setDisplayLabel(const QString &label);
    int displayWidth() const;                   // in characters
    void setDisplayWidth(int width);
    bool visible() const { return m_visible; }
    void setVisible(bool visible);
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool required() const { return m_required; }
    void setRequired(bool required) { m_required = required; }
    Qt::Alignment alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment a) { m_alignment = a; }
    const QString &defaultExpression() const { return m_defaultExpression; }
    void setDefaultExpression(const QString &e) { m_defaultExpression = e; }
    bool canModify() const;
    bool isBlob() const { return m_dataType == TFieldType::ftBlob || m_dataType == TFieldType::ftMemo; }

    // The value text in the active record (empty for null).
    QString valueText() const;
    void setValueText(const QString &text);

    bool isNull() const;
    void clear() { setValueText(QString()); }
    virtual QString asString() const;
    virtual void setAsString(const QString &value);
    virtual qint64 asInteger() const;
    virtual void setAsInteger(qint64 value);
    virtual double asFloat() const;
    virtual void setAsFloat(double value);
    virtual bool asBoolean() const;
    virtual void setAsBoolean(bool value);
    virtual QDateTime asDateTime() const;
    virtual void setAsDateTime(const QDateTime &value);
    // Null is an invalid QVariant.
    virtual QVariant asVariant() const;
    virtual void setAsVariant(const QVariant &value);

    // The text shown in a control when not editing, and the text offered for editing.
    virtual QString displayText() const;
    virtual QString text() const;
    virtual void setText(const QString &text);

    // Optional text hooks, as controls expect them.
    std::function<void(TField &, QString &, bool displayText)> OnGetText;
    std::function<void(TField &, const QString &)> OnSetText;
    std::function<void(TField &)> OnChange;
    std::function<void(TField &)> OnValidate;

    // Called by the dataset when it binds and unbinds its field objects.
    void bind(int fieldNo, int calculatedSlot);
    void unbind();
    int calculatedSlot() const { return m_calculatedSlot; }

    // Value text conversions shared by every field kind (Booleans, dates and numbers).
    static QString boolText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }
    static std::optional<bool> parseBool(QString text);
    static QString dateTimeText(const QDateTime &value);        // "days milliseconds"
    // The stored wall-clock time as a UTC date-time (date() and time() as stored); invalid on error.
    static QDateTime parseDateTimeText(const QString &text);
    // The same without building a date-time: calendar date and milliseconds since midnight.
    static bool parseDateTimeParts(const QString &text, QDate &date, int &msecs);

protected:
    [[noreturn]] void conversionError(const QString &typeName) const;
    virtual int defaultDisplayWidth() const;
    // What OnGetText makes of the field; call only when the hook is set.
    QString hookedText(bool displayText) const;
    // Tells the dataset's controls that a property they show has changed.
    void layoutChanged();

private:
    TDataSet *m_dataSet;
    QString m_fieldName;
    TFieldType m_dataType;
    int m_size;
    TFieldKind m_kind;
    int m_fieldNo = 0;
    int m_calculatedSlot = -1;
    QString m_displayLabel;
    int m_displayWidth = 0;    // 0: the kind's default
    bool m_visible = true;
    bool m_readOnly = false;
    bool m_required = false;
    Qt::Alignment m_alignment = Qt::AlignLeft;
    QString m_defaultExpression;
};
