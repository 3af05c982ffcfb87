// The circle frame: the frame in which the boundary ellipse is the circle of radius K_CR about
// the boundary's centre. c and s are the cosine and sine of the ellipse's tilt.
#pragma once

#include "base/point.h"

// A ratio of exactly 0 or 1 is a circle, which needs no mapping.
bool is_ellipse();

Point to_circle_frame(const Point& p, double c, double s);
Point from_circle_frame(const Point& p, double c, double s);
