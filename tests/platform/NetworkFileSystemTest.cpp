// Telling a network mount from a local one: the statfs magic numbers, the mountinfo lines
// (in the kernel's own format, escapes and optional fields included), the real mounts of
// this machine, which are local, and a real FUSE mount where the test may make one.

#include "platform/NetworkFileSystem.h"
#include "tests/support/ForkedChild.h"
#include "tests/platform/TinyFuseMount.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(NetworkFileSystem, MagicNumbersNameNetworkFileSystemsOnly)
{
    EXPECT_EQ(platform::networkFileSystemForMagic(0xFF534D42u), "cifs");
    EXPECT_EQ(platform::networkFileSystemForMagic(0xFE534D42u), "smb2");
    EXPECT_EQ(platform::networkFileSystemForMagic(0x6969u), "nfs");
    EXPECT_EQ(platform::networkFileSystemForMagic(0x65735546u), "fuse");
    EXPECT_EQ(platform::networkFileSystemForMagic(0x01021997u), "9p");
    EXPECT_EQ(platform::networkFileSystemForMagic(0x00C36400u), "ceph");
    EXPECT_EQ(platform::networkFileSystemForMagic(0x6B414653u), "afs");
    // ext4, tmpfs, btrfs, xfs, overlay, vfat.
    for (unsigned long local : {0xEF53ul, 0x01021994ul, 0x9123683Eul, 0x58465342ul, 0x794C7630ul, 0x4D44ul})
        EXPECT_FALSE(platform::networkFileSystemForMagic(local)) << std::hex << local;
}

TEST(NetworkFileSystem, MountTypeIsTheDeepestMountHoldingThePath)
{
    const QByteArray mountinfo =
        "27 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw,discard\n"
        "40 27 0:41 / /srv/ufficio rw,relatime shared:20 master:3 - cifs //nas/ufficio rw,vers=3.1.1\n"
        "41 27 0:42 / /mnt/Cartella\\040condivisa rw,relatime - nfs4 nas:/export rw,vers=4.2\n"
        "42 27 0:43 / /media/chiavetta rw,nosuid - fuseblk /dev/sdb1 rw,user_id=0\n"
        "43 27 0:44 / /home/anna/remoto rw,nosuid,nodev - fuse.sshfs anna@nas:/dati rw\n"
        "44 40 0:45 / /srv/ufficio/locale rw - tmpfs tmpfs rw\n"
        // A later mount on the same point covers the earlier one.
        "45 27 0:46 / /media/chiavetta rw - vfat /dev/sdc1 rw\n";

    const auto typeOf = [&](const char *path) { return platform::mountTypeOf(mountinfo, QString::fromUtf8(path)); };
    EXPECT_EQ(typeOf("/srv/ufficio/tavorio.mdb"), "cifs");
    EXPECT_EQ(typeOf("/srv/ufficio"), "cifs");
    EXPECT_EQ(typeOf("/srv/ufficio/locale/tavorio.mdb"), "tmpfs");
    EXPECT_EQ(typeOf("/srv/ufficiopiccolo/tavorio.mdb"), "ext4") << "a name that only begins like a mount point";
    EXPECT_EQ(typeOf("/mnt/Cartella condivisa/tavorio.mdb"), "nfs4");
    EXPECT_EQ(typeOf("/home/anna/remoto/a/tavorio.mdb"), "fuse.sshfs");
    EXPECT_EQ(typeOf("/media/chiavetta/tavorio.mdb"), "vfat");
    EXPECT_EQ(typeOf("/home/anna/tavorio.mdb"), "ext4");
    EXPECT_EQ(platform::mountTypeOf("garbage\n\n1 2 3\n", QStringLiteral("/a")), QString());

    for (const char *network : {"cifs", "smb3", "nfs", "nfs4", "fuse.sshfs", "fuse", "9p", "ceph", "afs"})
        EXPECT_TRUE(platform::isNetworkFileSystemType(QString::fromLatin1(network))) << network;
    for (const char *local : {"ext4", "tmpfs", "fuseblk", "vfat", "btrfs", "overlay", ""})
        EXPECT_FALSE(platform::isNetworkFileSystemType(QString::fromLatin1(local))) << local;
}

TEST(NetworkFileSystem, LocalMountsOfThisMachineAreNotNetwork)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString archive = dir.filePath(QStringLiteral("tavorio.mdb"));
    QFile file(archive);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    EXPECT_FALSE(platform::networkFileSystemOf(archive));
    EXPECT_FALSE(platform::networkFileSystemOf(dir.filePath(QStringLiteral("not-yet.mdb"))));

    QFile mounts(QStringLiteral("/proc/self/mountinfo"));
    ASSERT_TRUE(mounts.open(QIODevice::ReadOnly));
    const QByteArray mountinfo = mounts.readAll();
    const QString type = platform::mountTypeOf(mountinfo, QDir(dir.path()).canonicalPath());
    EXPECT_FALSE(type.isEmpty()) << "the real mountinfo names the test folder's file system";
    EXPECT_FALSE(platform::isNetworkFileSystemType(type)) << qPrintable(type);
    if (QDir(QStringLiteral("/dev/shm")).exists()) {
        EXPECT_EQ(platform::mountTypeOf(mountinfo, QStringLiteral("/dev/shm")), "tmpfs");
        EXPECT_FALSE(platform::networkFileSystemOf(QStringLiteral("/dev/shm")));
    }
}

// A FUSE mount as sshfs makes one, in a child with a mount namespace of its own (the mount
// goes with it). The child answers 77 when it may not mount here.
TEST(NetworkFileSystem, ARealFuseMountIsNetwork)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = QDir(dir.path()).canonicalPath();
    testsupport::ForkedChild child([&](testsupport::ChildSide &) {
        if (!platform_test::privateMountNamespace() || !platform_test::mountTinyFuse(folder, "sshfs"))
            return 77;
        const std::optional<QString> found = platform::networkFileSystemOf(folder + QStringLiteral("/tavorio.mdb"));
        const std::optional<QString> local = platform::networkFileSystemOf(dir.path() + QStringLiteral("/../x"));
        return found == QStringLiteral("fuse.sshfs") && !local ? 0 : 1;
    });
    ASSERT_TRUE(child.started());
    const int status = child.exitStatus();
    if (status == 77)
        GTEST_SKIP() << "no FUSE mount allowed here";
    EXPECT_EQ(status, 0);
}

} // namespace
