#include "exchange/platform.h"

#include <cctype>
#include <cstdlib>
#include <string>
#include <string_view>

#ifdef _WIN32

#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <string>
#include <sys/stat.h>
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

std::FILE* create_new(const char* name) {
    if (!DeleteFileA(name) && GetLastError() != ERROR_FILE_NOT_FOUND) return nullptr;
    int fd = _open(name, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    std::FILE* f = _fdopen(fd, "wb");
    if (!f) _close(fd);
    return f;
}

// A lock file beside the exchange file, open with no sharing: a second run cannot open it, and
// Windows deletes it when the handle closes, also when the process is killed.
static HANDLE lock_file = INVALID_HANDLE_VALUE;

Exchange open_exchange(const char* name, std::FILE*& f) {
    DWORD a = GetFileAttributesA(name);
    if (a == INVALID_FILE_ATTRIBUTES) {
        DWORD e = GetLastError();
        return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? Exchange::missing
                                                                      : Exchange::failed;
    }
    if (a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) return Exchange::not_regular;
    std::string lock = name;
    lock = lock.substr(0, lock.rfind('.')) + ".$$L";
    lock_file = CreateFileA(lock.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE |
                                FILE_FLAG_OPEN_REPARSE_POINT,
                            nullptr);
    if (lock_file == INVALID_HANDLE_VALUE) {
        DWORD e = GetLastError();
        // Access is denied too while the holder's file waits for its deletion.
        return e == ERROR_SHARING_VIOLATION || e == ERROR_ACCESS_DENIED ? Exchange::in_use
                                                                        : Exchange::failed;
    }
    f = std::fopen(name, "rb");
    if (!f || GetFileType(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)))) != FILE_TYPE_DISK) {
        bool there = f != nullptr;
        if (f) std::fclose(f);
        f = nullptr;
        unlock_exchange();
        return there ? Exchange::not_regular : Exchange::failed;
    }
    return Exchange::opened;
}

void unlock_exchange() {
    if (lock_file == INVALID_HANDLE_VALUE) return;
    CloseHandle(lock_file);
    lock_file = INVALID_HANDLE_VALUE;
}

// MinGW's win32 thread model has no std::thread: the worker is a thread of the Windows API.
static HANDLE worker_thread;
static SRWLOCK worker_lock = SRWLOCK_INIT;
static CONDITION_VARIABLE worker_signal[2] = {CONDITION_VARIABLE_INIT, CONDITION_VARIABLE_INIT};

static void lock_worker() { AcquireSRWLockExclusive(&worker_lock); }
static void unlock_worker() { ReleaseSRWLockExclusive(&worker_lock); }
static void wait_for(int signal) {
    SleepConditionVariableSRW(&worker_signal[signal], &worker_lock, INFINITE, 0);
}
static void wake(int which) { WakeConditionVariable(&worker_signal[which]); }
static void work_when_handed();
// _beginthreadex, not CreateThread: the jobs call the C runtime.
static unsigned __stdcall worker_main(void*) { return work_when_handed(), 0; }
static bool spawn_worker() {
    worker_thread =
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, worker_main, nullptr, 0, nullptr));
    return worker_thread != nullptr;
}
static bool worker_running() { return worker_thread != nullptr; }
static void join_worker() {
    WaitForSingleObject(worker_thread, INFINITE);
    CloseHandle(worker_thread);
    worker_thread = nullptr;
}

HelpLanguage help_language() {
    // Without a console the output code page reads 0; the OEM code page is what one would get.
    UINT cp = GetConsoleOutputCP();
    if (cp == 0) cp = GetOEMCP();
    return cp == 932 ? HelpLanguage::japanese_cp932 : HelpLanguage::english;
}

#else

#include <cerrno>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <pthread.h>
#include <sys/file.h>
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

std::FILE* create_new(const char* name) {
    if (unlink(name) != 0 && errno != ENOENT) return nullptr; // a directory, say
    int fd = open(name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    std::FILE* f = fdopen(fd, "wb");
    if (!f) close(fd);
    return f;
}

// The lock is on the exchange file itself, through a descriptor of its own that stays open
// past the rename, so that no run reads the old file once this one has begun.
static int lock_fd = -1;

Exchange open_exchange(const char* name, std::FILE*& f) {
    // A run that ends while this one locks puts a new file at the name: then lock that one.
    for (int attempt = 0; attempt < 16; ++attempt) {
        // Without O_NONBLOCK the open of a FIFO waits for a writer.
        int fd = open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return errno == ENOENT ? Exchange::missing : Exchange::failed;
        struct stat st, now;
        Exchange got = Exchange::failed;
        if (fstat(fd, &st) != 0) {
        } else if (!S_ISREG(st.st_mode)) {
            got = Exchange::not_regular;
        } else if (flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
            got = Exchange::in_use;
        } else if (stat(name, &now) != 0 || now.st_dev != st.st_dev || now.st_ino != st.st_ino) {
            close(fd);
            continue;
        } else {
            // A file system without locks runs unlocked, as before there were locks.
            int rd = dup(fd);
            f = rd < 0 ? nullptr : fdopen(rd, "rb");
            if (f) {
                lock_fd = fd;
                return Exchange::opened;
            }
            if (rd >= 0) close(rd);
        }
        close(fd);
        return got;
    }
    return Exchange::in_use;
}

void unlock_exchange() {
    if (lock_fd < 0) return;
    close(lock_fd);
    lock_fd = -1;
}

static pthread_t worker_thread;
static bool worker_started;
static pthread_mutex_t worker_lock = PTHREAD_MUTEX_INITIALIZER;
static pthread_cond_t worker_signal[2] = {PTHREAD_COND_INITIALIZER, PTHREAD_COND_INITIALIZER};

static void lock_worker() { pthread_mutex_lock(&worker_lock); }
static void unlock_worker() { pthread_mutex_unlock(&worker_lock); }
static void wait_for(int signal) { pthread_cond_wait(&worker_signal[signal], &worker_lock); }
static void wake(int which) { pthread_cond_signal(&worker_signal[which]); }
static void work_when_handed();
static void* worker_main(void*) { return work_when_handed(), nullptr; }
static bool spawn_worker() {
    worker_started = pthread_create(&worker_thread, nullptr, worker_main, nullptr) == 0;
    return worker_started;
}
static bool worker_running() { return worker_started; }
static void join_worker() {
    pthread_join(worker_thread, nullptr);
    worker_started = false;
}

HelpLanguage help_language() {
    return help_language_of(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

#endif

bool remove_file(const char* name) { return std::remove(name) == 0; }

// The worker, on either platform's primitives above: one job at a time, handed and done.
enum { HANDED, DONE };
static struct Worker {
    void (*job)(const void*) = nullptr;
    const void* arg = nullptr; // handed and not yet done
    bool stop = false;
    ~Worker() { end_worker(); } // the exit would kill a job half done
} wk;

static void work_when_handed() {
    lock_worker();
    for (;;) {
        while (!wk.arg && !wk.stop) wait_for(HANDED);
        if (!wk.arg) break; // a job handed is done before stopping
        const void* arg = wk.arg;
        unlock_worker();
        wk.job(arg);
        lock_worker();
        wk.arg = nullptr;
        wake(DONE);
    }
    unlock_worker();
}

bool start_worker(void (*job)(const void*)) {
    if (worker_running()) return false;
    wk.job = job;
    wk.arg = nullptr;
    wk.stop = false;
    return spawn_worker();
}

void hand_to_worker(const void* arg) {
    lock_worker();
    while (wk.arg) wait_for(DONE);
    wk.arg = arg;
    unlock_worker();
    wake(HANDED);
}

void end_worker() {
    if (!worker_running()) return;
    lock_worker();
    wk.stop = true;
    unlock_worker();
    wake(HANDED);
    join_worker();
}

HelpLanguage help_language_of(const char* lc_all, const char* lc_messages, const char* lang) {
    const char* name = nullptr;
    for (const char* v : {lc_all, lc_messages, lang})
        if (v && *v) {
            name = v;
            break;
        }
    if (!name) return HelpLanguage::english;
    // language[_territory][.codeset][@modifier], or an alias such as "japanese.sjis"
    std::string_view s = name;
    if (!s.starts_with("ja")) return HelpLanguage::english;
    std::size_t dot = s.find('.');
    if (dot == std::string_view::npos) return HelpLanguage::japanese_cp932;
    // The codeset as glibc compares it: letters and digits only, in lower case.
    std::string codeset;
    for (char c : s.substr(dot + 1, s.find('@', dot) - dot - 1))
        if (std::isalnum(static_cast<unsigned char>(c)))
            codeset += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return codeset == "utf8" ? HelpLanguage::japanese_utf8 : HelpLanguage::japanese_cp932;
}
