#include "driver/platform.h"

#include <cstdio>

#ifdef _WIN32

bool rename_noreplace(const char* from, const char* to) { return std::rename(from, to) == 0; }

#else

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool rename_noreplace(const char* from, const char* to) {
#ifdef RENAME_NOREPLACE
    if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
#endif
    // A hard link fails on an existing target; where links are not supported, look first.
    if (link(from, to) == 0) return unlink(from) == 0;
    if (errno == EEXIST || errno == ENOENT) return false;
    struct stat st;
    if (stat(to, &st) == 0) return false;
    return std::rename(from, to) == 0;
}

#endif

bool remove_file(const char* name) { return std::remove(name) == 0; }
