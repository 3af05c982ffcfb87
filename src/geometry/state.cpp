#include "geometry/geometry.h"
#include "geometry/trace.h"

const KernelTrace* TRACE;

Point KP[8];
int KPcnt;
double KDEG;
Segment OLINE[9];

void reset_geometry() {
    for (auto& p : KP) p = {0, 0};
    KPcnt = 1;
    KDEG = 0;
    TRACE = nullptr;
    for (auto& s : OLINE) s = {0, 0, 0, 0};
}
