#include "output/report/print/PdfObjects.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

bool isSpace(char c)
{
    return c == 0 || c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}

bool isDelimiter(char c)
{
    return std::strchr("()<>[]{}/%", c) != nullptr && c != 0;
}

bool isRegular(char c)
{
    return !isSpace(c) && !isDelimiter(c);
}

bool isInteger(const QByteArray &file, const PdfToken &t)
{
    if (t.kind != PdfToken::Number)
        return false;
    for (qsizetype i = t.begin; i < t.end; ++i)
        if (file[i] < '0' || file[i] > '9')
            return false;
    return true;
}

// Reads tokens from `pos` up to one of the keywords that end a stretch of objects' text
// ("stream", "endobj", "startxref"), which `stop` is left on. False on anything malformed or
// unexpected: unbalanced brackets, an unterminated string, an unknown keyword.
bool lex(const QByteArray &f, qsizetype pos, QList<PdfToken> &tokens, qsizetype &stop)
{
    const qsizetype size = f.size();
    int depth = 0;
    while (true) {
        while (pos < size && isSpace(f[pos]))
            ++pos;
        if (pos >= size)
            return false;
        const qsizetype begin = pos;
        const char c = f[pos];
        if (c == '%') {
            while (pos < size && f[pos] != '\n' && f[pos] != '\r')
                ++pos;
            continue;
        }
        if (c == '(') {
            int nested = 1;
            for (++pos; nested > 0; ++pos) {
                if (pos >= size)
                    return false;
                if (f[pos] == '\\')
                    ++pos;
                else if (f[pos] == '(')
                    ++nested;
                else if (f[pos] == ')')
                    --nested;
            }
            tokens.push_back({PdfToken::Text, begin, pos});
        } else if (c == '<' && pos + 1 < size && f[pos + 1] == '<') {
            pos += 2;
            ++depth;
            tokens.push_back({PdfToken::Open, begin, pos});
        } else if (c == '<') {
            pos = f.indexOf('>', pos);
            if (pos < 0)
                return false;
            ++pos;
            tokens.push_back({PdfToken::Text, begin, pos});
        } else if (c == '>' || c == ']') {
            pos += c == '>' ? 2 : 1;
            if ((c == '>' && (pos > size || f[pos - 1] != '>')) || --depth < 0)
                return false;
            tokens.push_back({PdfToken::Close, begin, pos});
        } else if (c == '[') {
            ++pos;
            ++depth;
            tokens.push_back({PdfToken::Open, begin, pos});
        } else if (c == '/') {
            for (++pos; pos < size && isRegular(f[pos]); ++pos) {}
            tokens.push_back({PdfToken::Name, begin, pos});
        } else if (isRegular(c)) {
            for (; pos < size && isRegular(f[pos]); ++pos) {}
            const QByteArray word = f.mid(begin, pos - begin);
            if (word.front() == '-' || word.front() == '+' || word.front() == '.' || (word.front() >= '0' && word.front() <= '9')) {
                if (!std::all_of(word.begin(), word.end(), [](char d) { return std::strchr("0123456789.+-", d); }))
                    return false;
                tokens.push_back({PdfToken::Number, begin, pos});
            } else if (word == "stream" || word == "endobj" || word == "startxref") {
                stop = begin;
                return depth == 0;
            } else if (word == "R" || word == "true" || word == "false" || word == "null") {
                tokens.push_back({PdfToken::Word, begin, pos});
            } else {
                return false;
            }
        } else {
            return false;   // braces: PostScript calculators are not written here
        }
    }
}

// Skips "keyword" and the blanks before it; -1 when it is not there.
qsizetype expect(const QByteArray &f, qsizetype pos, const char *keyword)
{
    while (pos < f.size() && isSpace(f[pos]))
        ++pos;
    const qsizetype n = qsizetype(std::strlen(keyword));
    return f.mid(pos, n) == keyword ? pos + n : -1;
}

// Reads an unsigned integer after blanks; -1 when there is none.
qint64 readInteger(const QByteArray &f, qsizetype &pos)
{
    while (pos < f.size() && isSpace(f[pos]))
        ++pos;
    const qsizetype begin = pos;
    qint64 value = 0;
    for (; pos < f.size() && f[pos] >= '0' && f[pos] <= '9' && pos - begin < 12; ++pos)
        value = value * 10 + (f[pos] - '0');
    return pos == begin || (pos < f.size() && isRegular(f[pos])) ? -1 : value;
}

// The index after the value that starts at token `i`.
qsizetype valueEnd(const QByteArray &f, const QList<PdfToken> &tokens, qsizetype i)
{
    if (tokens[i].kind == PdfToken::Open) {
        int depth = 0;
        for (; i < tokens.size(); ++i) {
            depth += tokens[i].kind == PdfToken::Open ? 1 : tokens[i].kind == PdfToken::Close ? -1 : 0;
            if (depth == 0)
                return i + 1;
        }
        return tokens.size();
    }
    if (i + 2 < tokens.size() && isInteger(f, tokens[i]) && isInteger(f, tokens[i + 1]) && tokens[i + 2].kind == PdfToken::Word
        && f.mid(tokens[i + 2].begin, 1) == "R")
        return i + 3;
    return i + 1;
}

bool isDictionary(const QByteArray &f, const QList<PdfToken> &tokens)
{
    return !tokens.isEmpty() && tokens.front().kind == PdfToken::Open && f[tokens.front().begin] == '<'
           && valueEnd(f, tokens, 0) == tokens.size();
}

// Calls `visit(key, first, last)` for each entry of the outermost dictionary.
template <typename Visit>
void forEachEntry(const QByteArray &f, const QList<PdfToken> &tokens, Visit visit)
{
    if (!isDictionary(f, tokens))
        return;
    for (qsizetype i = 1; i + 1 < tokens.size() && tokens[i].kind == PdfToken::Name;) {
        const qsizetype last = valueEnd(f, tokens, i + 1);
        if (visit(f.mid(tokens[i].begin + 1, tokens[i].end - tokens[i].begin - 1), i + 1, last))
            return;
        i = last;
    }
}

} // namespace

std::optional<std::pair<qsizetype, qsizetype>> PdfObject::entry(const QByteArray &file, const char *key) const
{
    std::optional<std::pair<qsizetype, qsizetype>> found;
    forEachEntry(file, tokens, [&](const QByteArray &name, qsizetype first, qsizetype last) {
        if (name == key)
            found = std::pair(first, last);
        return found.has_value();
    });
    return found;
}

QList<QByteArray> PdfObject::keys(const QByteArray &file) const
{
    QList<QByteArray> names;
    forEachEntry(file, tokens, [&](const QByteArray &name, qsizetype, qsizetype) {
        names.push_back(name);
        return false;
    });
    return names;
}

bool PdfObjects::read(const QByteArray &file)
{
    m_file = file;
    m_offsets.clear();
    m_objects.clear();
    m_root = m_info = 0;
    if (!m_file.startsWith("%PDF-1."))
        return false;
    const qsizetype start = m_file.lastIndexOf("startxref");
    if (start < 0 || m_file.size() - start > 64)
        return false;
    qsizetype pos = start + 9;
    const qint64 xref = readInteger(m_file, pos);
    if (xref <= 0 || xref >= start || expect(m_file, pos, "%%EOF") < 0 || !readTrailer(xref))
        return false;
    for (auto it = m_offsets.cbegin(); it != m_offsets.cend(); ++it)
        if (!readObject(it.key(), it.value()))
            return false;
    // Lengths may be objects written after their streams: the streams are measured once all
    // are read.
    for (PdfObject &object : m_objects) {
        if (!object.stream)
            continue;
        const std::optional<qint64> length = lengthOf(object);
        if (!length || *length < 0 || object.stream->second + *length > m_file.size())
            return false;
        qsizetype tail = object.stream->second + *length;
        object.stream->second = tail;
        if (tail < m_file.size() && m_file[tail] == '\r')
            ++tail;
        if (tail < m_file.size() && m_file[tail] == '\n')
            ++tail;
        tail = expect(m_file, tail, "endstream");
        tail = tail < 0 ? -1 : expect(m_file, tail, "endobj");
        if (tail < 0)
            return false;
        object.end = tail;
    }
    return m_objects.contains(m_root) && (m_info == 0 || m_objects.contains(m_info));
}

bool PdfObjects::readTrailer(qsizetype xref)
{
    qsizetype pos = expect(m_file, xref, "xref");
    if (pos < 0 || readInteger(m_file, pos) != 0)
        return false;
    const qint64 count = readInteger(m_file, pos);
    pos = expect(m_file, pos, "0000000000");   // the head of the free list
    if (count <= 1 || pos < 0 || (pos += 10) + (count - 1) * 20 > m_file.size())
        return false;
    for (int number = 1; number < count; ++number, pos += 20) {
        const QByteArray line = m_file.mid(pos, 20);
        qsizetype at = 0;
        const qint64 offset = readInteger(line, at);
        if (offset <= 0 || offset >= xref || line.mid(10, 9) != " 00000 n " || !isSpace(line[19]))
            return false;
        m_offsets.insert(number, offset);
    }
    pos = expect(m_file, pos, "trailer");
    QList<PdfToken> tokens;
    qsizetype stop = 0;
    if (pos < 0 || !lex(m_file, pos, tokens, stop) || m_file.mid(stop, 9) != "startxref")
        return false;
    bool known = isDictionary(m_file, tokens);
    PdfObject trailer;
    trailer.tokens = tokens;
    forEachEntry(m_file, tokens, [&](const QByteArray &key, qsizetype, qsizetype) {
        known = known && (key == "Size" || key == "Root" || key == "Info");
        return false;
    });
    m_root = referenceOf(trailer, "Root");
    if (trailer.entry(m_file, "Info"))
        m_info = referenceOf(trailer, "Info");
    return known && m_root > 0 && (m_info > 0 || !trailer.entry(m_file, "Info"));
}

bool PdfObjects::readObject(int number, qsizetype offset)
{
    qsizetype pos = offset;
    if (readInteger(m_file, pos) != number || readInteger(m_file, pos) != 0)
        return false;
    pos = expect(m_file, pos, "obj");
    if (pos < 0)
        return false;
    PdfObject object;
    object.number = number;
    object.begin = offset;
    object.bodyBegin = pos;
    qsizetype stop = 0;
    if (!lex(m_file, pos, object.tokens, stop) || object.tokens.isEmpty())
        return false;
    object.bodyEnd = stop;
    if (m_file.mid(stop, 6) == "endobj") {
        object.end = stop + 6;
    } else if (m_file.mid(stop, 6) == "stream" && isDictionary(m_file, object.tokens)) {
        qsizetype data = stop + 6;
        if (m_file.mid(data, 2) == "\r\n")
            data += 2;
        else if (m_file.mid(data, 1) == "\n")
            data += 1;
        else
            return false;
        object.stream = std::pair(stop, data);
    } else {
        return false;
    }
    m_objects.insert(number, std::move(object));
    return true;
}

std::optional<qint64> PdfObjects::lengthOf(const PdfObject &object) const
{
    const auto value = object.entry(m_file, "Length");
    if (!value)
        return std::nullopt;
    const PdfObject *holder = &object;
    qsizetype index = value->first;
    if (value->second - value->first == 3) {
        const auto found = m_objects.constFind(referenceAt(object, index));
        if (found == m_objects.cend() || found->stream || found->tokens.size() != 1)
            return std::nullopt;
        holder = &*found;
        index = 0;
    } else if (value->second - value->first != 1) {
        return std::nullopt;
    }
    const PdfToken &t = holder->tokens[index];
    if (!isInteger(m_file, t))
        return std::nullopt;
    return text(t).toLongLong();
}

QByteArray PdfObjects::header() const
{
    qsizetype first = m_file.size();
    for (const PdfObject &object : m_objects)
        first = std::min(first, object.begin);
    return m_file.left(first);
}

QList<int> PdfObjects::inFileOrder() const
{
    std::vector<std::pair<qsizetype, int>> placed;
    placed.reserve(size_t(m_objects.size()));
    for (const PdfObject &object : m_objects)
        placed.emplace_back(object.begin, object.number);
    std::sort(placed.begin(), placed.end());
    QList<int> numbers;
    numbers.reserve(qsizetype(placed.size()));
    for (const auto &[offset, number] : placed)
        numbers.push_back(number);
    return numbers;
}

int PdfObjects::referenceAt(const PdfObject &object, qsizetype i) const
{
    const QList<PdfToken> &t = object.tokens;
    if (valueEnd(m_file, t, i) != i + 3 || t[i].kind != PdfToken::Number)
        return 0;
    return text(t[i + 1]) == "0" ? text(t[i]).toInt() : -1;
}

QByteArray PdfObjects::nameOf(const PdfObject &object, const char *key) const
{
    const auto value = object.entry(m_file, key);
    if (!value || value->second - value->first != 1 || object.tokens[value->first].kind != PdfToken::Name)
        return {};
    return text(object.tokens[value->first]).mid(1);
}

int PdfObjects::referenceOf(const PdfObject &object, const char *key) const
{
    const auto value = object.entry(m_file, key);
    return value && value->second - value->first == 3 ? referenceAt(object, value->first) : 0;
}
