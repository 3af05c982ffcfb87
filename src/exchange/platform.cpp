#include "exchange/platform.h"

#ifdef _WIN32

#include <io.h>
#include <windows.h>

bool rename_noreplace(const char* from, const char* to) { return MoveFileExA(from, to, 0) != 0; }

bool rename_replace(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool sync_file(std::FILE* f) { return _commit(_fileno(f)) == 0; }

void sync_in_background(std::FILE*) {}

bool end_background_sync(const std::FILE*) { return true; }

bool may_replace(const char* name) {
    DWORD a = GetFileAttributesA(name);
    return a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_READONLY);
}

void copy_mode(const char*, std::FILE*) {}

#else

#include <cerrno>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <system_error>
#include <thread>
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

// One thread syncs one file whenever asked, through a descriptor of its own, so that it may
// go on after the file is closed.
static struct BackgroundSync {
    std::thread worker;
    std::mutex m;
    std::condition_variable cv;
    const std::FILE* file = nullptr; // the file asked for
    int fd = -1;                     // the thread's own descriptor of it
    bool asked = false, stop = false, failed = false;
    ~BackgroundSync() { end_background_sync(nullptr); } // a running thread would abort the exit
} bg;

static void sync_when_asked() {
    std::unique_lock<std::mutex> lock(bg.m);
    for (;;) {
        bg.cv.wait(lock, [] { return bg.asked || bg.stop; });
        if (!bg.asked) return; // a sync asked for is made before stopping
        bg.asked = false;
        lock.unlock();
        bool ok = fdatasync(bg.fd) == 0;
        lock.lock();
        if (!ok) bg.failed = true;
    }
}

void sync_in_background(std::FILE* f) {
    if (bg.worker.joinable() && bg.file != f) end_background_sync(nullptr);
    if (!bg.worker.joinable()) {
        bg.fd = dup(fileno(f));
        if (bg.fd < 0) return; // the final sync does it all
        bg.file = f;
        bg.asked = bg.stop = bg.failed = false;
        try {
            bg.worker = std::thread(sync_when_asked);
        } catch (const std::system_error&) {
            close(bg.fd);
            bg.fd = -1, bg.file = nullptr;
            return;
        }
    }
    {
        std::lock_guard<std::mutex> lock(bg.m);
        bg.asked = true;
    }
    bg.cv.notify_one();
}

bool end_background_sync(const std::FILE* f) {
    if (!bg.worker.joinable()) return true;
    {
        std::lock_guard<std::mutex> lock(bg.m);
        bg.stop = true;
    }
    bg.cv.notify_one();
    bg.worker.join();
    close(bg.fd);
    bool ok = bg.file != f || !bg.failed;
    bg.fd = -1, bg.file = nullptr;
    return ok;
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
