// The few file-system calls whose behaviour differs between Windows and POSIX.
#pragma once

// Renames without ever replacing: fails when `to` exists, as a rename does on Windows.
bool rename_noreplace(const char* from, const char* to);
bool remove_file(const char* name);
