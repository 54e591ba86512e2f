// Fuzz target of the layout file ("tavorio.ini", which users may edit by hand): the input is
// the file's bytes. Every section is read as the layout store reads a window's section
// (placement, show command, integer keys). Then the file must keep its bytes when nothing
// is written, and a key written must read back as written while every other key keeps its
// value. A crash, a hang or a broken round trip is a fault.

#include "FuzzSupport.h"
#include "layout/DisplayMetrics.h"
#include "layout/IniDocument.h"
#include "layout/IniLayoutKeys.h"
#include "layout/PlacementKeys.h"

#include <QFile>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

const QString &iniFile()
{
    static const QString file = fuzz::scratchFile(QStringLiteral("tavorio.ini"));
    return file;
}

void writeFile(const QByteArray &bytes)
{
    QFile out(iniFile());
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
        std::abort();
}

// The section and key names as they stand in the text (the first few), to read them back.
std::vector<std::pair<QString, QString>> namesIn(const QByteArray &bytes)
{
    std::vector<std::pair<QString, QString>> names;
    QString section;
    for (const QByteArray &line : bytes.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith('[')) {
            const qsizetype close = trimmed.lastIndexOf(']');
            section = QString::fromUtf8((close > 0 ? trimmed.mid(1, close - 1) : trimmed.mid(1)).trimmed());
            names.emplace_back(section, QString());
        } else if (const qsizetype equals = line.indexOf('='); equals > 0) {
            names.emplace_back(section, QString::fromUtf8(line.left(equals).trimmed()));
        }
        if (names.size() >= 12)
            break;
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (IniDocument(bytes).toBytes() != bytes)
        std::abort();

    writeFile(bytes);
    IniLayoutKeys keys(iniFile());
    const DisplayMetrics display{QSize(1280, 1024), 96};
    const auto names = namesIn(bytes);
    std::vector<std::optional<QString>> before;
    for (const auto &[section, key] : names) {
        if (key.isEmpty()) {
            placementkeys::readPosition(keys, section, WindowPlacement{}, display);
            placementkeys::readShowCommand(keys, section);
        } else {
            keys.readInteger(section, key, -1);
        }
        before.push_back(key.isEmpty() ? std::nullopt : keys.read(section, key));
    }

    // A value the program writes: numbers, a position text, or a text between quotes.
    const QString section = names.empty() ? QStringLiteral("Tfrm_main") : names.front().first;
    const QString written = QStringLiteral("'%1,-7'").arg(size);
    keys.write(section, QStringLiteral("NuovaChiave.Colonna"), written);
    if (keys.read(section, QStringLiteral("NuovaChiave.Colonna")) != written)
        std::abort();
    for (size_t i = 0; i < names.size(); ++i) {
        const auto &[name, key] = names[i];
        if (!key.isEmpty() && key.compare(QLatin1String("NuovaChiave.Colonna"), Qt::CaseInsensitive) != 0
            && keys.read(name, key) != before[i])
            std::abort();
    }
    keys.eraseSection(section);
    if (keys.read(section, QStringLiteral("NuovaChiave.Colonna")))
        std::abort();
    return 0;
}
