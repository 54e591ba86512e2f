#include "tests/platform/TinyFuseMount.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fuse.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace platform_test {

namespace {

void reply(int fd, const fuse_in_header &in, int error, const void *payload = nullptr, size_t size = 0)
{
    std::vector<char> out(sizeof(fuse_out_header) + (error == 0 ? size : 0));
    fuse_out_header header{};
    header.len = uint32_t(out.size());
    header.error = error;
    header.unique = in.unique;
    std::memcpy(out.data(), &header, sizeof header);
    if (error == 0 && size > 0)
        std::memcpy(out.data() + sizeof header, payload, size);
    (void)::write(fd, out.data(), out.size());
}

void serve(int fd)
{
    std::vector<char> buffer(FUSE_MIN_READ_BUFFER + 65536);
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n < ssize_t(sizeof(fuse_in_header)))
            return; // unmounted
        fuse_in_header in;
        std::memcpy(&in, buffer.data(), sizeof in);
        switch (in.opcode) {
        case FUSE_INIT: {
            fuse_init_out init{};
            init.major = FUSE_KERNEL_VERSION;
            init.minor = FUSE_KERNEL_MINOR_VERSION;
            init.max_readahead = 65536;
            init.max_write = 4096;
            reply(fd, in, 0, &init, sizeof init);
            break;
        }
        case FUSE_GETATTR: {
            fuse_attr_out attr{};
            attr.attr.ino = in.nodeid;
            attr.attr.mode = S_IFDIR | 0755;
            attr.attr.nlink = 2;
            reply(fd, in, 0, &attr, sizeof attr);
            break;
        }
        case FUSE_STATFS: {
            fuse_statfs_out statfs{};
            statfs.st.bsize = statfs.st.frsize = 4096;
            statfs.st.namelen = 255;
            reply(fd, in, 0, &statfs, sizeof statfs);
            break;
        }
        case FUSE_LOOKUP:
            reply(fd, in, -ENOENT);
            break;
        case FUSE_FORGET:
        case FUSE_BATCH_FORGET:
        case FUSE_INTERRUPT:
            break; // never answered
        default:
            reply(fd, in, -ENOSYS);
            break;
        }
    }
}

} // namespace

bool privateMountNamespace()
{
    return ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

bool mountTinyFuse(const QString &folder, const char *subtype)
{
    const int fd = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    const std::string options = "fd=" + std::to_string(fd) + ",rootmode=40000,user_id=0,group_id=0";
    const std::string type = std::string("fuse.") + subtype;
    if (::mount("tavorio-prova", QFile::encodeName(folder).constData(), type.c_str(), MS_NOSUID | MS_NODEV,
                options.c_str())
        != 0) {
        ::close(fd);
        return false;
    }
    std::thread(serve, fd).detach();
    return true;
}

} // namespace platform_test
