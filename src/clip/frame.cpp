#include "clip/frame.h"
#include "base/portable_math.h"

#include <cmath>

#include "boundary/boundary.h"
#include "boundary/frame.h"
#include "exchange/record.h"
#include "exchange/settings.h"

ClipFrame clip_frame() {
    ClipFrame f = {is_ellipse(), 0, 0, PT[1], PT[2]};
    if (f.mapped) {
        double t = K_JK0 * PAI / 180;
        f.c = portable::cos(t);
        f.s = portable::sin(t);
        f.E1 = PTd[1];
        f.E2 = PTd[2];
    }
    return f;
}

Point into_frame(const ClipFrame& f, const Point& p) { return to_circle_frame(p, f.c, f.s); }

Point out_of_frame(const ClipFrame& f, const Point& p) { return from_circle_frame(p, f.c, f.s); }

void reach_below(const Point& a, const Point& b) {
    Point low = {0, 0};
    if (a.x < low.x) low.x = a.x;
    if (b.x < low.x) low.x = b.x;
    if (a.y < low.y) low.y = a.y;
    if (b.y < low.y) low.y = b.y;
    Pole_set(low);
}
