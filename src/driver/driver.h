// The run as a whole: options, the file name, the passes and the main-pass dispatch.
#pragma once

#include "exchange/record.h"
#include "exchange/settings.h"
#include "os/os.h"

void reset_all(); // every subsystem's state as at start-up

// One option, its prefix '-' or '/' included, into the settings; an unknown letter is reported.
void OPT(const char* arg);
// The test mode (0, 1 or 2), and the kernel's diagnostics with it.
void set_test_mode(int mode);
// 1 when the current colour and line type are one of the excluded pairs (-e, -f), else 0.
int EX_CLCT();
// The pre-scan of the exchange file src as a run makes it: src's sync asked for, the work file
// created empty, then every line read (Tcopy). -2 when the work file cannot be created.
long long prescan(std::FILE* src);
// The main pass over fp into fpw, up to its end or a refused boundary.
void main_pass();

// The text of --help in the language and encoding given.
const char* help_text(HelpLanguage language);

// The whole run; returns the exit status. Test mode 2's console lines count for nothing in it:
// the file is what the host reads.
int run(int argc, char** argv);
