#include "clip/clip.h"

Segment TLINE;
int olineMAX;
Point TPN;

void reset_clip() {
    TLINE = {0, 0, 0, 0};
    olineMAX = 0;
    TPN = {0, 0};
}
