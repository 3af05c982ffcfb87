#include "clip/clip.h"

Segment TLINE;
int olineMAX;
bool ORESTYLE[9];
Point TPN;

void reset_clip() {
    TLINE = {0, 0, 0, 0};
    olineMAX = 0;
    for (bool& r : ORESTYLE) r = false;
    TPN = {0, 0};
}
