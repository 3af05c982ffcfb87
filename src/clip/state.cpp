#include "clip/clip.h"

Segment TLINE;
Segment OLINE[9];
int olineMAX;
Point TPN;

void reset_clip() {
    TLINE = {0, 0, 0, 0};
    for (auto& s : OLINE) s = {0, 0, 0, 0};
    olineMAX = 0;
    TPN = {0, 0};
}
