// The geometry kernel: primitives, segment and circle intersection, the intersection list
// and the ordering of cut points and kept pieces.
#pragma once

#include "geometry/point.h"

extern double PAI;  // pi as the nearest double, set at start-up
extern Point KP[8]; // intersection list: slot 0 unused, ends in 1 and 2, crossings from 3
extern int KPcnt;   // next free slot of KP
extern double KDEG; // angle of the last circle candidate that passed the box test

void reset_geometry();

double __Distance(const Point& p, const Point& q);
double DEG_0_360(double a);
int __T2_LN(const Point& p, const Point& q, Segment& out);
int Dsen(const Segment& s);

int __CROSS(const Segment& A, const Segment& B, const Point& P, int seido);
int Koten_lnln(const Segment& A, const Segment& B, int seido);

int __CROSS_C(const Segment& S, const Point& P);
int Koten_en_ln(const Segment& S, int flag);
bool crosses_on_way_to_centre(const Point& p); // true: Koten_en_ln(p to centre, 1) > 0

int Koten_Ko(const Segment& L, int mapped);
int Koten_Gen(const Segment& L, int mapped);
int KPsort();
int SORT_OLINE(int n);
