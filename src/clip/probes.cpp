#include "clip/probes.h"

#include "boundary/boundary.h"
#include "geometry/geometry.h"

// The counts are added in the order written: each call leaves its own diagnostics.
int chord_crossings(const Point& p, const Point& E1, const Point& E2, int* chord) {
    Segment probe, edge;
    __T2_LN(p, Pmin[1], probe);
    __T2_LN(E1, E2, edge);
    KPcnt = 0;
    *chord = Koten_lnln(edge, probe, 0);
    int count = *chord;
    count += Koten_en_ln(probe, 1);
    return count;
}

int sector_crossings(const Point& p, const Point& E1, const Point& E2, int* second) {
    Segment probe, radius1, radius2;
    __T2_LN(p, Pmin[1], probe);
    __T2_LN(E1, K_CPT, radius1);
    __T2_LN(E2, K_CPT, radius2);
    KPcnt = 0;
    int count = Koten_lnln(radius1, probe, 0);
    count += Koten_en_ln(probe, 1);
    KPcnt = 0;
    *second = Koten_lnln(radius2, probe, 0);
    count += *second;
    return count;
}
