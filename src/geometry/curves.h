// Circles, arcs and ellipses against the region's edge: where a curve crosses the circle and
// the straight edges, and how far a point lies from the edge. Angles of a curve in radians.
#pragma once

#include "base/point.h"

// The curve as the image of the unit circle: Q(a) = c + u cos a + v sin a. An ellipse stays
// one under the circle frame's mapping, and a circle becomes one there.
struct Conic {
    Point c, u, v;
};

Point conic_at(const Conic& q, double a);
// The angle a moved by whole turns into [lo, lo + 2 pi).
double turned_into(double a, double lo);

// The degrees a record's curve runs through: start <= end, end - start <= 360. True when it is
// closed (equal angles, 0 and 360, or equal once folded); then end = start + 360.
bool arc_range(double sk, double ek, double& start, double& end);

// Angles in [lo, hi] at which q crosses the line through A and B, ascending; at most 2 (a
// closed form). Touching is no crossing.
int conic_line_crossings(const Conic& q, const Point& A, const Point& B, double lo, double hi,
                         double* out);
// Angles in [lo, hi] at which q crosses the circle of radius r about o, ascending; at most cap.
// A closed form when q is a circle, else the sign changes of |Q - o|^2 - r^2 are bracketed by
// bounds on its slope and curvature and refined; a dip across the circle over less than tol of
// the curve's length may go unreported, and touching is no crossing. -1 when the crossings
// cannot be told apart from the rounding.
int conic_circle_crossings(const Conic& q, const Point& o, double r, double lo, double hi,
                           double tol, double* out, int cap);

// Distance of p from the edge of the region of the (set-up) mode, in the circle frame: the arc
// (the whole circle in the whole-circle mode) and the radii or the chord from the arc's ends
// E1, E2.
double edge_distance(const Point& p, int mode, const Point& E1, const Point& E2);
// Every angle in [lo, hi] at which q crosses the circle of the boundary or the line of one of
// the region's straight edges, ascending: a superset of its crossings with the edge; -1 as
// conic_circle_crossings.
int edge_candidates(const Conic& q, int mode, const Point& E1, const Point& E2, double lo,
                    double hi, double tol, double* out, int cap);
