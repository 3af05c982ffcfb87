// The two value types every subsystem passes around.
#pragma once

struct Point {
    double x, y;
};

// (x1, y1) is the start; vertical when x1 == x2 exactly.
struct Segment {
    double x1, y1, x2, y2;
};
