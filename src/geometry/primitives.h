// The primitives: distance, angle folding, segment assembly, direction class, the tolerance
// box. They hold no state and include no subsystem, so the boundary's set-up may use them too.
#pragma once

#include "exchange/point.h"
#include "exchange/settings.h"

double __Distance(const Point& p, const Point& q);
double DEG_0_360(double a);
int __T2_LN(const Point& p, const Point& q, Segment& out);
int Dsen(const Segment& s);
// v lies strictly between a and b, widened by e on both sides; a NaN anywhere fails.
inline bool within(double v, double a, double b, double e) {
    return (a - e < v && v < b + e) || (b - e < v && v < a + e); // not min/max: NaN fails both
}
