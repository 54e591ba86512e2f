#include "output/word/ZipPackage.h"

#include "output/word/AutomationError.h"
#include "platform/OutputFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <zip.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace word {

namespace {

struct ZipCloser {
    void operator()(zip_t *archive) const { zip_discard(archive); }
};
struct ZipFileCloser {
    void operator()(zip_file_t *file) const { zip_fclose(file); }
};
using ZipHandle = std::unique_ptr<zip_t, ZipCloser>;
using ZipFileHandle = std::unique_ptr<zip_file_t, ZipFileCloser>;

AutomationError damaged(const QString &name, const QString &reason)
{
    return AutomationError(QStringLiteral("Il modello \"%1\" non è un documento leggibile: %2.").arg(name, reason));
}

QString zipErrorText(zip_error_t *error)
{
    return QString::fromLocal8Bit(zip_error_strerror(error));
}

// Reads one entry, never more than its declared size: a header that understates what the
// data inflates to is caught here instead of filling the memory.
QByteArray readEntry(zip_t *archive, zip_uint64_t index, qint64 declared, const QString &name)
{
    ZipFileHandle file(zip_fopen_index(archive, index, 0));
    if (!file)
        throw damaged(name, zipErrorText(zip_get_error(archive)));
    QByteArray data;
    data.resize(declared);
    qint64 done = 0;
    while (done < declared) {
        const zip_int64_t got = zip_fread(file.get(), data.data() + done, zip_uint64_t(declared - done));
        if (got < 0)
            throw damaged(name, zipErrorText(zip_file_get_error(file.get())));
        if (got == 0)
            break;
        done += got;
    }
    char extra = 0;
    if (done != declared || zip_fread(file.get(), &extra, 1) != 0)
        throw damaged(name, QStringLiteral("dimensione di una parte diversa da quella dichiarata"));
    return data;
}

} // namespace

ZipPackage ZipPackage::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AutomationError(QStringLiteral("Impossibile aprire il modello \"%1\": %2.").arg(path, file.errorString()));
    if (file.size() > kMaxTotalSize)
        throw damaged(path, QStringLiteral("file troppo grande"));
    return fromBytes(file.readAll(), path);
}

ZipPackage ZipPackage::fromBytes(const QByteArray &bytes, const QString &nameForErrors)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
    if (!source)
        throw damaged(nameForErrors, zipErrorText(&error));
    ZipHandle archive(zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error));
    if (!archive) {
        zip_source_free(source);
        const QString reason = zipErrorText(&error);
        zip_error_fini(&error);
        throw damaged(nameForErrors, reason);
    }
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    if (count <= 0 || count > kMaxEntries)
        throw damaged(nameForErrors, QStringLiteral("numero di parti non valido (%1)").arg(count));

    ZipPackage package;
    qint64 total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive.get(), zip_uint64_t(i), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME)
            || !(stat.valid & ZIP_STAT_SIZE))
            throw damaged(nameForErrors, zipErrorText(zip_get_error(archive.get())));
        const qint64 size = qint64(stat.size);
        total += size;
        if (size > kMaxEntrySize || total > kMaxTotalSize)
            throw damaged(nameForErrors, QStringLiteral("contenuto compresso troppo grande"));
        PackageEntry entry;
        entry.name = QString::fromUtf8(stat.name);
        entry.stored = (stat.valid & ZIP_STAT_COMP_METHOD) && stat.comp_method == ZIP_CM_STORE;
        if (!entry.name.endsWith(QLatin1Char('/')))
            entry.data = readEntry(archive.get(), zip_uint64_t(i), size, nameForErrors);
        package.m_entries.push_back(std::move(entry));
    }
    return package;
}

PackageEntry *ZipPackage::find(const QString &name)
{
    for (PackageEntry &entry : m_entries) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

void ZipPackage::remove(const QString &name)
{
    std::erase_if(m_entries, [&name](const PackageEntry &entry) { return entry.name == name; });
}

const PackageEntry *ZipPackage::find(const QString &name) const
{
    return const_cast<ZipPackage *>(this)->find(name);
}

QByteArray ZipPackage::toBytes() const
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *target = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!target)
        throw AutomationError(zipErrorText(&error));
    zip_source_keep(target);
    const auto releaseTarget = std::unique_ptr<zip_source_t, decltype(&zip_source_free)>(target, zip_source_free);
    zip_t *archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    if (!archive)
        throw AutomationError(zipErrorText(&error));
    ZipHandle guard(archive);

    for (const PackageEntry &entry : m_entries) {
        const QByteArray name = entry.name.toUtf8();
        zip_int64_t index = -1;
        if (entry.name.endsWith(QLatin1Char('/'))) {
            index = zip_dir_add(archive, name.constData(), ZIP_FL_ENC_UTF_8);
        } else {
            zip_source_t *data = zip_source_buffer(archive, entry.data.constData(), zip_uint64_t(entry.data.size()), 0);
            if (data) {
                index = zip_file_add(archive, name.constData(), data, ZIP_FL_ENC_UTF_8);
                if (index < 0)
                    zip_source_free(data);
            }
        }
        if (index < 0
            || zip_set_file_compression(archive, zip_uint64_t(index), entry.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0) != 0)
            throw AutomationError(zipErrorText(zip_get_error(archive)));
    }
    if (zip_close(archive) != 0)
        throw AutomationError(zipErrorText(zip_get_error(archive)));
    guard.release();

    QByteArray bytes;
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(target, &stat) != 0 || zip_source_open(target) != 0)
        throw AutomationError(zipErrorText(zip_source_error(target)));
    bytes.resize(qsizetype(stat.size));
    const zip_int64_t read = zip_source_read(target, bytes.data(), stat.size);
    zip_source_close(target);
    if (read != zip_int64_t(stat.size))
        throw AutomationError(zipErrorText(zip_source_error(target)));
    return bytes;
}

void ZipPackage::write(const QString &path) const
{
    writePrivateFile(path, toBytes());
}

void writePrivateFile(const QString &path, const QByteArray &bytes)
{
    QString error;
    if (!platform::writeOutputBytes(path, bytes, &error))
        throw AutomationError(error);
}

QString resolvePartTarget(const QString &folder, const QString &target)
{
    return target.startsWith(QLatin1Char('/')) ? target.mid(1) : folder + target;
}

} // namespace word
