// What the cutting of one line and the cutting by many boundaries (-a) share.
#pragma once

#include "base/point.h"
#include "clip/frame.h"

// The pieces of ILINE in order, with their prefixes and polyline markers; with -k each after
// the switch or restore its side needs (restyled[k]: piece k lies on the side restyled).
void write_line_pieces(const Segment* piece, const bool* restyled, int pieces);
// KP: ILINE's ends and its crossings with the designated region's edge in the frame f, sorted
// along it. Returns the count of crossings found; *change gets KPsort's answer.
int cut_points(const ClipFrame& f, int* change);
// The crossings appended to KP that lie beyond ILINE's own ends taken out.
void drop_beyond_ends();
