#include <cstdio>
#include <cstring>
#include <exception>
#include <new>

#include "boundary/boundary.h"
#include "clip/clip.h"
#include "driver/driver.h"
#include "exchange/attributes.h"
#include "exchange/format.h"
#include "exchange/platform.h"
#include "exchange/postpass.h"
#include "exchange/textio.h"
#include "geometry/geometry.h"

// Once the run has the exchange file, every failure says on one line what went wrong. The file
// is left as it was, the work files are removed (the test modes keep theirs) and the status is 1.
static int failure(const char* why) {
    std::fprintf(stderr, "circle_erase: %s; ZOD_UZUD.TXT is left as it was\n", why);
    return 1;
}

static void remove_work_files() {
    remove_file(NEW_NAME);
    if (isTest == 0) remove_file("ZOD_UZUD.$$$");
}

static int fail(const char* why) {
    remove_work_files();
    return failure(why);
}

// The passes over the exchange file src, which they close once read: Windows cannot replace a
// file that is open.
static int passes(std::FILE*& src) {
    // The host's file is replaced only when the host may write it.
    if (!may_replace("ZOD_UZUD.TXT")) return failure("ZOD_UZUD.TXT is read-only");
    long long lines = Tcopy(src, "ZOD_UZUD.$$$");
    if (lines == -1) return fail("cannot read ZOD_UZUD.TXT");
    if (lines < 0) return fail("cannot create ZOD_UZUD.$$$");
    if (isTest == 2) {
        say("# Tcopy()end K_CX---K_JK (%.1f %.1f %.1f   %.1f %.1f   %.1f %.1f)\n", K_CX, K_CY, K_CR,
            K_SK, K_EK, K_HP, K_JK);
        say("#            Pmin(%.1f , %.1f)(%.1f , %.1f)(%.1f , %.1f)\n", Pmin[0].x, Pmin[0].y,
            Pmin[1].x, Pmin[1].y, Pmin[2].x, Pmin[2].y);
        say("#            d_max(%d) scale(%.1f)\n", lines, scale);
    }

    // Outside the test modes nobody sees the work file, so the main pass writes the new
    // exchange file itself, through the same check the copy makes.
    const bool direct = isTest == 0;
    if (!(direct ? open_new_exchange() : writer_open(fpw, "ZOD_UZUD.$$$")))
        return fail(direct ? "cannot create ZOD_UZUD.$$N" : "cannot create ZOD_UZUD.$$$");
    if (!reader_open_stream(fp, src)) {
        writer_abandon(fpw);
        return fail("cannot read ZOD_UZUD.TXT");
    }
    SHARP = 20;
    if (isTest == 2) say("# PATTERN\n");
    main_pass();
    if (isTest == 2) say("# olineMAX(%d) isBorder(%d)\n", olineMAX, isBorder);
    if (isTest == 1) {
        __TEN(Pmin[0]);
        emit("# olineMAX(%d)  Pmin(%.1f , %.1f)(%.1f , %.1f)(%.1f , %.1f)\n", olineMAX, Pmin[0].x,
             Pmin[0].y, Pmin[1].x, Pmin[1].y, Pmin[2].x, Pmin[2].y);
    }
    IniZokusei();
    bool read_ok = reader_close(fp);
    std::fclose(src);
    src = nullptr;
    if (!read_ok) {
        writer_abandon(fpw);
        return fail("cannot read ZOD_UZUD.TXT");
    }
    if (direct) {
        if (!close_new_exchange(true)) return fail("cannot write ZOD_UZUD.$$N");
        remove_file("ZOD_UZUD.$$$");
        return 0;
    }
    if (!writer_close(fpw)) return fail("cannot write ZOD_UZUD.$$$");
    return ChkPL() ? 0 : fail("cannot copy ZOD_UZUD.$$$ into ZOD_UZUD.TXT");
}

int run(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        bool help = std::strcmp(argv[i], "--help") == 0;
        if (!help && std::strcmp(argv[i], "--version") != 0) continue;
        help ? std::fputs(help_text(help_language()), stdout)
             : std::puts("circle_erase " CE_VERSION);
        return std::fflush(stdout) == 0 ? 0 : 1; // the text was all that was asked for
    }
    PTcnt = 0;
    PAI = 3.141592653589793;
    gomi = 0.00025;
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] == '-' || argv[i][0] == '/') OPT(argv[i]);

    normalise_name();
    std::FILE* src = nullptr;
    switch (open_exchange("ZOD_UZUD.TXT", src)) {
    case Exchange::opened:
        break;
    case Exchange::missing:
        return 1; // as the host has always seen it: no file, no message
    case Exchange::not_regular:
        return failure("ZOD_UZUD.TXT is not a regular file");
    case Exchange::in_use:
        return failure("ZOD_UZUD.TXT is in use by another run");
    case Exchange::failed:
        return failure("cannot open ZOD_UZUD.TXT");
    }
    int status;
    try {
        status = passes(src);
    } catch (const std::exception& e) {
        reader_close(fp);
        writer_abandon(fpw);
        status = fail(dynamic_cast<const std::bad_alloc*>(&e) ? "out of memory" : e.what());
    }
    if (src) std::fclose(src);
    unlock_exchange();
    return status;
}
