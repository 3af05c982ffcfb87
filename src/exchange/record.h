// Where the pass stands and the record it handles: set by the driver, read by every subsystem.
#pragma once

#include "base/point.h"

extern int SHARP; // 20 until the pass's first comment record, then 0
extern int PL;    // 1 inside a polyline block of the input
extern int PLcnt; // > 0 while a polyline block is open in the output

extern Point PT[4];     // designated points ("hp"); 1 and 2 become the arc's ends
extern int PTcnt;       // number of the last "hp" record read
extern double PTX, PTY; // the reals of the last "hp" record read
extern Segment ILINE;   // the current segment record
extern Point IPOINT;    // the current point record
extern char ChHEAD[24]; // the current text record's tag
extern double ChX, ChY; // its start point
extern double ChDX;     // its extent along x
extern double ChDY;     //   and along y

void reset_record();
