// The primitives: distance, angle folding, segment assembly, direction class, the tolerance
// box. They hold no state and include no subsystem, so the boundary's set-up may use them too.
#pragma once

#include "exchange/point.h"
#include "exchange/settings.h"

double __Distance(const Point& p, const Point& q);
double DEG_0_360(double a);
int __T2_LN(const Point& p, const Point& q, Segment& out);
int Dsen(const Segment& s);
