// The operating system as POSIX has it.
#include "os/os.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "os/gate.h"

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

static Gate gates[2];
Gate* gate(int which) { return &gates[which]; }

void lock(Gate* g) { pthread_mutex_lock(&g->lock); }
void unlock(Gate* g) { pthread_mutex_unlock(&g->lock); }
void wait_for(Gate* g, int signal) { pthread_cond_wait(&g->signal[signal], &g->lock); }
void wake(Gate* g, int signal) { pthread_cond_signal(&g->signal[signal]); }
static void* gate_main(void* g) { return static_cast<Gate*>(g)->body(), nullptr; }
bool spawn(Gate* g, void (*body)()) {
    g->body = body;
    g->started = pthread_create(&g->thread, nullptr, gate_main, g) == 0;
    return g->started;
}
bool running(const Gate* g) { return g->started; }
void join(Gate* g) {
    pthread_join(g->thread, nullptr);
    g->started = false;
}

// A descriptor of the syncing thread's own, valid after f is closed.
bool own_handle(std::FILE* f, SyncHandle& h) { return (h = dup(fileno(f))) >= 0; }
bool flush(SyncHandle h) { return fdatasync(static_cast<int>(h)) == 0; }
void close_handle(SyncHandle h) { close(static_cast<int>(h)); }

HelpLanguage help_language() {
    return help_language_of(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}
