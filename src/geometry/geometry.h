// The geometry kernel: primitives, segment and circle intersection, the intersection list
// and the ordering of cut points and kept pieces.
#pragma once

#include "base/point.h"
#include "geometry/primitives.h"

extern Point KP[8];      // intersection list: slot 0 unused, ends in 1 and 2, crossings from 3
extern int KPcnt;        // next free slot of KP
extern double KDEG;      // angle of the last circle candidate that passed the box test
extern Segment OLINE[9]; // kept pieces of the current line: slots 1 .. olineMAX - 1

void reset_geometry();

// 1 when P lies in the tolerance boxes of both A and B, else 0. seido 1: the box is widened by
// gomi (recording); 0: by gomi / 100 (counting).
int __CROSS(const Segment& A, const Segment& B, const Point& P, int seido);
// The crossing of A and B (both ends of B where they overlap on one vertical) that passes
// __CROSS: with seido 1 appended to KP, with seido 0 only counted. Returns KPcnt after the call.
int Koten_lnln(const Segment& A, const Segment& B, int seido);

// 1 when the candidate P lies in S's tolerance box and within the arc's angular range, else 0.
int __CROSS_C(const Segment& S, const Point& P);
// The two points where the line through S meets the circle of radius r about (cx, cy), the
// larger x first (for a vertical S, the larger y), a tangent's twice; 0 when it misses.
int circle_line_candidates(const Segment& S, double cx, double cy, double r, Point cand[2]);
// The crossings of the line through S with the boundary's circle that pass __CROSS_C: with flag 0
// appended to KP (while it has room), else only counted. Returns how many: 0, 1 or 2.
int Koten_en_ln(const Segment& S, int flag);
// S's box keeps so far from the boundary circle's box that the line has no candidate there.
bool clear_of_circle(const Segment& S);
// A short answer for a probe from p to the centre: true only where Koten_en_ln(that probe, 1)
// is surely above 0; false says nothing.
bool crosses_on_way_to_centre(const Point& p);
// The same for the full circle (cx, cy, r) and tolerance e: 0 where the probe surely finds a
// candidate in its box (p outside), 1 where it surely finds none (p well inside), -1 where
// only the probe can tell.
int probe_side(const Point& p, double cx, double cy, double r, double e);

// The region of the (set-up) mode decided from its own geometry, in the circle frame, where a
// probe's count cannot decide: E1, E2 are the arc's ends; above the segment mode everything is
// inside.
bool inside_region(const Point& p, int mode, const Point& E1, const Point& E2);
// The angle of p about the boundary's centre lies in the arc's range.
bool within_arc(const Point& p);
// From V to the nearest point of the segment A-B.
Point offset_to_segment(const Point& V, const Point& A, const Point& B);
// The probe from p to the outside reference point passes within gomi of a corner of the sector
// (mode 2) or segment (mode 3) region.
bool probe_near_corner(const Point& p, int mode, const Point& E1, const Point& E2);

// The crossings of L with the two radii (sector mode), appended to KP; the arc's ends are PTd
// when mapped is 1 (an ellipse's circle frame), else PT. Returns how many were appended.
int Koten_Ko(const Segment& L, int mapped);
// The same with the chord from one end of the arc to the other (segment mode).
int Koten_Gen(const Segment& L, int mapped);
// KP without duplicates, ordered along the line: 0 nothing removed, 1 duplicates removed and
// KPcnt lowered, 2 the list too long (nothing done).
int KPsort();
// The kept pieces of line in OLINE[1 .. n - 1] turned the line's way, ordered from its start,
// their outer ends snapped onto its ends within gomi; tags, when given, are ordered with them.
// Returns 0.
int SORT_OLINE(const Segment& line, int n, bool* tags = nullptr);
