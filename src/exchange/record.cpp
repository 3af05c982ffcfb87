#include "exchange/record.h"

int SHARP, PL, PLcnt;
Point PT[4];
int PTcnt;
double PTX, PTY;
Segment ILINE;
Point IPOINT;
char ChHEAD[24];
double ChX, ChY, ChDX, ChDY;

void reset_record() {
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
