// The name the host's exchange file goes by.
#pragma once

// Whether the exchange file is anywhere a run would look for it: in any spelling, or under a
// passing name of the renames below.
bool exchange_in_sight();
// The host's other spellings of the exchange file, or a passing name that holds it, renamed to
// its one name, never over it. On Windows under the lock of lock_beside.
void normalise_name();
