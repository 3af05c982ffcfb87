#include "exchange/names.h"
#include "exchange/settings.h"
#include "os/os.h"

// The host may have written the exchange file in another letter case; bring it to the one
// name the passes open. Two steps through temporary names make the rename work on a file
// system that ignores case.
void normalise_name() {
    static const char* const variants[] = {"zod_uzud.txt", "ZOD_UZUD.txt", "zod_uzud.TXT"};
    static const char FIRST[] = "DUR_o2r2.$$", SECOND[] = "DUR_o2r2.$$$";
    for (const char* name : variants) {
        if (!rename_noreplace(name, FIRST)) continue;
        // Follow the file itself, so that a stray temporary file is never taken for it.
        const char* at = FIRST;
        if (rename_noreplace(at, SECOND)) at = SECOND;
        // Never replace an exchange file that is already there: give the file its name back.
        if (!rename_noreplace(at, EXCHANGE_NAME)) rename_noreplace(at, name);
    }
}
