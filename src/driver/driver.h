// The run as a whole: options, the file name, the passes and the main-pass dispatch.
#pragma once

#include "exchange/platform.h"
#include "exchange/record.h"
#include "exchange/settings.h"

void reset_all(); // every subsystem's state as at start-up

// One option, its prefix '-' or '/' included, into the settings; an unknown letter is reported.
void OPT(const char* arg);
// 1 when the current colour and line type are one of the excluded pairs (-e, -f), else 0.
int EX_CLCT();
// Whether the exchange file is anywhere a run would look for it: in any spelling, or under a
// passing name of the renames below.
bool exchange_in_sight();
// The host's other spellings of the exchange file, or a passing name that holds it, renamed to
// its one name, never over it. On Windows under the lock of lock_beside.
void normalise_name();
// The main pass over fp into fpw, up to its end or a refused boundary.
void main_pass();

// The text of --help in the language and encoding given.
const char* help_text(HelpLanguage language);

// The whole run; returns the exit status. Test mode 2's console lines count for nothing in it:
// the file is what the host reads.
int run(int argc, char** argv);
