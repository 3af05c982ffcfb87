// The frame the clipping works in: an ellipse's circle frame, where the region is bounded by a
// circle, else the drawing's own.
#pragma once

#include "base/point.h"

struct ClipFrame {
    bool mapped;  // the boundary is an ellipse: entities go into its circle frame
    double c, s;  // cosine and sine of the designated tilt, when mapped
    Point E1, E2; // the arc's ends in this frame
};

// The frame of the boundary as set up.
ClipFrame clip_frame();
// p in the circle frame of f (which must be mapped).
Point into_frame(const ClipFrame& f, const Point& p);
Point out_of_frame(const ClipFrame& f, const Point& p);
// Points mapped into the circle frame may lie below the extents seen in the drawing: the
// outside reference point goes below them and below the origin, in one step.
void reach_below(const Point& a, const Point& b);
