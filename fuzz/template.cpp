// Fuzz target of the document templates (".docx", ".dotx", ".odt", ".ott"). The input is
// read as a whole template package and, since a mutated zip rarely gets past its checksums,
// also as the XML of a text part of either family. A placeholder is replaced as a card's
// field would be; the edited part must read back, with the placeholder gone and the text a
// reader sees changed exactly by the replacement, and an edited package must open again.
// An AutomationError is a fine answer; a crash, a hang or a broken document is a fault.

#include "FuzzSupport.h"
#include "output/word/AutomationError.h"
#include "output/word/DocumentPackage.h"
#include "output/word/StoryPart.h"
#include "output/word/ZipPackage.h"

#include <QRegularExpression>
#include <cstdint>
#include <cstdlib>

namespace {

const QString kPlaceholder = QStringLiteral("[Capofamiglia]");
const QString kValue = QStringLiteral("ROSSI MARIO & figli <2>");

void fillPart(const QString &entryName, word::Flavour flavour, const QByteArray &xml)
{
    word::StoryPart part(entryName, flavour, xml);
    const QString before = part.plainText();
    const QString expected = QString(before).replace(kPlaceholder, kValue);
    part.replace(kPlaceholder, kValue, Qt::CaseSensitive, true);
    const word::StoryPart again(entryName, flavour, part.toXml());
    // A text node the replacement touches is written as XML can hold it: control characters
    // a lenient reader let through are dropped (which may join a placeholder they split) and
    // a carriage return breaks the paragraph. Texts without them must come out exact.
    static const QRegularExpression controls(QStringLiteral("[\\x00-\\x08\\x0b-\\x1f\\x{fffe}\\x{ffff}]"));
    if (!before.contains(controls)
        && (again.count(kPlaceholder, Qt::CaseSensitive) != 0 || again.plainText() != expected))
        std::abort();
    // Line and paragraph breaks in a value (an address on two lines) must also leave a part that reads.
    part.replace(kValue, QStringLiteral("Via Roma 1\rScala B\tint. 3\vPiano 2"), Qt::CaseSensitive, true);
    const word::StoryPart broken(entryName, flavour, part.toXml());
}

void fillPackage(const QByteArray &bytes)
{
    word::DocumentPackage document =
        word::DocumentPackage::fromTemplate(word::ZipPackage::fromBytes(bytes, QStringLiteral("modello")),
                                            QStringLiteral("modello"));
    for (word::StoryPart &part : document.stories())
        part.replace(kPlaceholder, kValue, Qt::CaseSensitive, true);
    const QByteArray written = document.toBytes();
    try {
        word::DocumentPackage::fromTemplate(word::ZipPackage::fromBytes(written, QStringLiteral("documento")),
                                            QStringLiteral("documento"));
    } catch (const word::AutomationError &) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (bytes.startsWith("PK")) {
        fuzz::refusable<word::AutomationError>([&] { fillPackage(bytes); });
        return 0;
    }
    fuzz::refusable<word::AutomationError>([&] { fillPart(QStringLiteral("word/document.xml"), word::Flavour::OfficeOpenXml, bytes); });
    fuzz::refusable<word::AutomationError>([&] { fillPart(QStringLiteral("content.xml"), word::Flavour::OpenDocument, bytes); });
    return 0;
}
