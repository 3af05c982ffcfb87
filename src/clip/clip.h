// Entity clipping: lines cut at the region's edge, points and texts kept or dropped.
#pragma once

#include "base/point.h"

extern Segment TLINE; // the segment record as read, while ILINE is in the circle frame
extern int olineMAX;  // one more than the number of kept pieces
extern Point TPN;     // the point under test, in the circle frame
// -k: OLINE[k] lies on the side that is restyled, not kept.
extern bool ORESTYLE[9];

void reset_clip();

int Del_c_l();  // writes the kept pieces itself; always 0
int Del_ten();  // 1: IPOINT lies outside the region (keep), or -k is given
int Del_moji(); // 1: at least one end of the text lies outside (keep), or -k is given
// The current circle (CX .. JK) cut at the region's edge: 1 when the record stays whole (write
// it back), 2 when it goes back whole restyled (-k), else 0, having written its kept pieces
// (with -k all its pieces), if any, itself.
int Del_c_c(bool short_form);
