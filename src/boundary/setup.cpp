#include <cmath>

#include "base/angles.h"
#include "base/portable_math.h"
#include "boundary/boundary.h"
#include "boundary/frame.h"
#include "exchange/attributes.h"
#include "exchange/record.h"
#include "exchange/settings.h"
#include "text/format.h"

// Validation only reads, so a refused boundary leaves everything as the pre-scan left it.
static int refusal() {
    // A boundary that cannot be computed with is no reason to erase: a NaN, or a square that
    // overflows, fails every comparison, which takes every line for inside. (The short form
    // sets the angles, the ratio and the tilt to 0.)
    if (!std::isfinite(K_HP) || !std::isfinite(K_JK)) return 1;
    if (!in_bound(K_CX) || !in_bound(K_CY) || !in_bound(K_CR) || !in_bound(K_CR * K_HP)) return 1;
    // Nor is a tolerance that cannot (an "hs" scale of NaN or infinity).
    if (!in_bound(gomi)) return 1;
    if (K_CR < GOMI_UNIT) return 1;
    if (iMode >= 2) {
        if (K_SK == K_EK) return 2;
        if (K_SK == 0 && K_EK == 360) return 2;
    } else if (K_HP == 1) {
        if (!(K_SK == 0 && K_EK == 360)) return 3;
    } else if (K_SK != K_EK) {
        return 3; // also when either angle is NaN
    }
    // Angles that are not numbers get the replies above where the mode has one for them.
    if (!std::isfinite(K_SK) || !std::isfinite(K_EK)) return 1;
    return 0;
}

static Point boundary_point(double angle, double c, double s, double h) {
    double a = angle * PAI / 180;
    double u = K_CR * portable::cos(a);
    double v = K_CR * h * portable::sin(a);
    return {K_CX + c * u - s * v, K_CY + s * u + c * v};
}

int Pre_del() {
    int code = refusal();
    if (code != 0) return code;

    double t = K_JK * PAI / 180;
    double c = portable::cos(t), s = portable::sin(t);
    // A record without a ratio is a circular arc: its ends lie at the full radius.
    double h = K_HP == 0 ? 1 : K_HP;
    PT[1] = boundary_point(K_SK, c, s, h);
    PT[2] = boundary_point(K_EK, c, s, h);
    if (K_HP != 0) {
        PTd[1] = to_circle_frame(PT[1], c, s);
        PTd[2] = to_circle_frame(PT[2], c, s);
    }

    if (isTest == 1) {
        __TEN(PT[1]);
        __TEN(PT[2]);
    }
    isBorder = 0;
    if (iMode == 3) {
        iMode = 2;
        isBorder = 1;
    } else if (iMode == 4) {
        iMode = 3;
    } else if (iMode == 5) {
        iMode = 3;
        isBorder = 1;
    }
    if (isTest == 2) say("# Pre_del() iMode(%d) isBorder(%d)\n", iMode, isBorder);
    if (isBorder == 1) {
        if (iMode == 2) {
            __TEN_LINE(PT[1], K_CPT);
            __TEN_LINE(PT[2], K_CPT);
        } else {
            __TEN_LINE(PT[1], PT[2]);
        }
    }

    K_JK0 = K_JK;
    // Equal angles make a closed curve, a circle as much as an ellipse: a range of the single
    // angle would find no crossing and take every line for inside.
    if (K_SK == K_EK) {
        K_SK = 0;
        K_EK = 360;
    }
    // The range of an ellipse is in its own angles, the ones of the circle frame.
    if (is_ellipse()) K_JK = 0;
    if (K_SK == 0 && (K_EK == 0 || K_EK == 360)) {
        K_EK = 360;
        KRP[2] = 0;
        KRP[3] = 360;
        return 0;
    }
    double start = DEG_0_360(K_SK + K_JK);
    double end = DEG_0_360(K_EK + K_JK);
    K_JK = 0;
    if (start > end) end += 360;
    KRP[2] = start;
    KRP[3] = end;
    return 0;
}
