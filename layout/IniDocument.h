#pragma once
// The text of one ini file as lines of bytes, edited the way the platform's profile functions
// edit it: sections and keys are found case-insensitively (the first one counts), a changed
// key keeps its line, a new key goes at the end of its section and a new section at the end
// of the file. Lines nobody touches keep their bytes and line ends.

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

class IniDocument final {
public:
    explicit IniDocument(const QByteArray &text = {});

    // The trimmed value with one pair of matching quotes taken off; nothing when the key
    // or its section is missing.
    std::optional<QString> value(const QString &section, const QString &key) const;
    void setValue(const QString &section, const QString &key, const QString &value);
    // Every section of that name goes, header and lines; false when there was none.
    bool removeSection(const QString &section);

    QByteArray toBytes() const;

private:
    struct Line {
        QByteArray text;
        QByteArray end; // "\r\n", "\n" or empty for a last line without one
    };
    struct Range {
        size_t header;
        size_t end; // one past the section's last line
    };

    std::optional<Range> findSection(const QString &section, size_t from = 0) const;
    std::optional<size_t> findKey(const Range &range, const QString &key) const;
    void insertLine(size_t at, const QByteArray &text);

    std::vector<Line> m_lines;
    QByteArray m_newLineEnd;
};
