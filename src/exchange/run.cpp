#include "exchange/run.h"

// Constant-initialised to the start-up values, so that a run needs no reset of its own.
int isTest = 0;
int iMode = 1;
int isCrop = 0;
int isCurve = 0;
int EXiro1, EXsyu1, EXiro2, EXsyu2;
int SHARP = 20;
int PL = 20;
int PLcnt = 0;
Point PT[4];
int PTcnt;
double PTX, PTY;
Segment ILINE;
Point IPOINT;
char ChHEAD[24];
double ChX, ChY, ChDX, ChDY;

void reset_run() {
    isTest = 0;
    iMode = 1;
    isCrop = 0;
    isCurve = 0;
    EXiro1 = EXsyu1 = EXiro2 = EXsyu2 = 0;
    SHARP = 20;
    PL = 20;
    PLcnt = 0;
    for (auto& p : PT) p = {0, 0};
    PTcnt = 0;
    PTX = PTY = 0;
    ILINE = {0, 0, 0, 0};
    IPOINT = {0, 0};
    for (auto& c : ChHEAD) c = 0;
    ChX = ChY = ChDX = ChDY = 0;
}
