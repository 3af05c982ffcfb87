// The designated boundary, the lower-left extents and the tolerance: found by the pre-scan,
// validated and set up at the first comment record of the main pass.
#pragma once
#include <cstdio>
#include <string_view>

#include "base/point.h"

// Boundary record: the circle record that follows the marker "hhp1ci".
extern double K_CX;  // centre, x
extern double K_CY;  //   and y
extern double K_CR;  // radius; for an ellipse the semi-axis along the first axis
extern double K_SK;  // start angle, degrees
extern double K_EK;  // end angle, degrees
extern double K_HP;  // axis ratio; 0 and 1 mark a true circle
extern double K_JK;  // tilt, degrees (the set-up may set it to 0)
extern double K_JK0; // tilt as designated, saved by the set-up
extern Point K_CPT;  // the centre as a point

// Current circle: the fields of the last circle record read, as the boundary's above.
extern double CX, CY; // centre
extern double CR;     // radius
extern double SK, EK; // start and end angle, degrees
extern double HP;     // axis ratio
extern double JK;     // tilt, degrees

extern long long HHP_FIND[2]; // [1]: line number of the last "hhp1ci" line
extern Point Pmin[3];         // lower-left extents; Pmin[1] is the outside reference point
extern double G_SCALE[16];    // layer-group scales ("hs")
extern double scale;          // scale of the layer group in force at the first comment record
extern double gomi;           // distance tolerance, scale * GOMI_UNIT
extern double HN[4];          // the two "hn" points

// Set-up values.
extern Point PTd[3];  // [1], [2]: the arc's end points in the circle frame
extern double KRP[4]; // [2]..[3]: the angular range in degrees
extern int isBorder;  // 1 when the border lines were written
// 0 with -a where nothing was designated: the body's circles alone make the region.
extern int isDesignated;

void reset_boundary();

// Reads source from its start; returns the number of lines read, -1 when source cannot be read.
long long Tcopy(std::FILE* source);
// One line of the pre-scan, numbered from 1. Returns 0.
int Pre_pro(std::string_view line, long long number);
// A circle record of either form into the current circle; true for the short form.
bool read_circle(std::string_view line);
// The last circle record read had every field of its form: a field that fails to read keeps
// the value an earlier record left.
extern bool CIRCLE_WHOLE;
// Lowers Pmin below and left of p (coordinates beyond the bound aside). Returns 0.
int Pole_set(const Point& p);
// The blanks of a line's text up to its end (at most 512 bytes).
int __SPCNT(std::string_view text);

// 0 when the boundary can serve the mode, else the refusal code 1, 2 or 3.
int Pre_del();
