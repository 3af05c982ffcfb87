// The run's settings: the options of the command line and the names of its files.
#pragma once

#include "base/constants.h"

// The files of a run, all in the current directory.
inline constexpr char EXCHANGE_NAME[] = "ZOD_UZUD.TXT"; // what the host writes and reads back
inline constexpr char WORK_NAME[] = "ZOD_UZUD.$$$";     // the main pass's output in the test modes
inline constexpr char NEW_NAME[] = "ZOD_UZUD.$$N";      // the new exchange file until it is whole

extern int isTest;  // 0 off, 1 diagnostics into the output, 2 on the console (-t, -t2)
extern int iMode;   // clipping mode (-m); the set-up reduces 3 to 5 to 2 and 3
extern int isCrop;  // 1: keep what lies inside the region instead (-i)
extern int isCurve; // 1: circles, arcs and ellipses are cut too (-c)
extern int isKeep;  // 1: nothing is erased; what would be is written restyled (-k)
extern int KEiro;   // the restyled pieces' colour (-k)
extern int KEsyu;   //   and line type
extern int isAll;   // 1: every closed circle of the body clears its inside too (-a); 2: only
                    // those in colour ALLiro and line type ALLsyu (-a<cl>)
extern int ALLiro;  // -a<cl>: the circles' colour
extern int ALLsyu;  //   and line type
extern int EXiro1;  // first excluded pair (-e): colour
extern int EXsyu1;  //   and line type
extern int EXiro2;  // second excluded pair (-f): colour
extern int EXsyu2;  //   and line type

void reset_settings();
