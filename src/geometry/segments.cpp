#include "boundary/boundary.h"
#include "geometry/geometry.h"
#include "geometry/trace.h"

int __CROSS(const Segment& A, const Segment& B, const Point& P, int seido) {
    double e = seido != 0 ? gomi : gomi / 100;
    if (!within(P.x, A.x1, A.x2, e)) return 0;
    if (!within(P.y, A.y1, A.y2, e)) return 0;
    if (!within(P.x, B.x1, B.x2, e)) return 0;
    if (!within(P.y, B.y1, B.y2, e)) return 0;
    return 1;
}

// Appends P when it lies on both segments and the list has room; only recording calls store.
static bool take(const Segment& A, const Segment& B, const Point& P, int seido) {
    if (__CROSS(A, B, P, seido) != 1 || KPcnt >= 8) return false;
    if (seido == 1 && KPcnt >= 0) KP[KPcnt] = P;
    ++KPcnt;
    return true;
}

int Koten_lnln(const Segment& A, const Segment& B, int seido) {
    if (TRACE) TRACE->segments(A, B);
    int p = 0, q = 0;
    Point k = {0, 0}; // the last candidate computed, for the diagnostics
    const bool a_vertical = A.x1 == A.x2;
    if (B.x1 == B.x2) {
        if (a_vertical) {
            if (A.x1 == B.x1) {
                k = {B.x1, B.y1};
                if (take(A, B, k, seido)) p = 1;
                k = {B.x1, B.y2};
                if (take(A, B, k, seido)) q = 2;
            }
        } else {
            double mA = (A.y2 - A.y1) / (A.x2 - A.x1);
            k = {B.x1, A.y1 + mA * (B.x1 - A.x1)};
            if (take(A, B, k, seido)) p = 3;
        }
    } else if (a_vertical) {
        double mB = (B.y2 - B.y1) / (B.x2 - B.x1);
        k = {A.x1, B.y1 + mB * (A.x1 - B.x1)};
        p = take(A, B, k, seido) ? 4 : 10;
    } else {
        double mA = (A.y2 - A.y1) / (A.x2 - A.x1);
        double mB = (B.y2 - B.y1) / (B.x2 - B.x1);
        double cA = A.y1 - A.x1 * mA;
        double cB = B.y1 - B.x1 * mB;
        if (mA == mB) {
            if (cA == cB) {
                k = {B.x1, B.y1};
                if (take(A, B, k, seido)) p = 5;
                k = {B.x2, B.y2};
                if (take(A, B, k, seido)) q = 6;
            }
        } else {
            // Along A from its start: intercepts at x = 0 lose every digit on steep lines.
            double dAx = A.x2 - A.x1, dAy = A.y2 - A.y1;
            double dBx = B.x2 - B.x1, dBy = B.y2 - B.y1;
            double den = dAx * dBy - dAy * dBx;
            if (den != 0) {
                double t = ((B.x1 - A.x1) * dBy - (B.y1 - A.y1) * dBx) / den;
                k = {A.x1 + t * dAx, A.y1 + t * dAy};
                if (take(A, B, k, seido)) p = 7;
            }
        }
    }
    if ((p != 0 || q != 0) && TRACE) TRACE->segment_crossing(k, p, q, KPcnt, seido);
    return KPcnt;
}
