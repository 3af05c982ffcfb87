// The few file-system calls whose behaviour differs between Windows and POSIX.
#pragma once
#include <cstdio>

// Renames without ever replacing: fails when `to` exists, as a rename does on Windows.
bool rename_noreplace(const char* from, const char* to);
// Renames over an existing `to` in one step.
bool rename_replace(const char* from, const char* to);
// Forces what was written to f onto the disk.
bool sync_file(std::FILE* f);
// Asks another thread to sync what was written to f so far, without waiting for it, so that
// the disk works while the pass goes on and the final sync_file has little left to do. One
// file at a time: asking for another first ends the syncs of the one before. Where no thread
// can be had it does nothing.
void sync_in_background(std::FILE* f);
// Waits for that thread and ends it; false when it was syncing f and one of its syncs failed
// (the final sync may not hear of that failure again).
bool end_background_sync(const std::FILE* f);
bool remove_file(const char* name);
// How the directory holds a file by this name: in exactly this spelling, only in another letter
// case (where names ignore case, on Windows), or not at all. A link counts as held.
enum class Stored { as_named, other_case, none };
Stored stored_as(const char* name);
// Creates the file anew for writing in binary: whatever stands at the name, a stale file or a
// link, is removed first (the name, never what it points to), so nothing is written through
// it. Null when the name cannot be freed or the file cannot be created.
std::FILE* create_new(const char* name);

// The exchange file, opened for the passes and locked against other runs of this tool. The
// lock holds until unlock_exchange, or until the process ends however it ends.
enum class Exchange {
    opened,
    missing,     // nothing at the name
    not_regular, // a directory, a FIFO, a device: nothing a run can rewrite
    in_use,      // another run holds the lock
    failed,      // there, but it cannot be opened or locked
};
// Where the lock is a file of its own (Windows) it is taken here, so that the exchange file's
// names are settled under it: opened, in_use or failed. Elsewhere the lock is on the exchange
// file itself and open_exchange takes it: opened.
Exchange lock_beside(const char* name);
// On success f reads the file from its start; the caller closes f (the lock stays). On failure
// the lock is let go.
Exchange open_exchange(const char* name, std::FILE*& f);
void unlock_exchange();
// False when the file exists and is marked read-only, or this process may not write it: the
// host's file must not be replaced.
bool may_replace(const char* name);
// Gives `to` the permission bits of `from`, so a rewritten file keeps its mode.
void copy_mode(const char* from, std::FILE* to);

// The language and encoding that --help is written in for the user.
enum class HelpLanguage { english, japanese_utf8, japanese_cp932 };
// On Windows Japanese in code page 932 where the console's output code page is 932 (without a
// console, the OEM code page); elsewhere as help_language_of says for the environment.
HelpLanguage help_language();
// The first of LC_ALL, LC_MESSAGES and LANG that is set and not empty (null: unset) names the
// locale, as setlocale takes them. Japanese when it begins with "ja", in UTF-8 when its codeset
// is UTF-8 (in any letter case, with or without the hyphen), else in code page 932.
HelpLanguage help_language_of(const char* lc_all, const char* lc_messages, const char* lang);

// A second thread that runs one job at a time while the thread that hands them on goes on.
// There is one such thread; false when it is already running or cannot be had, and then the
// caller does the work itself.
bool start_worker(void (*job)(const void* arg));
// Waits until the job handed before is done, then hands on job(arg); arg is not null.
void hand_to_worker(const void* arg);
// Waits until the last job is done and ends the thread.
void end_worker();
