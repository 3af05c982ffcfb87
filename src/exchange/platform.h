// The few file-system calls whose behaviour differs between Windows and POSIX.
#pragma once
#include <cstdio>

// Renames without ever replacing: fails when `to` exists, as a rename does on Windows.
bool rename_noreplace(const char* from, const char* to);
// Renames over an existing `to` in one step.
bool rename_replace(const char* from, const char* to);
// Forces what was written to f onto the disk.
bool sync_file(std::FILE* f);
// Starts writing the given bytes of f to the disk without waiting, so that a later sync_file
// has less left to wait for. Only a hint: where there is no such call it does nothing.
void start_writeback(std::FILE* f, unsigned long long offset, unsigned long long length);
bool remove_file(const char* name);
// False when the file exists and is marked read-only: the host's file must not be replaced.
bool may_replace(const char* name);
// Gives `to` the permission bits of `from`, so a rewritten file keeps its mode.
void copy_mode(const char* from, std::FILE* to);
