#include "exchange/names.h"

#include <cstdio>
#include <initializer_list>

#include "exchange/settings.h"
#include "os/os.h"

static const char* const variants[] = {"zod_uzud.txt", "ZOD_UZUD.txt", "zod_uzud.TXT"};
// The passing names of a rename in letter case only, where names ignore case.
static const char FIRST[] = "DUR_o2r2.$$", SECOND[] = "DUR_o2r2.$$$";

bool exchange_in_sight() {
    for (const char* name : {EXCHANGE_NAME, FIRST, SECOND})
        if (stored_as(name) != Stored::none) return true;
    for (const char* name : variants)
        if (stored_as(name) != Stored::none) return true;
    return false;
}

// The host may have written the exchange file in another letter case; bring it to the one name
// the passes open. Renames only when that name is not already the one held: every rename is a
// moment at which a run stopped would leave the drawing elsewhere.
void normalise_name() {
    switch (stored_as(EXCHANGE_NAME)) {
    case Stored::as_named:
        return;
    case Stored::other_case:
        // The name itself cannot be renamed in case alone: two steps through passing names.
        for (const char* name : variants) {
            if (!rename_noreplace(name, FIRST)) continue;
            // Follow the file itself, so that a stray file at a passing name is never taken for it.
            const char* at = FIRST;
            if (rename_noreplace(at, SECOND)) at = SECOND;
            // Never replace an exchange file that is already there: give the file its name back.
            if (!rename_noreplace(at, EXCHANGE_NAME)) rename_noreplace(at, name);
            return;
        }
        return;
    case Stored::none:
        break;
    }
    for (const char* name : variants)
        if (stored_as(name) != Stored::none) {
            rename_noreplace(name, EXCHANGE_NAME);
            return;
        }
    // Nothing in any spelling: a run stopped between those two steps left the drawing under a
    // passing name.
    for (const char* name : {FIRST, SECOND})
        if (rename_noreplace(name, EXCHANGE_NAME)) {
            std::fprintf(
                stderr,
                "circle_erase: %s, left as %s by a run that was stopped, has its name back\n",
                EXCHANGE_NAME, name);
            return;
        }
}
