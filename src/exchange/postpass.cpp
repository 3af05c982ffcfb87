#include "exchange/postpass.h"

#include <string>

#include "exchange/platform.h"
#include "exchange/textio.h"

static const char NEW_NAME[] = "ZOD_UZUD.$$N";

static bool starts(const std::string& b, const char* tag) {
    return b.compare(0, std::char_traits<char>::length(tag), tag) == 0;
}

// The window holds five records; each leaves it four reads after it entered.
bool ChkPL() {
    static std::string B[5]; // B[0] the record just read .. B[4] the oldest
    for (auto& b : B) b.clear();
    // The host's file is replaced only by a complete copy that has reached the disk.
    if (!may_replace("ZOD_UZUD.TXT")) return false;
    if (!reader_open(fp, "ZOD_UZUD.$$$")) return false;
    if (!writer_open(fpw, NEW_NAME)) {
        reader_close(fp);
        return false;
    }
    copy_mode("ZOD_UZUD.TXT", fpw.f);
    std::string_view rec;
    while (read_record(fp, rec)) {
        B[0].assign(rec);
        if (starts(B[2], "pl") && starts(B[1], " ") && starts(B[0], "#")) {
            B[2] = "#pl\n";
        } else if (starts(B[3], "pl") && starts(B[2], "z") && starts(B[1], " ") &&
                   starts(B[0], "#")) {
            B[3] = "#pl\n";
        } else if (starts(B[4], "pl") && starts(B[3], "z") && starts(B[2], "z") &&
                   starts(B[1], " ") && starts(B[0], "#")) {
            B[4] = "#pl\n";
        }
        if (!B[4].empty()) put_record(fpw, B[4]);
        B[4].swap(B[3]);
        B[3].swap(B[2]);
        B[2].swap(B[1]);
        B[1].swap(B[0]);
    }
    for (int i = 4; i >= 1; --i)
        if (!B[i].empty()) put_record(fpw, B[i]);
    bool read_ok = reader_close(fp);
    bool write_ok = writer_close(fpw, true);
    if (read_ok && write_ok && rename_replace(NEW_NAME, "ZOD_UZUD.TXT")) return true;
    remove_file(NEW_NAME);
    return false;
}
