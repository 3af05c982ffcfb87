// The boundaries of -a: the closed circles and ellipses of the body, read by the pre-scan, and
// an index that finds those near a segment or a point.
#pragma once
#include <vector>

#include "base/point.h"

struct Circle {
    double cx, cy, r; // centre, and the semi-axis along the tilt
    double hp;        // axis ratio: 1 for a circle
    double c, s;      // cosine and sine of the tilt
    int id;           // its place among the body's circles, which the index reorders
    bool mapped;      // an ellipse: points go into its circle frame
};

// Once indexed, kept by cell: a place in CIRCLES is not its order in the body (id is).
extern std::vector<Circle> CIRCLES;

void reset_circles();
// The current circle record (CX .. JK, short_form as read_circle says) is a boundary of -a
// where it is read, with the colour and line type in force.
bool boundary_circle(bool short_form);
// Appends the current circle record as a boundary.
void add_circle();
// Builds the index; once, after the pre-scan.
void index_circles();
// The places of the boundaries whose box, widened by e, meets the box of s, and that s itself
// passes within e of, in the body's order.
void circles_near(const Segment& s, double e, std::vector<int>& out);
// The places of the boundaries whose box meets the box x0 <= x <= x1, y0 <= y <= y1, in the
// body's order.
void circles_in_box(const double box[4], std::vector<int>& out);

// Half the width and the height of c's box, about its centre.
void half_extents(const Circle& c, double& hx, double& hy);

// p in the circle frame of c, where the ellipse is the circle of radius c.r, and back.
Point into_circle(const Circle& c, const Point& p);
Point out_of_circle(const Circle& c, const Point& p);
