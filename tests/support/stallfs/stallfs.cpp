// A read-only view of a folder whose reads hang on demand, as a network
// share does when its server stops answering. Every read of a file whose
// name begins with "stall" waits while the gate file exists; the gate's
// removal lets the waiting reads go on. Each read that starts waiting adds
// a line to the gate's ".waits" file, so a test can tell that a read really
// hangs. Listing, looking up and opening never wait.
//
// Usage: orvane_stallfs SOURCE MOUNTPOINT GATE
// Runs in the foreground until unmounted.
#define FUSE_USE_VERSION 31
#include <fuse.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string g_source;
std::string g_gate;

std::string real(const char *path) { return g_source + path; }

bool stalls(const char *path)
{
    const char *base = std::strrchr(path, '/');
    return std::strncmp(base ? base + 1 : path, "stall", 5) == 0;
}

int getattrOp(const char *path, struct stat *st, fuse_file_info *)
{
    return ::lstat(real(path).c_str(), st) == 0 ? 0 : -errno;
}

int readdirOp(const char *path, void *buf, fuse_fill_dir_t fill, off_t, fuse_file_info *, fuse_readdir_flags)
{
    DIR *dir = ::opendir(real(path).c_str());
    if (!dir)
        return -errno;
    while (dirent *e = ::readdir(dir))
        fill(buf, e->d_name, nullptr, 0, fuse_fill_dir_flags(0));
    ::closedir(dir);
    return 0;
}

int openOp(const char *path, fuse_file_info *fi)
{
    if ((fi->flags & O_ACCMODE) != O_RDONLY)
        return -EROFS;
    const int fd = ::open(real(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -errno;
    fi->fh = uint64_t(fd);
    // Past the page cache: every read of the player reaches us.
    fi->direct_io = 1;
    return 0;
}

int readOp(const char *path, char *buf, size_t size, off_t offset, fuse_file_info *fi)
{
    if (stalls(path) && ::access(g_gate.c_str(), F_OK) == 0) {
        if (FILE *log = std::fopen((g_gate + ".waits").c_str(), "a")) {
            std::fprintf(log, "%s %lld\n", path, static_cast<long long>(offset));
            std::fclose(log);
        }
        while (::access(g_gate.c_str(), F_OK) == 0)
            ::usleep(5000);
    }
    const ssize_t n = ::pread(int(fi->fh), buf, size, offset);
    return n < 0 ? -errno : int(n);
}

int releaseOp(const char *, fuse_file_info *fi)
{
    ::close(int(fi->fh));
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s SOURCE MOUNTPOINT GATE\n", argv[0]);
        return 2;
    }
    g_source = argv[1];
    g_gate = argv[3];
    fuse_operations ops{};
    ops.getattr = getattrOp;
    ops.readdir = readdirOp;
    ops.open = openOp;
    ops.read = readOp;
    ops.release = releaseOp;
    // Foreground and multi-threaded: a hanging read must not hold up the
    // look-ups and reads of other files.
    char *args[] = {argv[0], argv[2], const_cast<char *>("-f"), const_cast<char *>("-o"),
                    const_cast<char *>("ro,fsname=stallfs,default_permissions")};
    return fuse_main(int(sizeof args / sizeof *args), args, &ops, nullptr);
}
