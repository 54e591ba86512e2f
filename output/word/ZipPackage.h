#pragma once
// A document package (.docx, .odt and their templates are zip files of XML parts) held in
// memory. Reading refuses what is not a zip, what is damaged and what would unpack beyond
// sane limits (a zip bomb); writing goes to a temporary file readable by the owner only and
// is renamed into place, so a failed write leaves no half document behind.

#include <QByteArray>
#include <QString>
#include <vector>

namespace word {

struct PackageEntry {
    QString name;
    QByteArray data;
    bool stored = false;   // written without compression (the ODF "mimetype" entry must be)
};

class ZipPackage {
public:
    // Limits far above any real template and far below what would exhaust the machine.
    static constexpr qint64 kMaxEntries = 4096;
    static constexpr qint64 kMaxEntrySize = 64LL * 1024 * 1024;
    static constexpr qint64 kMaxTotalSize = 128LL * 1024 * 1024;

    // Throws AutomationError naming the file and the reason.
    static ZipPackage read(const QString &path);
    static ZipPackage fromBytes(const QByteArray &bytes, const QString &nameForErrors);

    // The package as zip bytes, entries in their original order.
    QByteArray toBytes() const;
    // Writes the package to path with permissions 0600; throws AutomationError.
    void write(const QString &path) const;

    const std::vector<PackageEntry> &entries() const { return m_entries; }
    PackageEntry *find(const QString &name);
    const PackageEntry *find(const QString &name) const;
    void add(PackageEntry entry) { m_entries.push_back(std::move(entry)); }
    void remove(const QString &name);

private:
    std::vector<PackageEntry> m_entries;
};

// Writes bytes to path through a temporary file in the same folder, owner-only permissions.
void writePrivateFile(const QString &path, const QByteArray &bytes);

// A relationship target, relative to the folder of the part that names it, or absolute
// ("/word/document.xml"), as the name of a part of the package.
QString resolvePartTarget(const QString &folder, const QString &target);

} // namespace word
