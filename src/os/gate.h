// What the threads of os/threads.cpp stand on, from each platform's file: a thread with a lock
// and two signals (a gate), and a handle of a file's own that stays valid after the file is
// closed, for syncing it from another thread.
#pragma once
#include <cstdint>
#include <cstdio>

struct Gate;
enum { HANDED, DONE }; // the signals of a gate

// The platform's two gates: 0 for the worker, 1 for the syncing thread.
Gate* gate(int which);
void lock(Gate* g);
void unlock(Gate* g);
void wait_for(Gate* g, int signal);
void wake(Gate* g, int signal);
bool spawn(Gate* g, void (*body)());
bool running(const Gate* g);
void join(Gate* g);

using SyncHandle = std::intptr_t;
bool own_handle(std::FILE* f, SyncHandle& h);
bool flush(SyncHandle h);
void close_handle(SyncHandle h);
