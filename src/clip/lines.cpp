#include <climits>
#include <cmath>

#include "boundary/boundary.h"
#include "clip/clip.h"
#include "clip/frame.h"
#include "clip/lines.h"
#include "clip/probes.h"
#include "clip/union.h"
#include "exchange/attributes.h"
#include "exchange/output.h"
#include "exchange/record.h"
#include "exchange/settings.h"
#include "geometry/geometry.h"
#include "text/format.h"

// Only "is it 0" and "is it above 0" are ever asked of PLcnt, so it may stop growing.
static void grow_block() {
    if (PLcnt > 0 && PLcnt < INT_MAX) ++PLcnt;
}

// NaN never counts as close.
static bool starts_at_start(const Segment& piece) {
    return std::fabs(ILINE.x1 - piece.x1) < gomi && std::fabs(ILINE.y1 - piece.y1) < gomi;
}

static bool ends_at_end(const Segment& piece) {
    return std::fabs(ILINE.x2 - piece.x2) < gomi && std::fabs(ILINE.y2 - piece.y2) < gomi;
}

// The pieces with their prefixes, and the markers that make the output's polyline blocks
// follow them.
static void write_pieces(const Segment* piece, int pieces) {
    if (PL == 1) {
        if (PLcnt == 0) {
            if (pieces == 1 && ends_at_end(piece[0])) {
                emit("pl\n");
                PLcnt = 1;
            }
        } else if (PLcnt > 0 && pieces >= 1) {
            if (!starts_at_start(piece[0])) emit("#\npl\n");
            grow_block();
        }
    }
    for (int k = 0; k < pieces; ++k) {
        WR_Z_BACK();
        __LINE(piece[k]);
        if (PL == 1) grow_block(); // outside a block the count is left alone
    }
    if (PL == 1 && pieces >= 1 && !ends_at_end(piece[pieces - 1])) {
        emit("#\n");
        PLcnt = 0;
    }
}

// -k: every piece. A run of pieces of one side is written as the kept pieces of a record are,
// as if the rest of the segment were erased, after the switch or the restore that it needs;
// those close an open polyline block first. So each run that goes on into the next segment
// opens a block of its own, one colour and line type throughout.
static void write_sides(const Segment* piece, const bool* restyled, int pieces) {
    for (int k = 0; k < pieces;) {
        int end = k + 1;
        while (end < pieces && restyled[end] == restyled[k]) ++end;
        restyled[k] ? restyle_begin() : restyle_end();
        write_pieces(piece + k, end - k);
        k = end;
    }
}

void write_line_pieces(const Segment* piece, const bool* restyled, int pieces) {
    if (isKeep)
        write_sides(piece, restyled, pieces);
    else
        write_pieces(piece, pieces);
}

static void write_out() { write_line_pieces(OLINE + 1, ORESTYLE + 1, olineMAX - 1); }

// Beyond the bound the kernel's squares would overflow and a line cannot be cut: it stays
// whole, in a crop too, written as the one piece that runs from its start to its end.
static bool beyond_bound(const Segment& l) {
    return !in_bound(l.x1) || !in_bound(l.y1) || !in_bound(l.x2) || !in_bound(l.y2);
}

static int keep_whole(bool restyled = false) {
    OLINE[1] = ILINE;
    ORESTYLE[1] = restyled;
    olineMAX = 2;
    write_out();
    return 0;
}

// A crossing is accepted within a tolerance box, so one may lie on the line's extension a
// little before its start or after its end: cut there, it would give a stub that is not part of
// the line, or fold the line onto one of its ends.
void drop_beyond_ends() {
    const double dx = ILINE.x2 - ILINE.x1, dy = ILINE.y2 - ILINE.y1;
    const double length = dx * dx + dy * dy; // along is measured in the same units
    int n = 3;
    for (int i = 3; i < KPcnt; ++i) {
        const double along = (KP[i].x - ILINE.x1) * dx + (KP[i].y - ILINE.y1) * dy;
        if (along < 0 || along > length) continue;
        KP[n++] = KP[i];
    }
    KPcnt = n;
}

// The list KP: the line's ends, its crossings with the region's edge, sorted along it. Returns
// the count of crossings added; *change gets KPsort's answer.
int cut_points(const ClipFrame& f, int* change) {
    KPcnt = 3;
    KP[1] = {ILINE.x1, ILINE.y1};
    KP[2] = {ILINE.x2, ILINE.y2};
    KP[3] = KP[4] = {0, 0};
    if (isTest == 1 || isTest == 2) {
        __TEN(KP[1]);
        __TEN(KP[2]);
        say("#  KP(%.1f , %.1f) (%.1f , %.1f)\n", KP[1].x, KP[1].y, KP[2].x, KP[2].y);
    }
    int add = circle_crossings(ILINE, 0);
    if (iMode == 3) add += Koten_Gen(ILINE, f.mapped);
    if (iMode == 2) add += Koten_Ko(ILINE, f.mapped);
    drop_beyond_ends();
    *change = KPsort();
    if (isTest == 2) {
        say("#KPsort()end change(%d) add(%d) KPcnt(%d) iMode(%d)\n", *change, add, KPcnt, iMode);
        say("#KPsort()end KP(%.1f , %.1f) (%.1f , %.1f) (%.1f , %.1f) (%.1f , %.1f)\n", KP[1].x,
            KP[1].y, KP[2].x, KP[2].y, KP[3].x, KP[3].y, KP[4].x, KP[4].y);
    }
    return add;
}

// The pieces between neighbours in KP that the run keeps, judged at their midpoints, into
// OLINE. The diagnostic shows the last counts made, else those of the cutting.
static void collect_pieces(const ClipFrame& f, int last_edge, int last_count) {
    const int n = KPcnt;
    olineMAX = 1;
    int i = 1;
    for (; i < n - 1; ++i) {
        Point m = {(KP[i].x + KP[i + 1].x) * 0.5, (KP[i].y + KP[i + 1].y) * 0.5};
        bool inside = in_region(m, f, true, &last_count, &last_edge);
        // An erase keeps the outside pieces, a crop the inside ones; -k keeps the others too.
        bool kept = inside == (isCrop != 0);
        if (kept || isKeep) {
            OLINE[olineMAX] = {KP[i].x, KP[i].y, KP[i + 1].x, KP[i + 1].y};
            ORESTYLE[olineMAX] = !kept;
            ++olineMAX;
        }
    }
    if (isTest == 2)
        say("# iMode2:KO KPcnt(%d) j(%d) add(%d)  KPx(%.1f) OLINE(%.1f) oline(%d) KPcnt(%d)\n", i,
            last_edge, last_count, KP[i].x, OLINE[olineMAX].x1, olineMAX, KPcnt);
}

// A line clear of a whole circle's box has no cut, and its midpoint lies outside: the kernel
// would give it back as its one piece, with the record's own numbers (through an ellipse's frame
// and back they come within gomi of them, and are snapped onto them). A tiny line goes the long
// way, where its ends merge. ILINE is the line in the frame, TLINE the record's.
static bool clear_outside(const ClipFrame& f) {
    if (isTest != 0 || iMode > 1 || !clear_of_circle(ILINE)) return false;
    const double e = gomi / 100;
    if (std::fabs(ILINE.x1 - ILINE.x2) < e && std::fabs(ILINE.y1 - ILINE.y2) < e) return false;
    if (!crosses_on_way_to_centre({(ILINE.x1 + ILINE.x2) * 0.5, (ILINE.y1 + ILINE.y2) * 0.5}))
        return false;
    if (!f.mapped) return true;
    auto near = [](const Point& p, double x, double y) {
        return std::fabs(p.x - x) < gomi && std::fabs(p.y - y) < gomi;
    };
    return near(out_of_frame(f, {ILINE.x1, ILINE.y1}), TLINE.x1, TLINE.y1) &&
           near(out_of_frame(f, {ILINE.x2, ILINE.y2}), TLINE.x2, TLINE.y2);
}

// Snapped onto the record's own end, a piece next to it may shrink to that one point: the host
// would read a line of no length that the drawing never held.
static void drop_empty_pieces() {
    int n = 1;
    for (int k = 1; k < olineMAX; ++k) {
        const Segment& p = OLINE[k];
        if (p.x1 == p.x2 && p.y1 == p.y2) continue;
        OLINE[n] = p;
        ORESTYLE[n] = ORESTYLE[k];
        ++n;
    }
    olineMAX = n;
}

int Del_c_l() {
    if (isTest == 2)
        say("# Del_c_l() K_C(%.1f %.1f %.1f) (%.1f %.1f) (%.1f) (%.1f)\n", K_CX, K_CY, K_CR, K_SK,
            K_EK, K_HP, K_JK);
    TLINE = ILINE;
    K_JK = K_JK0;
    if (beyond_bound(ILINE)) return keep_whole();
    if (isAll && clip_by_union()) return 0;

    const ClipFrame f = clip_frame();
    if (f.mapped) {
        Point a = into_frame(f, {ILINE.x1, ILINE.y1}), b = into_frame(f, {ILINE.x2, ILINE.y2});
        // In the frame of a flat ellipse a line near it may lie far beyond the bound.
        if (beyond_bound({a.x, a.y, b.x, b.y})) return keep_whole();
        ILINE = {a.x, a.y, b.x, b.y};
        reach_below(a, b); // the outside reference point must lie beyond the mapped line too
    }

    if (clear_outside(f)) {
        ILINE = TLINE;
        // An erase keeps it; a crop drops it, or with -k restyles it.
        if (!isCrop || isKeep) return keep_whole(isCrop != 0);
        olineMAX = 1;
        return 0;
    }

    int change = 0;
    int add = cut_points(f, &change);
    // Above the segment mode every piece lies inside: with -k the line is restyled whole (if
    // it has a piece: not when its ends lie within the duplicate tolerance).
    if (isKeep && !isCrop && iMode > 3 && KPcnt > 2) {
        ILINE = TLINE;
        return keep_whole(true);
    }
    collect_pieces(f, change, add);

    if (f.mapped) {
        ILINE = TLINE;
        for (int k = 1; k < olineMAX; ++k) {
            Point a = out_of_frame(f, {OLINE[k].x1, OLINE[k].y1});
            Point b = out_of_frame(f, {OLINE[k].x2, OLINE[k].y2});
            OLINE[k] = {a.x, a.y, b.x, b.y};
        }
    }
    SORT_OLINE(ILINE, olineMAX, isKeep ? ORESTYLE : nullptr);
    drop_empty_pieces();
    if (isTest == 2)
        for (int k = 1; k < olineMAX; ++k)
            say("#  SORT_OLINE()end  (%.1f , %.1f)---(%.1f , %.1f)\n", OLINE[k].x1, OLINE[k].y1,
                OLINE[k].x2, OLINE[k].y2);
    write_out();
    return 0;
}
