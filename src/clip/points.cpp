#include <cmath>

#include "boundary/boundary.h"
#include "boundary/frame.h"
#include "clip/clip.h"
#include "clip/probes.h"
#include "exchange/format.h"
#include "exchange/record.h"
#include "exchange/settings.h"
#include "geometry/geometry.h"

// Beyond the bound the probes would overflow: such a point is kept, in a crop too. A NaN is
// no place at all and keeps the rules' verdict.
static bool beyond_bound(const Point& p) {
    return (!in_bound(p.x) && !std::isnan(p.x)) || (!in_bound(p.y) && !std::isnan(p.y));
}

int Del_ten() {
    TPN = IPOINT;
    K_JK = K_JK0;
    if (beyond_bound(TPN)) return 1;
    const int mapped = is_ellipse() ? 1 : 0;
    if (mapped) {
        double t = K_JK0 * PAI / 180;
        TPN = to_circle_frame(TPN, std::cos(t), std::sin(t));
        if (beyond_bound(TPN)) return 1;
        Point low = {0, 0};
        if (TPN.x < low.x) low.x = TPN.x;
        if (TPN.y < low.y) low.y = TPN.y;
        Pole_set(low);
    }

    const Point& E1 = mapped ? PTd[1] : PT[1];
    const Point& E2 = mapped ? PTd[2] : PT[2];
    int k = 0;
    int edge = 0;
    if (iMode == 3) {
        k = chord_crossings(TPN, E1, E2, &edge) == 1 ? 0 : 1;
    } else if (iMode == 2) {
        int count = sector_crossings(TPN, E1, E2, &edge);
        k = count == 1 || count == 3 ? 0 : 3;
    } else if (iMode <= 1) {
        k = __Distance(TPN, K_CPT) > K_CR ? 5 : 0;
    }
    // Through a corner a single crossing counts on both edges that meet there.
    if (probe_near_corner(TPN, E1, E2)) k = inside_region(TPN, E1, E2) ? 0 : iMode == 3 ? 1 : 3;
    if (isTest == 2) say("# Del_ten()end k(%d)\n", k);
    // A crop keeps what an erase drops.
    return (k != 0) != (isCrop != 0) ? 1 : 0;
}

int Del_moji() {
    if (isTest == 2)
        say("# Del_moji() ChHEAD(%s) %.1f %.1f %.1f %.1f\n", static_cast<const char*>(ChHEAD), ChX,
            ChY, ChDX, ChDY);
    IPOINT = {ChX, ChY};
    int a = Del_ten();
    IPOINT = {ChX + ChDX, ChY + ChDY};
    int b = Del_ten();
    if (isTest == 2) say("# Del_moji()end k(%d) k1(%d) k2(%d)\n", a + b, a, b);
    return a + b > 0 ? 1 : 0;
}
