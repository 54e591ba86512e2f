#include "layout/IniDocument.h"

namespace {

std::optional<QString> sectionNameOf(const QByteArray &line)
{
    const QByteArray trimmed = line.trimmed();
    if (!trimmed.startsWith('['))
        return std::nullopt;
    const qsizetype close = trimmed.lastIndexOf(']');
    const QByteArray name = close > 0 ? trimmed.mid(1, close - 1) : trimmed.mid(1);
    return QString::fromUtf8(name.trimmed());
}

std::optional<QString> keyOf(const QByteArray &line)
{
    const qsizetype equals = line.indexOf('=');
    if (equals < 0)
        return std::nullopt;
    const QByteArray key = line.left(equals).trimmed();
    if (key.startsWith(';'))
        return std::nullopt;
    return QString::fromUtf8(key);
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The reader takes one pair of quotes off, so a quoted value survives only if the writer
// quoted it once more.
QString unquoted(QByteArray value)
{
    value = value.trimmed();
    if (value.size() >= 2 && value.front() == value.back() && (value.front() == '"' || value.front() == '\''))
        value = value.mid(1, value.size() - 2);
    return QString::fromUtf8(value);
}

bool isBlank(const QByteArray &line) { return line.trimmed().isEmpty(); }

} // namespace

IniDocument::IniDocument(const QByteArray &text)
{
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype newline = text.indexOf('\n', start);
        if (newline < 0) {
            m_lines.push_back({text.mid(start), {}});
            break;
        }
        const bool crlf = newline > start && text.at(newline - 1) == '\r';
        const qsizetype textEnd = crlf ? newline - 1 : newline;
        m_lines.push_back({text.mid(start, textEnd - start), crlf ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n")});
        start = newline + 1;
    }
    // New lines follow the file's own convention; a new file gets this platform's.
    m_newLineEnd = QByteArrayLiteral("\n");
    for (const Line &line : m_lines) {
        if (!line.end.isEmpty()) {
            m_newLineEnd = line.end;
            break;
        }
    }
}

std::optional<IniDocument::Range> IniDocument::findSection(const QString &section, size_t from) const
{
    for (size_t i = from; i < m_lines.size(); ++i) {
        const auto name = sectionNameOf(m_lines[i].text);
        if (!name || !sameName(*name, section))
            continue;
        size_t end = i + 1;
        while (end < m_lines.size() && !sectionNameOf(m_lines[end].text))
            ++end;
        return Range{i, end};
    }
    return std::nullopt;
}

std::optional<size_t> IniDocument::findKey(const Range &range, const QString &key) const
{
    for (size_t i = range.header + 1; i < range.end; ++i) {
        const auto name = keyOf(m_lines[i].text);
        if (name && sameName(*name, key))
            return i;
    }
    return std::nullopt;
}

std::optional<QString> IniDocument::value(const QString &section, const QString &key) const
{
    const auto range = findSection(section);
    if (!range)
        return std::nullopt;
    const auto line = findKey(*range, key);
    if (!line)
        return std::nullopt;
    const QByteArray &text = m_lines[*line].text;
    return unquoted(text.mid(text.indexOf('=') + 1));
}

void IniDocument::insertLine(size_t at, const QByteArray &text)
{
    // The line before may be the file's last one, still without its line end.
    if (at > 0 && m_lines[at - 1].end.isEmpty())
        m_lines[at - 1].end = m_newLineEnd;
    m_lines.insert(m_lines.begin() + qsizetype(at), Line{text, m_newLineEnd});
}

void IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    const auto range = findSection(section);
    if (!range) {
        if (!m_lines.empty() && !isBlank(m_lines.back().text))
            insertLine(m_lines.size(), {});
        insertLine(m_lines.size(), '[' + section.toUtf8() + ']');
        insertLine(m_lines.size(), key.toUtf8() + '=' + value.toUtf8());
        return;
    }
    if (const auto line = findKey(*range, key)) {
        // The key keeps its spelling in the file.
        QByteArray &text = m_lines[*line].text;
        text = text.left(text.indexOf('=')).trimmed() + '=' + value.toUtf8();
        return;
    }
    // After the section's last non-blank line, so that blank separators stay between sections.
    size_t at = range->end;
    while (at > range->header + 1 && isBlank(m_lines[at - 1].text))
        --at;
    insertLine(at, key.toUtf8() + '=' + value.toUtf8());
}

bool IniDocument::removeSection(const QString &section)
{
    bool removed = false;
    while (const auto range = findSection(section)) {
        m_lines.erase(m_lines.begin() + qsizetype(range->header), m_lines.begin() + qsizetype(range->end));
        removed = true;
    }
    return removed;
}

QByteArray IniDocument::toBytes() const
{
    QByteArray bytes;
    for (const Line &line : m_lines)
        bytes += line.text + line.end;
    return bytes;
}
