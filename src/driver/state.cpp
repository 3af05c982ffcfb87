#include "boundary/boundary.h"
#include "clip/clip.h"
#include "driver/driver.h"
#include "exchange/attributes.h"
#include "geometry/geometry.h"

int isTest;
int iMode;
int isCrop;
int EXiro1, EXsyu1, EXiro2, EXsyu2;
int SHARP;
int PL;
int PLcnt;
Point PT[4];
int PTcnt;
double PTX, PTY;
Segment ILINE;
Point IPOINT;
char ChHEAD[24];
double ChX, ChY, ChDX, ChDY;

void reset_driver() {
    isTest = 0;
    iMode = 1;
    isCrop = 0;
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

static const bool driver_ready = (reset_driver(), true);

void reset_all() {
    reset_driver();
    reset_attributes();
    reset_boundary();
    reset_geometry();
    reset_clip();
}
