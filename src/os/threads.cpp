// The threads beside the pass, the same on every platform: a worker that runs one job at a time,
// and one that syncs a file as it grows.
#include <cstdio>

#include "os/gate.h"
#include "os/os.h"

bool remove_file(const char* name) { return std::remove(name) == 0; }

// The worker, on either platform's gate: one job at a time, handed and done.
static struct Worker {
    Gate* gate = ::gate(0);
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
static void stop_and_join(Gate* g, bool& stop) {
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
    Gate* gate = ::gate(1);
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
