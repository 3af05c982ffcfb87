#include "driver/driver.h"
#include "exchange/platform.h"

// The host may have written the exchange file in another letter case; bring it to the one
// name the passes open. Two steps through temporary names make the rename work on a file
// system that ignores case.
void normalise_name() {
    static const char* const variants[] = {"zod_uzud.txt", "ZOD_UZUD.txt", "zod_uzud.TXT"};
    for (const char* name : variants) {
        if (!rename_noreplace(name, "DUR_o2r2.$$")) continue;
        // Follow the file itself, so that a stray temporary file is never taken for it.
        const char* at = "DUR_o2r2.$$";
        if (rename_noreplace(at, "DUR_o2r2.$$$")) at = "DUR_o2r2.$$$";
        // Never replace an exchange file that is already there: give the file its name back.
        if (!rename_noreplace(at, "ZOD_UZUD.TXT")) rename_noreplace(at, name);
    }
}
