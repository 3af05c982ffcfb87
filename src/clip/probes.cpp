#include "clip/probes.h"

#include "boundary/boundary.h"
#include "exchange/settings.h"
#include "geometry/geometry.h"

int circle_crossings(const Segment& s, int flag) {
    return isTest == 0 && clear_of_circle(s) ? 0 : Koten_en_ln(s, flag);
}

// The counts are added in the order written: each call leaves its own diagnostics.
int chord_crossings(const Point& p, const Point& E1, const Point& E2, int* chord) {
    Segment probe, edge;
    __T2_LN(p, Pmin[1], probe);
    __T2_LN(E1, E2, edge);
    KPcnt = 0;
    *chord = Koten_lnln(edge, probe, 0);
    int count = *chord;
    count += circle_crossings(probe, 1);
    return count;
}

int sector_crossings(const Point& p, const Point& E1, const Point& E2, int* second) {
    Segment probe, radius1, radius2;
    __T2_LN(p, Pmin[1], probe);
    __T2_LN(E1, K_CPT, radius1);
    __T2_LN(E2, K_CPT, radius2);
    KPcnt = 0;
    int count = Koten_lnln(radius1, probe, 0);
    count += circle_crossings(probe, 1);
    KPcnt = 0;
    *second = Koten_lnln(radius2, probe, 0);
    count += *second;
    return count;
}

bool in_region(const Point& p, const ClipFrame& f, bool by_probe, int* count, int* edge) {
    bool inside = true;
    if (iMode <= 1 && !by_probe) {
        inside = !(__Distance(p, K_CPT) > K_CR);
    } else if (iMode <= 1) {
        // Towards the centre, which lies inside: an outside point crosses the circle. The short
        // answer leaves the count, which only the diagnostics show.
        inside = false;
        if (isTest != 0 || !crosses_on_way_to_centre(p)) {
            Segment probe;
            __T2_LN(p, {K_CX, K_CY}, probe);
            *count = circle_crossings(probe, 1);
            inside = *count == 0;
        }
    } else if (iMode == 3) {
        // Towards the outside reference point: an odd number of edge crossings is inside.
        *count = chord_crossings(p, f.E1, f.E2, edge);
        inside = *count == 1;
    } else if (iMode == 2) {
        *count = sector_crossings(p, f.E1, f.E2, edge);
        inside = *count == 1 || *count == 3;
    }
    // Through a corner a single crossing counts on both edges that meet there.
    if (probe_near_corner(p, iMode, f.E1, f.E2)) inside = inside_region(p, iMode, f.E1, f.E2);
    return inside;
}
