#include "exchange/platform.h"

#ifdef _WIN32

#include <io.h>
#include <windows.h>

bool rename_noreplace(const char* from, const char* to) { return MoveFileExA(from, to, 0) != 0; }

bool rename_replace(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool sync_file(std::FILE* f) { return _commit(_fileno(f)) == 0; }

void start_writeback(std::FILE*, unsigned long long, unsigned long long) {}

bool may_replace(const char* name) {
    DWORD a = GetFileAttributesA(name);
    return a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_READONLY);
}

void copy_mode(const char*, std::FILE*) {}

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

bool rename_replace(const char* from, const char* to) { return std::rename(from, to) == 0; }

bool sync_file(std::FILE* f) { return fsync(fileno(f)) == 0; }

void start_writeback(std::FILE* f, unsigned long long offset, unsigned long long length) {
#ifdef SYNC_FILE_RANGE_WRITE
    sync_file_range(fileno(f), static_cast<off_t>(offset), static_cast<off_t>(length),
                    SYNC_FILE_RANGE_WRITE);
#else
    (void)f, (void)offset, (void)length;
#endif
}

bool may_replace(const char* name) {
    struct stat st;
    return stat(name, &st) != 0 || (st.st_mode & S_IWUSR) != 0;
}

void copy_mode(const char* from, std::FILE* to) {
    struct stat st;
    if (stat(from, &st) == 0) fchmod(fileno(to), st.st_mode & 07777);
}

#endif

bool remove_file(const char* name) { return std::remove(name) == 0; }
