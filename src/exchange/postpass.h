// The new exchange file and the check on its way there: the block marker is taken back from
// polyline blocks that hold a single segment. Outside the test modes the main pass writes
// through the check; in them the last pass copies the work file through it.
#pragma once
#include <string_view>

#include "exchange/settings.h"
#include "text/streams.h"

// False when either file cannot be opened or a read or write fails.
bool ChkPL();

// fpw onto the new exchange file, with the check as its filter; false when it cannot be created.
bool open_new_exchange();
// Closes fpw, makes it durable and puts it in the host file's place when ok and every write
// succeeded; else removes it. True when it is in place.
bool close_new_exchange(bool ok);

// The same check as a writer's filter, on bytes as the writer puts them out (CR LF line
// ends), so that a pass can write the exchange file directly. Its state is the writer's own,
// from a clean start to the writer's close.
void check_markers(Writer& w);
