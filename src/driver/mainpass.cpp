#include <cmath>

#include "boundary/boundary.h"
#include "boundary/circles.h"
#include "clip/clip.h"
#include "driver/driver.h"
#include "exchange/attributes.h"
#include "exchange/output.h"
#include "text/fields.h"
#include "text/format.h"
#include "text/segment_record.h"
#include "text/streams.h"

// The error replies, in code page 932.
static const char* const REPLY[4] = {
    nullptr,
    "\x8Ew\x92\xE8\x83G\x83\x89\x81[(\x89~\x82\xAA\x8F\xAC\x82\xB3\x82\xA2)",
    "\x8Ew\x92\xE8\x83G\x83\x89\x81[(\x89~\x8C\xCA\x82\xC5\x82\xC8\x82\xA2)",
    "\x8Ew\x92\xE8\x83G\x83\x89\x81[(\x89~or\x91\xC4\x89~\x82\xF0\x8Ew\x92\xE8\x82\xB5\x82\xC4"
    "\x82\xAD\x82\xBE\x82\xB3\x82\xA2)",
};

static char at(std::string_view rec, std::size_t i) { return i < rec.size() ? rec[i] : '\0'; }

// The boundary is validated once per run, before the first body record. False on a refusal,
// after the reply: the pass then ends.
static bool validate() {
    // With -a the body's circles are the region where nothing was designated.
    if (isAll && HHP_FIND[1] == 0 && !CIRCLES.empty()) {
        isDesignated = 0;
        SHARP = 0;
        return true;
    }
    int code = Pre_del();
    SHARP = 0;
    if (code == 0) return true;
    emit("he  %s\nh#  %s\n", REPLY[code], REPLY[code]);
    return false;
}

static void designated_point(std::string_view rec) {
    auto form = [&](char sign) {
        Fields f = fields(rec, 2).d(PTcnt);
        if (sign) f.lit(sign);
        f.lf(PTX).lf(PTY);
        if (PTcnt < 0 || PTcnt > 3) return false;
        PT[PTcnt] = {PTX, PTY};
        return true;
    };
    if ((at(rec, 3) == '+' || at(rec, 4) == '+') && form('+')) return;
    if ((at(rec, 3) == '-' || at(rec, 4) == '-') && form('-')) return;
    if (at(rec, 3) == ' ') form('\0');
}

static void segment(std::string_view rec) {
    if (EX_CLCT() || is_protected()) return WR_BACK(rec);
    read_segment(rec, ILINE);
    if (ILINE.x1 == ILINE.x2 && ILINE.y1 == ILINE.y2) return;
    // A coordinate that is not finite gives the line no place: it goes back as it came.
    for (double v : {ILINE.x1, ILINE.y1, ILINE.x2, ILINE.y2})
        if (!std::isfinite(v)) return WR_BACK(rec);
    Del_c_l();
}

// Circles in the header, where the boundary is not set up yet, and in a polyline block stay
// whole; so do excluded and protected ones, as segments do.
static bool cut_curve() {
    return isCurve && SHARP != 20 && PL != 1 && !EX_CLCT() && !is_protected();
}

// A record copied as it is; after restyled pieces, the colour and type in force come first.
static void echo(std::string_view rec) {
    restyle_end();
    put_record(fpw, rec);
}

// The pre-scan has captured every first value already. The restore before the record is of
// the values before it.
static void attribute(std::string_view rec) {
    echo(rec);
    read_attribute(rec, false);
}

// Handles one record; false when the pass must end after it.
static bool dispatch(std::string_view rec) {
    char c0 = at(rec, 0), c1 = at(rec, 1);
    bool entity = c0 == ' ' || (c0 == 'p' && c1 == 't') || (c0 == 'c' && (c1 == 'h' || c1 == 'v'));
    // Without a comment record before the body, the boundary is set up at its first entity.
    if (entity && SHARP == 20 && !validate()) return false;
    switch (c0) {
    case 'h':
        if (c1 == 'q')
            echo("hd\n");
        else if (c1 == 'p')
            designated_point(rec);
        return true;
    case '#': {
        echo(rec);
        bool go_on = SHARP != 20 || validate();
        SHARP = 0;
        PL = 0;
        PLcnt = 0;
        return go_on;
    }
    case ' ':
        segment(rec);
        return true;
    case 'z':
        fields(rec, 1).d(ZOKU);
        return true;
    case 'c':
        if (c1 == 'n') {
            attribute(rec);
        } else if (c1 == 'h' || c1 == 'v') {
            if (is_protected()) return WR_BACK(rec), true;
            fields(rec, 0).c2(ChHEAD).lf(ChX).lf(ChY).lf(ChDX).lf(ChDY);
            if (Del_moji() == 1) WR_BACK(rec);
        } else if (c1 == 'i' && cut_curve()) {
            bool short_form = read_circle(rec);
            // The boundaries of -a are what the drafter drew around the things to clear.
            if (boundary_circle(short_form))
                WR_BACK(rec);
            else if (int whole = Del_c_c(short_form))
                WR_BACK(rec, whole == 2);
        } else if (c1 == 'i' || c1 == 'o' || c1 == 'p' || c1 == 'r' || c1 == 's' || c1 == 't') {
            WR_BACK(rec);
        } else {
            echo(rec);
        }
        return true;
    case 'p':
        if (c1 == 'n') {
            attribute(rec);
        } else if (c1 == 't') {
            if (is_protected()) return WR_BACK(rec), true;
            fields(rec, 2).lf(IPOINT.x).lf(IPOINT.y);
            if (Del_ten() == 1) WR_BACK(rec);
        } else if (c1 == 'l') {
            PL = 1;
        }
        return true;
    case 'l': // ends a polyline block
        attribute(rec);
        PL = 0;
        PLcnt = 0;
        return true;
    default:
        echo(rec);
        return true;
    }
}

void main_pass() {
    long long n = 0;
    std::string_view rec;
    start_in_force();
    while (read_record(fp, rec)) {
        ZZ_ZOKUSEI(n++);
        if (!dispatch(rec)) break;
    }
    restyle_end();
}
