// The crossing counts that decide on which side of the edge a point lies, in the sector and
// segment modes: the probe runs from the point to the outside reference point Pmin[1].
#pragma once

#include "exchange/point.h"

// Segment mode: crossings with the chord E1-E2, then with the arc. *chord gets the first.
int chord_crossings(const Point& p, const Point& E1, const Point& E2, int* chord);
// Sector mode: crossings with the radius from E1, the arc, the radius from E2. *second gets
// the last.
int sector_crossings(const Point& p, const Point& E1, const Point& E2, int* second);
