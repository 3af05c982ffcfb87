#include <cstdio>
#include <cstring>

#include "boundary/boundary.h"
#include "clip/clip.h"
#include "driver/driver.h"
#include "exchange/attributes.h"
#include "exchange/format.h"
#include "exchange/platform.h"
#include "exchange/postpass.h"
#include "exchange/textio.h"
#include "geometry/geometry.h"

static const char USAGE[] =
    "usage: circle_erase [-m<mode>] [-i] [-c] [-e<cl>] [-f<cl>] [-t | -t2]\n"
    "\n"
    "Erases from ZOD_UZUD.TXT, in the current directory, what lies inside the circle,\n"
    "ellipse or arc designated after the marker record \"hhp1ci\", and rewrites the file.\n"
    "\n"
    "  -m<mode>  1 whole circle or ellipse (default); 2 sector of the arc; 3 sector and its\n"
    "            radii drawn; 4 segment between arc and chord; 5 segment and its chord drawn\n"
    "  -i        crop instead: keep what lies inside the region, drop what lies outside\n"
    "  -c        cut circles, arcs and ellipses at the region's edge too (else they stay\n"
    "            whole)\n"
    "  -e<cl>    lines of colour c and line type l are left whole (e.g. -e25); default 00\n"
    "  -f<cl>    a second colour and line type left whole\n"
    "  -t, -t2   test mode: diagnostics into the file (-t) or on the console (-t2); the work\n"
    "            file ZOD_UZUD.$$$ is kept\n"
    "  --help    this text;  --version  the version\n"
    "\n"
    "Options may start with '-' or '/', in any letter case. Exit status 0 when the file was\n"
    "rewritten (a refused boundary included: the reply is in the file), 1 when it could not\n"
    "be read or written.\n";

int run(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) return std::fputs(USAGE, stdout), 0;
        if (std::strcmp(argv[i], "--version") == 0) return std::puts("circle_erase " CE_VERSION), 0;
    }
    PTcnt = 0;
    PAI = 3.141592653589793;
    gomi = 0.00025;
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] == '-' || argv[i][0] == '/') OPT(argv[i]);

    normalise_name();
    long long lines = Tcopy("ZOD_UZUD.TXT", "ZOD_UZUD.$$$");
    if (lines < 0) {
        if (isTest == 0) remove_file("ZOD_UZUD.$$$");
        return 1;
    }
    if (isTest == 2) {
        say("# Tcopy()end K_CX---K_JK (%.1f %.1f %.1f   %.1f %.1f   %.1f %.1f)\n", K_CX, K_CY, K_CR,
            K_SK, K_EK, K_HP, K_JK);
        say("#            Pmin(%.1f , %.1f)(%.1f , %.1f)(%.1f , %.1f)\n", Pmin[0].x, Pmin[0].y,
            Pmin[1].x, Pmin[1].y, Pmin[2].x, Pmin[2].y);
        say("#            d_max(%d) scale(%.1f)\n", lines, scale);
    }

    // A failed run leaves the exchange file as it was and, outside the test modes, no work file.
    auto fail = [] {
        if (isTest == 0) remove_file("ZOD_UZUD.$$$");
        return 1;
    };
    // Outside the test modes nobody sees the work file, so the main pass writes the new
    // exchange file itself, through the same check the copy makes.
    const bool direct = isTest == 0;
    if (!(direct ? open_new_exchange() : writer_open(fpw, "ZOD_UZUD.$$$"))) return fail();
    if (!reader_open(fp, "ZOD_UZUD.TXT")) {
        direct ? close_new_exchange(false) : writer_close(fpw);
        return fail();
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
    if (direct) return close_new_exchange(read_ok) ? (remove_file("ZOD_UZUD.$$$"), 0) : fail();
    if (!writer_close(fpw) || !read_ok) return fail();
    return ChkPL() ? 0 : fail();
}
