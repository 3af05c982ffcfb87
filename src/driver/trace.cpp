#include "geometry/trace.h"
#include "boundary/boundary.h"
#include "driver/driver.h"
#include "exchange/attributes.h"
#include "exchange/output.h"
#include "text/format.h"

// The kernel's diagnostics as the test modes write them: -t into the output, -t2 mostly on the
// console.
static void candidate(const Point& p) {
    if (isTest == 1) __TEN(p);
}

static void candidate_tested(const Point& p, int result, int kp_count, double kdeg, double deg) {
    say("#Koten_en_ln() __CROSS_C(%d) KPcnt(%d) KDEG(%.1f) deg(%.1f) KRP(%.1f-%.1f)\n", result,
        kp_count, kdeg, deg, KRP[2], KRP[3]);
    emit("#Koten_en_ln() __CROSS_C(%d) KPcnt(%d) KDEG(%.1f)\n", result, kp_count, kdeg);
    __TEN(p);
}

static void segments(const Segment& a, const Segment& b) {
    if (isTest != 2) return;
    say("# Koten_lnln() A1(%.1f , %.1f)---A2(%.1f , %.1f)\n", a.x1, a.y1, a.x2, a.y2);
    say("#              B1(%.1f , %.1f)---B2(%.1f , %.1f)\n", b.x1, b.y1, b.x2, b.y2);
}

static void segment_crossing(const Point& k, int p, int q, int kp_count, int seido) {
    if (isTest == 1 && seido == 1) {
        __TEN(k);
        emit("# # p(%d) q(%d) kten(%.1f , %.1f)\n", p, q, k.x, k.y);
    }
    if (isTest == 2)
        say("#      XXX  KP[%d] kten(%.0f ,%.0f)  XXX p(%d)q(%d) KPcnt(%d) seido(%d)\n",
            kp_count - 1, k.x, k.y, p, q, kp_count, seido);
}

static const KernelTrace TEST_TRACE = {candidate, candidate_tested, segments, segment_crossing};

void set_test_mode(int mode) {
    isTest = mode;
    TRACE = mode == 1 || mode == 2 ? &TEST_TRACE : nullptr;
}
