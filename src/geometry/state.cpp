#include "geometry/geometry.h"

// Constant-initialised, so other subsystems' start-up code may already rely on them.
double PAI = 3.141592653589793;
Point KP[8];
int KPcnt = 1;
double KDEG = 0;
Segment OLINE[9];

void reset_geometry() {
    PAI = 3.141592653589793;
    for (auto& p : KP) p = {0, 0};
    KPcnt = 1;
    KDEG = 0;
    for (auto& s : OLINE) s = {0, 0, 0, 0};
}
