#pragma once
// The field kinds the archive uses.

#include "db/TField.h"
#include "db/TFieldDef.h"

class TStringField : public TField {
public:
    TStringField(TDataSet *ds, const QString &name, int size = 20, TFieldKind kind = TFieldKind::fkData)
        : TField(ds, name, TFieldType::ftString, size, kind) {}
};

class TIntegerField : public TField {
public:
    TIntegerField(TDataSet *ds, const QString &name, TFieldKind kind = TFieldKind::fkData,
                  TFieldType type = TFieldType::ftInteger);
    void setAsString(const QString &value) override;
    void setAsInteger(qint64 value) override;   // as setAsString of its digits, without reading them back
    QVariant asVariant() const override;
};

class TSmallintField : public TIntegerField {
public:
    TSmallintField(TDataSet *ds, const QString &name, TFieldKind kind = TFieldKind::fkData)
        : TIntegerField(ds, name, kind, TFieldType::ftSmallint) {}
};

class TAutoIncField : public TIntegerField {
public:
    TAutoIncField(TDataSet *ds, const QString &name) : TIntegerField(ds, name, TFieldKind::fkData, TFieldType::ftAutoInc) {}
};

class TFloatField : public TField {
public:
    TFloatField(TDataSet *ds, const QString &name, TFieldKind kind = TFieldKind::fkData,
                TFieldType type = TFieldType::ftFloat);
    void setAsString(const QString &value) override;
    qint64 asInteger() const override;   // rounded
    QVariant asVariant() const override;
    QString displayText() const override;
};

class TCurrencyField : public TFloatField {
public:
    TCurrencyField(TDataSet *ds, const QString &name) : TFloatField(ds, name, TFieldKind::fkData, TFieldType::ftCurrency) {}
};

class TBooleanField : public TField {
public:
    TBooleanField(TDataSet *ds, const QString &name, TFieldKind kind = TFieldKind::fkData);
    QString asString() const override;
    void setAsString(const QString &value) override;
    QVariant asVariant() const override;
};

// Date, time and date-time fields: the value text is "days milliseconds"; display in the
// Italian short formats (dd/MM/yyyy, hh:mm:ss).
class TDateTimeField : public TField {
public:
    TDateTimeField(TDataSet *ds, const QString &name, TFieldKind kind = TFieldKind::fkData,
                   TFieldType type = TFieldType::ftDateTime);
    QString asString() const override;
    void setAsString(const QString &value) override;
    QDateTime asDateTime() const override;
    void setAsDateTime(const QDateTime &value) override;   // keeps the part the kind holds
    QVariant asVariant() const override;
    QString displayText() const override;
    QString text() const override;
    void setText(const QString &text) override;
};

class TDateField : public TDateTimeField {
public:
    TDateField(TDataSet *ds, const QString &name, TFieldKind kind = TFieldKind::fkData)
        : TDateTimeField(ds, name, kind, TFieldType::ftDate) {}
};

class TTimeField : public TDateTimeField {
public:
    TTimeField(TDataSet *ds, const QString &name, TFieldKind kind = TFieldKind::fkData)
        : TDateTimeField(ds, name, kind, TFieldType::ftTime) {}
};

// Memo and binary fields: the content is read and written through the dataset's blob stream;
// the buffer holds only its length (in bytes, empty when none). After writing the content
// the field stores the new length as its value text, which marks the record modified.
class TBlobField : public TField {
public:
    TBlobField(TDataSet *ds, const QString &name, TFieldType type = TFieldType::ftBlob);
    QString asString() const override;            // the whole content
    void setAsString(const QString &value) override;
    QByteArray asBytes() const;
    void setAsBytes(const QByteArray &value);
    QString displayText() const override;         // "(MEMO)"/"(memo)", "(BLOB)"/"(blob)"
    QVariant asVariant() const override;
    void setAsVariant(const QVariant &value) override;
};

class TMemoField : public TBlobField {
public:
    TMemoField(TDataSet *ds, const QString &name) : TBlobField(ds, name, TFieldType::ftMemo) {}
};

class TBytesField : public TField {
public:
    TBytesField(TDataSet *ds, const QString &name, int size, TFieldType type = TFieldType::ftBytes)
        : TField(ds, name, type, size) {}
};

// A field object of the kind that suits the definition, owned by the dataset.
TField *createField(TDataSet *ds, const TFieldDef &def);
