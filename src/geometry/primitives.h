// The primitives: distance, angle folding, segment assembly, direction class, the tolerance
// box. They hold no state and include no subsystem, so the boundary's set-up may use them too.
#pragma once

#include "base/angles.h"
#include "base/constants.h"
#include "base/point.h"

double __Distance(const Point& p, const Point& q);
// out becomes the segment from p to q. Returns 0.
int __T2_LN(const Point& p, const Point& q, Segment& out);
// The direction class of s by its angle in degrees: 1 for [0, 90), 2 for [90, 180], 3 for
// [-180, -90], 4 for (-90, 0); a segment of length 0 is 1.
int Dsen(const Segment& s);
// v lies strictly between a and b, widened by e on both sides; a NaN anywhere fails.
inline bool within(double v, double a, double b, double e) {
    return (a - e < v && v < b + e) || (b - e < v && v < a + e); // not min/max: NaN fails both
}
