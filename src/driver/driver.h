// The run as a whole: options, the file name, the passes and the main-pass dispatch.
#pragma once

#include "exchange/platform.h"
#include "exchange/run.h"

void reset_all(); // every subsystem's state as at start-up

void OPT(const char* arg);
int EX_CLCT();
void normalise_name();
void main_pass();

// The text of --help in the language and encoding given.
const char* help_text(HelpLanguage language);

// The whole run; returns the exit status. Test mode 2's console lines count for nothing in it:
// the file is what the host reads.
int run(int argc, char** argv);
