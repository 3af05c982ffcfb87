// The two value types every subsystem passes around, and the bound on their coordinates.
#pragma once

#include <cmath>

struct Point {
    double x, y;
};

// (x1, y1) is the start; vertical when x1 == x2 exactly.
struct Segment {
    double x1, y1, x2, y2;
};

// The difference of two values within the bound, squared, stays below 4e200: far from
// overflow, with room for the products the kernel forms. No drawing comes near it (survey
// coordinates are around 1e7).
inline constexpr double COORD_MAX = 1e100;

// False for NaN and the infinities too.
inline bool in_bound(double v) { return std::fabs(v) <= COORD_MAX; }
