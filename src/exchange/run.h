// The run's settings and the record being handled: set by the driver, read by every subsystem.
#pragma once

#include "exchange/point.h"

// Options.
extern int isTest;         // 0 off, 1 diagnostics into the output, 2 on the console
extern int iMode;          // clipping mode (-m)
extern int isCrop;         // 1: keep what lies inside the region instead (-i)
extern int isCurve;        // 1: circles, arcs and ellipses are cut too (-c)
extern int EXiro1, EXsyu1; // first excluded pair: colour, line type (-e)
extern int EXiro2, EXsyu2; // second excluded pair (-f)

// Where the pass stands.
extern int SHARP; // 20 until the pass's first comment record, then 0
extern int PL;    // 1 inside a polyline block of the input
extern int PLcnt; // > 0 while a polyline block is open in the output

// Designated points and the current entity.
extern Point PT[4];                 // designated points ("hp"); 1 and 2 become the arc's ends
extern int PTcnt;                   // number of the last "hp" record read
extern double PTX, PTY;             // the reals of the last "hp" record read
extern Segment ILINE;               // the current segment record
extern Point IPOINT;                // the current point record
extern char ChHEAD[24];             // the current text record's tag
extern double ChX, ChY, ChDX, ChDY; // its start point and extent

void reset_run();
