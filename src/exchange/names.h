// The name the host's exchange file goes by.
#pragma once

// The host's other spellings of the exchange file renamed to its one name, never over it.
void normalise_name();
