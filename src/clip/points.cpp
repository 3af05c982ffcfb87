#include <cmath>

#include "boundary/boundary.h"
#include "clip/clip.h"
#include "clip/frame.h"
#include "clip/probes.h"
#include "clip/union.h"
#include "exchange/record.h"
#include "exchange/settings.h"
#include "geometry/geometry.h"
#include "text/format.h"

// Beyond the bound the probes would overflow: such a point is kept, in a crop too. A NaN is
// no place at all and keeps the rules' verdict.
static bool beyond_bound(const Point& p) {
    return (!in_bound(p.x) && !std::isnan(p.x)) || (!in_bound(p.y) && !std::isnan(p.y));
}

int Del_ten() {
    TPN = IPOINT;
    K_JK = K_JK0;
    if (beyond_bound(TPN)) return 1;
    bool inside = false;
    if (isDesignated) {
        const ClipFrame f = clip_frame();
        if (f.mapped) {
            TPN = into_frame(f, TPN);
            if (beyond_bound(TPN)) return 1;
            reach_below(TPN, TPN);
        }
        int count = 0, edge = 0;
        inside = in_region(TPN, f, false, &count, &edge);
    }
    // -a: inside one of the body's circles is inside too.
    if (!inside && isAll) inside = in_boundary_circle(IPOINT);
    // The diagnostic's code for the side: 0 inside, else by the mode that decided.
    int k = inside ? 0 : iMode == 3 ? 1 : iMode == 2 ? 3 : 5;
    if (isTest == 2) say("# Del_ten()end k(%d)\n", k);
    // A crop keeps what an erase drops; -k keeps both.
    return isKeep || (k != 0) != (isCrop != 0) ? 1 : 0;
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
