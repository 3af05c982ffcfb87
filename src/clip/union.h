// -a: the union of the boundaries, the designated region and the body's closed circles.
#pragma once

#include "base/point.h"
#include "clip/frame.h"

// ILINE (the record's own numbers, TLINE too) cut by the union and written, where it comes near
// a boundary circle or nothing was designated; false otherwise, and nothing written.
bool clip_by_union();
// p (in drawing coordinates) lies in one of the boundary circles, as a point is judged.
bool in_boundary_circle(const Point& p);
// p lies inside circle i (CIRCLES) or the designated region beyond the fine tolerance: a
// crossing there is no edge of the union.
bool deep_in_circle(int i, const Point& p);
bool deep_in_designated(const ClipFrame& f, const Point& p);
// p lies inside circle i, the edge aside.
bool in_circle(int i, const Point& p);
