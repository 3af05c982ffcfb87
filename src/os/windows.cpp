// The operating system as Windows has it.
#include "os/os.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <string>
#include <sys/stat.h>
#include <windows.h>

#include "os/gate.h"

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

static Gate gates[2];
Gate* gate(int which) { return &gates[which]; }

void lock(Gate* g) { AcquireSRWLockExclusive(&g->lock); }
void unlock(Gate* g) { ReleaseSRWLockExclusive(&g->lock); }
void wait_for(Gate* g, int signal) {
    SleepConditionVariableSRW(&g->signal[signal], &g->lock, INFINITE, 0);
}
void wake(Gate* g, int signal) { WakeConditionVariable(&g->signal[signal]); }
// _beginthreadex, not CreateThread: the jobs call the C runtime.
static unsigned __stdcall gate_main(void* g) { return static_cast<Gate*>(g)->body(), 0; }
bool spawn(Gate* g, void (*body)()) {
    g->body = body;
    g->thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, gate_main, g, 0, nullptr));
    return g->thread != nullptr;
}
bool running(const Gate* g) { return g->thread != nullptr; }
void join(Gate* g) {
    WaitForSingleObject(g->thread, INFINITE);
    CloseHandle(g->thread);
    g->thread = nullptr;
}

// A handle of the syncing thread's own, valid after f is closed. A file open only for reading
// cannot be flushed on Windows: its syncs fail, and only the file written asks for their
// outcome.
bool own_handle(std::FILE* f, SyncHandle& h) {
    HANDLE mine = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f))), dup = nullptr;
    bool ok = mine != INVALID_HANDLE_VALUE &&
              DuplicateHandle(GetCurrentProcess(), mine, GetCurrentProcess(), &dup, 0, FALSE,
                              DUPLICATE_SAME_ACCESS);
    h = reinterpret_cast<SyncHandle>(dup);
    return ok;
}
bool flush(SyncHandle h) { return FlushFileBuffers(reinterpret_cast<HANDLE>(h)) != 0; }
void close_handle(SyncHandle h) { CloseHandle(reinterpret_cast<HANDLE>(h)); }

HelpLanguage help_language() {
    // Without a console the output code page reads 0; the OEM code page is what one would get.
    UINT cp = GetConsoleOutputCP();
    if (cp == 0) cp = GetOEMCP();
    return cp == 932 ? HelpLanguage::japanese_cp932 : HelpLanguage::english;
}
