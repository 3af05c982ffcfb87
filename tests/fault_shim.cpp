// Preloaded by scripts/fault_tests.py: system calls that meet what a busy machine does to a
// run, once, where the environment asks for it.
//   CE_SHIM_RENAME_FROM, CE_SHIM_RENAME_TO: the first flock renames FROM over TO first, as a
//     host that replaces its file between the run's open and its lock.
//   CE_SHIM_SYNC_FAIL: the first fdatasync of a file whose name ends so fails with EIO.
#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

template <class F> static F next_of(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

extern "C" int flock(int fd, int op) {
    static std::atomic<bool> done{false};
    const char* from = std::getenv("CE_SHIM_RENAME_FROM");
    const char* to = std::getenv("CE_SHIM_RENAME_TO");
    if (from && to && !done.exchange(true) && std::rename(from, to) != 0) std::abort();
    return next_of<int (*)(int, int)>("flock")(fd, op);
}

static bool names_end_in(int fd, const char* suffix) {
    char path[4096];
    std::string link = "/proc/self/fd/" + std::to_string(fd);
    ssize_t n = readlink(link.c_str(), path, sizeof path - 1);
    std::size_t s = std::strlen(suffix);
    return n >= static_cast<ssize_t>(s) && std::memcmp(path + n - s, suffix, s) == 0;
}

extern "C" int fdatasync(int fd) {
    static std::atomic<bool> done{false};
    const char* suffix = std::getenv("CE_SHIM_SYNC_FAIL");
    if (suffix && names_end_in(fd, suffix) && !done.exchange(true)) {
        errno = EIO;
        return -1;
    }
    return next_of<int (*)(int)>("fdatasync")(fd);
}
