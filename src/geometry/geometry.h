// The geometry kernel: primitives, segment and circle intersection, the intersection list
// and the ordering of cut points and kept pieces.
#pragma once

#include "exchange/point.h"
#include "geometry/primitives.h"

extern Point KP[8];      // intersection list: slot 0 unused, ends in 1 and 2, crossings from 3
extern int KPcnt;        // next free slot of KP
extern double KDEG;      // angle of the last circle candidate that passed the box test
extern Segment OLINE[9]; // kept pieces of the current line: slots 1 .. olineMAX - 1

void reset_geometry();

int __CROSS(const Segment& A, const Segment& B, const Point& P, int seido);
int Koten_lnln(const Segment& A, const Segment& B, int seido);

int __CROSS_C(const Segment& S, const Point& P);
int Koten_en_ln(const Segment& S, int flag);
bool crosses_on_way_to_centre(const Point& p); // true: Koten_en_ln(p to centre, 1) > 0

// The region decided from its own geometry, in the circle frame, where a probe's count cannot
// decide: E1, E2 are the arc's ends; above the segment mode everything is inside.
bool inside_region(const Point& p, const Point& E1, const Point& E2);
// The angle of p about the boundary's centre lies in the arc's range.
bool within_arc(const Point& p);
// From V to the nearest point of the segment A-B.
Point offset_to_segment(const Point& V, const Point& A, const Point& B);
// The probe from p to the outside reference point passes within gomi of a corner of the sector
// or segment region.
bool probe_near_corner(const Point& p, const Point& E1, const Point& E2);

int Koten_Ko(const Segment& L, int mapped);
int Koten_Gen(const Segment& L, int mapped);
int KPsort();
int SORT_OLINE(int n);
