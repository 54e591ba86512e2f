#include "layout/PrivateProfile.h"

#include "layout/IniDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace privateprofile {

namespace {

// Nothing when the file exists but cannot be read: rewriting it from an empty text would
// lose every other key.
std::optional<IniDocument> load(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        if (in.exists())
            return std::nullopt;
        return IniDocument();
    }
    return IniDocument(in.readAll());
}

// A file its owner may not write is read-only, even for a privileged user who could write
// it anyway: the read-only mark must stop the program as it would elsewhere.
bool isReadOnly(const QString &file)
{
    const QFileInfo info(file);
    return info.exists() && !(info.permissions() & QFileDevice::WriteOwner);
}

bool store(const QString &file, const IniDocument &document)
{
    if (isReadOnly(file))
        return false;
    QSaveFile out(file);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = document.toBytes();
    if (out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return false;
    }
    return out.flush() && out.commit();
}

} // namespace

std::optional<QString> readKey(const QString &file, const QString &section, const QString &key)
{
    const auto document = load(file);
    return document ? document->value(section, key) : std::nullopt;
}

bool writeKey(const QString &file, const QString &section, const QString &key, const QString &value)
{
    auto document = load(file);
    if (!document)
        return false;
    document->setValue(section, key, value);
    return store(file, *document);
}

bool eraseSection(const QString &file, const QString &section)
{
    auto document = load(file);
    if (!document)
        return false;
    if (!document->removeSection(section))
        return true;
    return store(file, *document);
}

} // namespace privateprofile
