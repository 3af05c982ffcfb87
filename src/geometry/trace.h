// What the kernel has to tell in the test modes. The driver lends its own; without one the
// kernel only computes, and may skip what only the diagnostics would show.
#pragma once

#include "base/point.h"

struct KernelTrace {
    // A circle candidate before its tests, and after them (deg -360: it failed the box test).
    void (*candidate)(const Point& p);
    void (*candidate_tested)(const Point& p, int result, int kp_count, double kdeg, double deg);
    // The two segments of Koten_lnln, and its last candidate with the outcome codes.
    void (*segments)(const Segment& a, const Segment& b);
    void (*segment_crossing)(const Point& k, int p, int q, int kp_count, int seido);
};

extern const KernelTrace* TRACE; // null outside the test modes
