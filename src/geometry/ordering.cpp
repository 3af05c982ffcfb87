#include <cmath>

#include "boundary/boundary.h"
#include "exchange/record.h" // PT: the arc's ends
#include "geometry/geometry.h"

static int recorded(const Point& from, const Point& to, const Segment& L) {
    Segment edge;
    __T2_LN(from, to, edge);
    int before = KPcnt;
    Koten_lnln(edge, L, 1);
    return KPcnt - before;
}

int Koten_Ko(const Segment& L, int mapped) {
    const Point& E1 = mapped == 1 ? PTd[1] : PT[1];
    const Point& E2 = mapped == 1 ? PTd[2] : PT[2];
    int d1 = recorded(E1, K_CPT, L);
    int d2 = recorded(E2, K_CPT, L);
    return d1 + d2;
}

int Koten_Gen(const Segment& L, int mapped) {
    const Point& E1 = mapped == 1 ? PTd[1] : PT[1];
    const Point& E2 = mapped == 1 ? PTd[2] : PT[2];
    return recorded(E1, E2, L);
}

static bool after(const Point& a, const Point& b, bool by_y) {
    if (by_y) return a.y > b.y || (a.y == b.y && a.x > b.x);
    return a.x > b.x || (a.x == b.x && a.y > b.y);
}

int KPsort() {
    const int N = KPcnt;
    if (N > 8) return 2;
    const double e = gomi / 100;
    int n = N;
    // The earlier entry of a pair survives, so the line's own ends beat crossings on them.
    for (int i = 1; i < n; ++i) {
        int j = i + 1;
        while (j < n) {
            if (std::fabs(KP[i].x - KP[j].x) < e && std::fabs(KP[i].y - KP[j].y) < e) {
                for (int k = j; k < n - 1; ++k) KP[k] = KP[k + 1];
                --n;
            } else {
                ++j;
            }
        }
    }
    // Along a steep line x is rounding noise: y orders the cuts there.
    const bool by_y = n > 2 && std::fabs(KP[2].y - KP[1].y) > std::fabs(KP[2].x - KP[1].x);
    for (int i = 2; i < n; ++i) {
        Point key = KP[i];
        int j = i - 1;
        for (; j >= 1 && after(KP[j], key, by_y); --j) KP[j + 1] = KP[j];
        KP[j + 1] = key;
    }
    if (n != N) {
        KPcnt = n;
        return 1;
    }
    return 0;
}

// A class differs also for pieces that run the line's way but lie a rounding off its
// quadrant boundary (a cut on a radius at 90 degrees); only a negative dot product reverses.
static bool runs_against(const Segment& piece, const Segment& line, int line_class) {
    if (Dsen(piece) == line_class) return false;
    double dot =
        (piece.x2 - piece.x1) * (line.x2 - line.x1) + (piece.y2 - piece.y1) * (line.y2 - line.y1);
    return dot < 0;
}

int SORT_OLINE(const Segment& line, int n, bool* tags) {
    const int last = n - 1 < 8 ? n - 1 : 8; // OLINE has slots 1 to 8
    if (last < 1) return 0;
    const int d = Dsen(line);
    double key[9];
    for (int i = 1; i <= last; ++i) {
        Segment& s = OLINE[i];
        if (runs_against(s, line, d)) s = {s.x2, s.y2, s.x1, s.y1};
        double dx = line.x1 - s.x1;
        double dy = line.y1 - s.y1;
        key[i] = dx * dx + dy * dy;
    }
    for (int i = 2; i <= last; ++i) {
        Segment s = OLINE[i];
        double k = key[i];
        bool tag = tags && tags[i];
        int j = i - 1;
        for (; j >= 1 && key[j] > k; --j) {
            OLINE[j + 1] = OLINE[j];
            key[j + 1] = key[j];
            if (tags) tags[j + 1] = tags[j];
        }
        OLINE[j + 1] = s;
        key[j + 1] = k;
        if (tags) tags[j + 1] = tag;
    }
    // An end is given the record's own numbers only where it is the record's end: snapping one
    // coordinate alone would move a cut on a nearly level line off the line.
    Segment& first = OLINE[1];
    if (std::fabs(first.x1 - line.x1) < gomi && std::fabs(first.y1 - line.y1) < gomi)
        first.x1 = line.x1, first.y1 = line.y1;
    Segment& end = OLINE[last];
    if (std::fabs(end.x2 - line.x2) < gomi && std::fabs(end.y2 - line.y2) < gomi)
        end.x2 = line.x2, end.y2 = line.y2;
    return 0;
}
