#include "os/os.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
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

Stored stored_as(const char* name) {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(name, &found);
    if (h == INVALID_HANDLE_VALUE) return Stored::none;
    FindClose(h);
    return std::strcmp(found.cFileName, name) == 0 ? Stored::as_named : Stored::other_case;
}

// A lock file beside the exchange file, open with no sharing: a second run cannot open it, and
// Windows deletes it when the handle closes, also when the process is killed.
static HANDLE lock_file = INVALID_HANDLE_VALUE;

Exchange lock_beside(const char* name) {
    if (lock_file != INVALID_HANDLE_VALUE) return Exchange::opened;
    std::string lock = name;
    lock = lock.substr(0, lock.rfind('.')) + ".$$L";
    lock_file = CreateFileA(lock.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE |
                                FILE_FLAG_OPEN_REPARSE_POINT,
                            nullptr);
    if (lock_file != INVALID_HANDLE_VALUE) return Exchange::opened;
    DWORD e = GetLastError();
    // Access is denied too while the holder's file waits for its deletion.
    return e == ERROR_SHARING_VIOLATION || e == ERROR_ACCESS_DENIED ? Exchange::in_use
                                                                    : Exchange::failed;
}

Exchange open_exchange(const char* name, std::FILE*& f) {
    Exchange got = lock_beside(name);
    if (got != Exchange::opened) return got;
    DWORD a = GetFileAttributesA(name);
    if (a == INVALID_FILE_ATTRIBUTES) {
        DWORD e = GetLastError();
        got = e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? Exchange::missing
                                                                     : Exchange::failed;
    } else if (a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) {
        got = Exchange::not_regular;
    } else {
        f = std::fopen(name, "rb");
        if (f &&
            GetFileType(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)))) == FILE_TYPE_DISK)
            return Exchange::opened;
        got = f ? Exchange::not_regular : Exchange::failed;
        if (f) std::fclose(f);
        f = nullptr;
    }
    unlock_exchange();
    return got;
}

void unlock_exchange() {
    if (lock_file == INVALID_HANDLE_VALUE) return;
    CloseHandle(lock_file);
    lock_file = INVALID_HANDLE_VALUE;
}

// MinGW's win32 thread model has no std::thread: a thread of the Windows API, with a lock and
// two signals, for each job that runs beside the pass.
struct Gate {
    HANDLE thread = nullptr;
    SRWLOCK lock = SRWLOCK_INIT;
    CONDITION_VARIABLE signal[2] = {CONDITION_VARIABLE_INIT, CONDITION_VARIABLE_INIT};
    void (*body)() = nullptr;
};

static void lock(Gate& g) { AcquireSRWLockExclusive(&g.lock); }
static void unlock(Gate& g) { ReleaseSRWLockExclusive(&g.lock); }
static void wait_for(Gate& g, int signal) {
    SleepConditionVariableSRW(&g.signal[signal], &g.lock, INFINITE, 0);
}
static void wake(Gate& g, int signal) { WakeConditionVariable(&g.signal[signal]); }
// _beginthreadex, not CreateThread: the jobs call the C runtime.
static unsigned __stdcall gate_main(void* g) { return static_cast<Gate*>(g)->body(), 0; }
static bool spawn(Gate& g, void (*body)()) {
    g.body = body;
    g.thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, gate_main, &g, 0, nullptr));
    return g.thread != nullptr;
}
static bool running(const Gate& g) { return g.thread != nullptr; }
static void join(Gate& g) {
    WaitForSingleObject(g.thread, INFINITE);
    CloseHandle(g.thread);
    g.thread = nullptr;
}

// A handle of the syncing thread's own, valid after f is closed. A file open only for reading
// cannot be flushed on Windows: its syncs fail, and only the file written asks for their
// outcome.
using SyncHandle = HANDLE;
static bool own_handle(std::FILE* f, SyncHandle& h) {
    HANDLE mine = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)));
    return mine != INVALID_HANDLE_VALUE &&
           DuplicateHandle(GetCurrentProcess(), mine, GetCurrentProcess(), &h, 0, FALSE,
                           DUPLICATE_SAME_ACCESS);
}
static bool flush(SyncHandle h) { return FlushFileBuffers(h) != 0; }
static void close_handle(SyncHandle h) { CloseHandle(h); }

HelpLanguage help_language() {
    // Without a console the output code page reads 0; the OEM code page is what one would get.
    UINT cp = GetConsoleOutputCP();
    if (cp == 0) cp = GetOEMCP();
    return cp == 932 ? HelpLanguage::japanese_cp932 : HelpLanguage::english;
}

#else

#include <cerrno>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
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

bool may_replace(const char* name) {
    struct stat st;
    if (stat(name, &st) != 0) return true;
    // The owner's write bit is the read-only mark, which root must respect too; the system
    // answers for this process, which may not be the owner.
    return (st.st_mode & S_IWUSR) != 0 && faccessat(AT_FDCWD, name, W_OK, AT_EACCESS) == 0;
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

Stored stored_as(const char* name) {
    struct stat st;
    return lstat(name, &st) == 0 ? Stored::as_named : Stored::none;
}

Exchange lock_beside(const char*) { return Exchange::opened; }

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

struct Gate {
    pthread_t thread;
    bool started = false;
    pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
    pthread_cond_t signal[2] = {PTHREAD_COND_INITIALIZER, PTHREAD_COND_INITIALIZER};
    void (*body)() = nullptr;
};

static void lock(Gate& g) { pthread_mutex_lock(&g.lock); }
static void unlock(Gate& g) { pthread_mutex_unlock(&g.lock); }
static void wait_for(Gate& g, int signal) { pthread_cond_wait(&g.signal[signal], &g.lock); }
static void wake(Gate& g, int signal) { pthread_cond_signal(&g.signal[signal]); }
static void* gate_main(void* g) { return static_cast<Gate*>(g)->body(), nullptr; }
static bool spawn(Gate& g, void (*body)()) {
    g.body = body;
    g.started = pthread_create(&g.thread, nullptr, gate_main, &g) == 0;
    return g.started;
}
static bool running(const Gate& g) { return g.started; }
static void join(Gate& g) {
    pthread_join(g.thread, nullptr);
    g.started = false;
}

// A descriptor of the syncing thread's own, valid after f is closed.
using SyncHandle = int;
static bool own_handle(std::FILE* f, SyncHandle& h) { return (h = dup(fileno(f))) >= 0; }
static bool flush(SyncHandle h) { return fdatasync(h) == 0; }
static void close_handle(SyncHandle h) { close(h); }

HelpLanguage help_language() {
    return help_language_of(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

#endif

bool remove_file(const char* name) { return std::remove(name) == 0; }

enum { HANDED, DONE }; // the signals of a gate

// The worker, on either platform's gate: one job at a time, handed and done.
static struct Worker {
    Gate gate;
    void (*job)(const void*) = nullptr;
    const void* arg = nullptr; // handed and not yet done
    bool stop = false;
    ~Worker() { end_worker(); } // the exit would kill a job half done
} wk;

static void work_when_handed() {
    lock(wk.gate);
    for (;;) {
        while (!wk.arg && !wk.stop) wait_for(wk.gate, HANDED);
        if (!wk.arg) break; // a job handed is done before stopping
        const void* arg = wk.arg;
        unlock(wk.gate);
        wk.job(arg);
        lock(wk.gate);
        wk.arg = nullptr;
        wake(wk.gate, DONE);
    }
    unlock(wk.gate);
}

bool start_worker(void (*job)(const void*)) {
    if (running(wk.gate)) return false;
    wk.job = job;
    wk.arg = nullptr;
    wk.stop = false;
    return spawn(wk.gate, work_when_handed);
}

void hand_to_worker(const void* arg) {
    lock(wk.gate);
    while (wk.arg) wait_for(wk.gate, DONE);
    wk.arg = arg;
    unlock(wk.gate);
    wake(wk.gate, HANDED);
}

// Tells a gate's thread to stop, and waits until it has done what it was handed.
static void stop_and_join(Gate& g, bool& stop) {
    lock(g);
    stop = true;
    unlock(g);
    wake(g, HANDED);
    join(g);
}

void end_worker() {
    if (running(wk.gate)) stop_and_join(wk.gate, wk.stop);
}

// One thread syncs one file whenever asked, through a handle of its own, so that it may go on
// after the file is closed.
static struct BackgroundSync {
    Gate gate;
    const std::FILE* file = nullptr; // the file asked for
    SyncHandle handle{};             // the thread's own handle of it
    bool asked = false, stop = false, failed = false;
    ~BackgroundSync() { end_background_sync(nullptr); } // the exit would kill a sync half done
} bg;

static void sync_when_asked() {
    lock(bg.gate);
    for (;;) {
        while (!bg.asked && !bg.stop) wait_for(bg.gate, HANDED);
        if (!bg.asked) break; // a sync asked for is made before stopping
        bg.asked = false;
        unlock(bg.gate);
        bool ok = flush(bg.handle);
        lock(bg.gate);
        if (!ok) bg.failed = true;
    }
    unlock(bg.gate);
}

void sync_in_background(std::FILE* f) {
    if (running(bg.gate) && bg.file != f) end_background_sync(nullptr);
    if (!running(bg.gate)) {
        if (!own_handle(f, bg.handle)) return; // the final sync does it all
        bg.file = f;
        bg.asked = bg.stop = bg.failed = false;
        if (!spawn(bg.gate, sync_when_asked)) {
            close_handle(bg.handle);
            bg.file = nullptr;
            return;
        }
    }
    lock(bg.gate);
    bg.asked = true;
    unlock(bg.gate);
    wake(bg.gate, HANDED);
}

bool end_background_sync(const std::FILE* f) {
    if (!running(bg.gate)) return true;
    stop_and_join(bg.gate, bg.stop);
    close_handle(bg.handle);
    bool ok = bg.file != f || !bg.failed;
    bg.file = nullptr;
    return ok;
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
