#pragma once
// The objects of a PDF file as Qt's PDF writer writes it: one classic cross-reference table,
// every object of generation 0, dictionaries written out in plain text, stream bytes
// delimited by their /Length (a number or a reference to one). Anything else (object
// streams, incremental updates, encryption, broken offsets) is refused, so that whoever
// rewrites the objects never works on a file it only half understands.

#include <QByteArray>
#include <QList>
#include <QMap>
#include <optional>
#include <utility>

struct PdfToken {
    enum Kind { Number, Name, Text, Open, Close, Word };
    Kind kind;
    qsizetype begin;              // offsets into the file
    qsizetype end;
};

// One indirect object: its text before any stream, tokenized, and its stream bytes.
struct PdfObject {
    int number = 0;
    qsizetype begin = 0;          // "N 0 obj"
    qsizetype bodyBegin = 0;      // just after "obj"
    qsizetype bodyEnd = 0;        // before "stream" or "endobj"
    qsizetype end = 0;            // just after "endobj"
    std::optional<std::pair<qsizetype, qsizetype>> stream;   // from "stream" to the end of its bytes
    QList<PdfToken> tokens;       // of the body

    // The value of a key of the outermost dictionary: its tokens' indexes [first, last).
    std::optional<std::pair<qsizetype, qsizetype>> entry(const QByteArray &file, const char *key) const;
    // The keys of the outermost dictionary (empty when the object is no dictionary).
    QList<QByteArray> keys(const QByteArray &file) const;
};

class PdfObjects final {
public:
    // False when the file is not one this reader understands.
    bool read(const QByteArray &file);

    const QByteArray &file() const { return m_file; }
    QByteArray header() const;                    // the lines before the first object
    const QMap<int, PdfObject> &objects() const { return m_objects; }   // by number
    // One of the objects that objects() holds.
    const PdfObject &object(int number) const { return *m_objects.constFind(number); }
    QList<int> inFileOrder() const;
    int root() const { return m_root; }
    int info() const { return m_info; }           // 0: none

    QByteArray text(const PdfToken &token) const { return m_file.mid(token.begin, token.end - token.begin); }
    // The object number a reference starting at token `i` names, or 0 when none starts there.
    int referenceAt(const PdfObject &object, qsizetype i) const;
    // A name token's text without its slash ("Page"), empty for any other value.
    QByteArray nameOf(const PdfObject &object, const char *key) const;
    // The one reference a key holds, 0 when it holds anything else.
    int referenceOf(const PdfObject &object, const char *key) const;

private:
    bool readTrailer(qsizetype xref);
    bool readObject(int number, qsizetype offset);
    std::optional<qint64> lengthOf(const PdfObject &object) const;

    QByteArray m_file;
    QMap<int, qsizetype> m_offsets;
    QMap<int, PdfObject> m_objects;
    int m_root = 0;
    int m_info = 0;
};
