// The crossing counts that decide on which side of the edge a point lies, in the sector and
// segment modes: the probe runs from the point to the outside reference point Pmin[1].
#pragma once

#include "base/point.h"
#include "clip/frame.h"

// Koten_en_ln, but for a segment clear of the circle's box, whose candidates would fail their
// tests without a trace: no candidate, when no diagnostics are asked for.
int circle_crossings(const Segment& s, int flag);
// Segment mode: crossings with the chord E1-E2, then with the arc. *chord gets the first.
int chord_crossings(const Point& p, const Point& E1, const Point& E2, int* chord);
// Sector mode: crossings with the radius from E1, the arc, the radius from E2. *second gets
// the last.
int sector_crossings(const Point& p, const Point& E1, const Point& E2, int* second);
// p lies inside the region of the mode: in the whole-circle mode by a probe to the centre (a
// line's pieces) or by its distance from the centre (points); in the sector and segment modes by
// the counts above, or, where the probe passes a corner, by the region's own geometry; above them
// always. *count and *edge get the counts made, for the diagnostics.
bool in_region(const Point& p, const ClipFrame& f, bool by_probe, int* count, int* edge);
