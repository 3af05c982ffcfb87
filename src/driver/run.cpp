#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>

#include "boundary/boundary.h"
#include "boundary/circles.h"
#include "clip/clip.h"
#include "driver/driver.h"
#include "exchange/attributes.h"
#include "exchange/names.h"
#include "exchange/output.h"
#include "exchange/postpass.h"
#include "geometry/geometry.h"
#include "os/os.h"
#include "text/format.h"
#include "text/streams.h"

// Once the run has the exchange file, every failure says on one line what went wrong. The file
// is left as it was and the status is 1.
static void report(const char* why, std::va_list args) {
    std::fputs("circle_erase: ", stderr);
    std::vfprintf(stderr, why, args);
    std::fprintf(stderr, "; %s is left as it was\n", EXCHANGE_NAME);
}

[[gnu::format(printf, 1, 2)]] static int failure(const char* why, ...) {
    std::va_list args;
    va_start(args, why);
    report(why, args);
    va_end(args);
    return 1;
}

// A failure once the run has made its files: they go (the test modes keep the work file).
[[gnu::format(printf, 1, 2)]] static int fail(const char* why, ...) {
    remove_file(NEW_NAME);
    if (isTest == 0) remove_file(WORK_NAME);
    std::va_list args;
    va_start(args, why);
    report(why, args);
    va_end(args);
    return 1;
}

long long prescan(std::FILE* src) {
    // The host has just written its file: on disk it must go before the new one replaces it,
    // and it goes there beside the scan rather than within the final sync.
    sync_in_background(src);
    // The work file is created empty here; the main pass fills it.
    if (!writer_open(fpw, WORK_NAME) || !writer_close(fpw)) return -2;
    long long lines = Tcopy(src);
    index_circles();
    return lines;
}

// The passes over the exchange file src, which they close once read: Windows cannot replace a
// file that is open.
static int passes(std::FILE*& src) {
    // The host's file is replaced only when the host may write it.
    if (!may_replace(EXCHANGE_NAME)) return failure("%s is read-only", EXCHANGE_NAME);
    long long lines = prescan(src);
    if (lines == -1) return fail("cannot read %s", EXCHANGE_NAME);
    if (lines < 0) return fail("cannot create %s", WORK_NAME);
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
    if (!(direct ? open_new_exchange() : writer_open(fpw, WORK_NAME)))
        return fail("cannot create %s", direct ? NEW_NAME : WORK_NAME);
    if (!reader_open_stream(fp, src)) {
        writer_abandon(fpw);
        return fail("cannot read %s", EXCHANGE_NAME);
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
        return fail("cannot read %s", EXCHANGE_NAME);
    }
    if (direct) {
        if (!close_new_exchange(true)) return fail("cannot write %s", NEW_NAME);
        remove_file(WORK_NAME);
        return 0;
    }
    if (!writer_close(fpw)) return fail("cannot write %s", WORK_NAME);
    return ChkPL() ? 0 : fail("cannot copy %s into %s", WORK_NAME, EXCHANGE_NAME);
}

int run(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        bool help = std::strcmp(argv[i], "--help") == 0;
        if (!help && std::strcmp(argv[i], "--version") != 0) continue;
        help ? std::fputs(help_text(help_language()), stdout)
             : std::puts("circle_erase " CE_VERSION);
        return std::fflush(stdout) == 0 ? 0 : 1; // the text was all that was asked for
    }
    reset_all();
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] == '-' || argv[i][0] == '/') OPT(argv[i]);

    // As the host has always seen it: no file, no message. Also no lock file where there is
    // nothing to lock.
    if (!exchange_in_sight()) return 1;
    std::FILE* src = nullptr;
    Exchange got = lock_beside(EXCHANGE_NAME);
    if (got == Exchange::opened) {
        normalise_name();
        got = open_exchange(EXCHANGE_NAME, src);
    }
    switch (got) {
    case Exchange::opened:
        break;
    case Exchange::missing:
        return 1;
    case Exchange::not_regular:
        return failure("%s is not a regular file", EXCHANGE_NAME);
    case Exchange::in_use:
        return failure("%s is in use by another run", EXCHANGE_NAME);
    case Exchange::failed:
        return failure("cannot open %s", EXCHANGE_NAME);
    }
    int status;
    try {
        status = passes(src);
    } catch (const std::exception& e) {
        reader_close(fp);
        writer_abandon(fpw);
        bool memory = dynamic_cast<const std::bad_alloc*>(&e) != nullptr;
        status = fail("%s", memory ? "out of memory" : e.what());
    }
    if (src) std::fclose(src);
    unlock_exchange();
    return status;
}
