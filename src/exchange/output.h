// The streams of the pass that is running, its input and its output, and records into that
// output.
#pragma once

#include "text/format.h"
#include "text/streams.h"

extern Reader fp;
extern Writer fpw;

// A record into the output of the running pass.
template <class... A> void emit(const char* fmt, const A&... a) { vemit(fpw, fmt, {FmtArg(a)...}); }
