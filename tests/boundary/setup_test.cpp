#include <gtest/gtest.h>

#include "output_fixture.h"

#include <cmath>
#include <limits>
#include <string>

#include "boundary/boundary.h"
#include "driver/driver.h"
#include "geometry/geometry.h"
#include "text/streams.h"

namespace {

// A computed point where the formulas put it, to within rounding.
void expect_at(const Point& p, double x, double y) {
    EXPECT_NEAR(p.x, x, 1e-12);
    EXPECT_NEAR(p.y, y, 1e-12);
}

const double NaN = std::numeric_limits<double>::quiet_NaN();

class BoundarySetup : public OutputFixture {
  protected:
    static void boundary(double cx, double cy, double r, double sk, double ek, double hp,
                         double jk) {
        K_CX = cx, K_CY = cy, K_CR = r, K_SK = sk, K_EK = ek, K_HP = hp, K_JK = jk;
        K_CPT = {cx, cy};
    }
    static int run(int mode) {
        iMode = mode;
        return Pre_del();
    }
};

// Every value a refusal must leave alone, with recognisable contents.
struct Snapshot {
    double k[8];
    Point cpt, pt[4], ptd[3];
    double krp[4];
    int mode, border;

    static Snapshot take() {
        Snapshot s;
        double k[8] = {K_CX, K_CY, K_CR, K_SK, K_EK, K_HP, K_JK, K_JK0};
        for (int i = 0; i < 8; ++i) s.k[i] = k[i];
        s.cpt = K_CPT;
        for (int i = 0; i < 4; ++i) s.pt[i] = PT[i], s.krp[i] = KRP[i];
        for (int i = 0; i < 3; ++i) s.ptd[i] = PTd[i];
        s.mode = iMode;
        s.border = isBorder;
        return s;
    }
    void expect_same(const Snapshot& o) const {
        for (int i = 0; i < 8; ++i) {
            // NaN fields must stay NaN.
            if (std::isnan(k[i]))
                EXPECT_TRUE(std::isnan(o.k[i])) << i;
            else
                EXPECT_EQ(k[i], o.k[i]) << i;
        }
        EXPECT_EQ(cpt.x, o.cpt.x);
        EXPECT_EQ(cpt.y, o.cpt.y);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(pt[i].x, o.pt[i].x) << i;
            EXPECT_EQ(pt[i].y, o.pt[i].y) << i;
            EXPECT_EQ(krp[i], o.krp[i]) << i;
        }
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(ptd[i].x, o.ptd[i].x) << i;
            EXPECT_EQ(ptd[i].y, o.ptd[i].y) << i;
        }
        EXPECT_EQ(mode, o.mode);
        EXPECT_EQ(border, o.border);
    }
};

void preset_derived() {
    for (int i = 0; i < 4; ++i) PT[i] = {100.0 + i, 200.0 + i}, KRP[i] = 7.0 + i;
    for (int i = 0; i < 3; ++i) PTd[i] = {300.0 + i, 400.0 + i};
    K_JK0 = 55;
    isBorder = 9;
}

TEST_F(BoundarySetup, UndesignatedBoundaryIsTooSmallInEveryMode) {
    for (int mode = -2; mode <= 7; ++mode) {
        reset_boundary();
        EXPECT_EQ(run(mode), 1) << mode;
    }
}

TEST_F(BoundarySetup, RadiusLimitIsTheFixedTolerance) {
    gomi = 1.0; // the scaled tolerance plays no part
    boundary(0, 0, 0.0002, 0, 0, 0, 0);
    EXPECT_EQ(run(1), 1);
    boundary(0, 0, -10, 0, 0, 0, 0);
    EXPECT_EQ(run(1), 1);
    boundary(0, 0, -10, 0, 90, 1, 0);
    EXPECT_EQ(run(2), 1); // before the arc tests
    boundary(0, 0, 0.00025, 0, 0, 0, 0);
    EXPECT_EQ(run(1), 0);
}

TEST_F(BoundarySetup, BoundaryOrToleranceThatCannotBeComputedWithIsRefused) {
    const double inf = std::numeric_limits<double>::infinity();
    double* const fields[] = {&K_CX, &K_CY, &K_CR, &K_SK, &K_EK, &K_HP, &K_JK};
    for (double bad : {NaN, inf, -inf}) {
        for (int i = 0; i < 7; ++i) {
            boundary(1, 2, 10, 0, 90, 1, 30); // an arc
            *fields[i] = bad;
            EXPECT_EQ(run(2), 1) << i << " " << bad;
            boundary(1, 2, 10, 20, 20, 0.5, 30); // a closed ellipse
            *fields[i] = bad;
            // Angles that are not numbers are not equal: no closed curve.
            EXPECT_EQ(run(1), i == 3 || i == 4 ? 3 : 1) << i << " " << bad;
        }
    }
    const double beyond = std::nextafter(1e100, inf);
    boundary(1e100, -1e100, 1e100, 0, 0, 0, 0); // at the bound
    EXPECT_EQ(run(1), 0);
    boundary(beyond, 0, 10, 0, 0, 0, 0);
    EXPECT_EQ(run(1), 1);
    boundary(0, -beyond, 10, 0, 0, 0, 0);
    EXPECT_EQ(run(1), 1);
    boundary(0, 0, beyond, 0, 0, 0, 0);
    EXPECT_EQ(run(1), 1);
    boundary(0, 0, 1e60, 0, 0, 1e41, 0); // the second axis is beyond
    EXPECT_EQ(run(1), 1);

    // The tolerance, from an "hs" scale of NaN or infinity.
    for (double g : {NaN, inf, 1e101, -1e101}) {
        gomi = g;
        boundary(0, 0, 10, 0, 0, 0, 0);
        EXPECT_EQ(run(1), 1) << g;
    }
    gomi = 0.025;
    boundary(0, 0, 10, 0, 0, 0, 0);
    EXPECT_EQ(run(1), 0);
}

TEST_F(BoundarySetup, RefusalCodesFollowTheMode) {
    struct Case {
        int mode;
        double sk, ek, hp;
        int code;
    } cases[] = {
        {2, 0, 0, 0, 2},                            // short-form circle
        {4, 0, 360, 1, 2},                          // a full turn is no arc
        {5, 45, 45, 0.5, 2},                        // closed ellipse
        {6, 0, 0, 0, 2},                            // modes above 5 need an arc too
        {3, 0, 360, 0.5, 2},                        // the ratio is not looked at
        {2, 360, 0, 1, 0},                          // 0 then 360 only in that order
        {1, 0, 90, 1, 3},                           // ratio 1 needs the angles 0 and 360
        {1, 30, 30, 1, 3},   {1, 0, 360, 0, 3},     // ratio 0: the angles differ
        {1, 0, 90, 0.5, 3},  {0, 0, 90, 1, 3},      // mode 0 is validated as mode 1
        {-3, 10, 20, 0, 3},  {1, NaN, NaN, 0.5, 3}, // NaN angles are never equal
        {1, 0, NaN, 0, 3},   {1, 0, 360, 1, 0},     {1, 0, 0, 0, 0}, {1, 20, 20, 0.5, 0},
    };
    for (const Case& c : cases) {
        boundary(1, 2, 10, c.sk, c.ek, c.hp, 0);
        EXPECT_EQ(run(c.mode), c.code) << c.mode << " " << c.sk << " " << c.ek << " " << c.hp;
    }
}

TEST_F(BoundarySetup, RefusalLeavesEveryVariableAndTheOutputUntouched) {
    struct Case {
        int mode;
        double r, sk, ek, hp;
    } cases[] = {
        {1, 0.0001, 0, 0, 0}, {3, 10, 0, 0, 0},    {5, 10, 0, 360, 1},
        {1, 10, 0, 90, 1},    {0, 10, 0, 90, 0.5}, {1, 10, NaN, NaN, 0.5},
    };
    for (int test = 0; test <= 2; ++test) {
        for (const Case& c : cases) {
            set_test_mode(test);
            boundary(3, 4, c.r, c.sk, c.ek, c.hp, 30);
            preset_derived();
            iMode = c.mode;
            Snapshot before = Snapshot::take();
            ::testing::internal::CaptureStdout();
            EXPECT_NE(Pre_del(), 0);
            EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
            Snapshot::take().expect_same(before);
        }
    }
    EXPECT_EQ(out(), "");
}

TEST_F(BoundarySetup, ShortFormCircleInModeOne) {
    boundary(0, 0, 10, 0, 0, 0, 0);
    ASSERT_EQ(run(1), 0);
    EXPECT_EQ(PT[1].x, 10);
    EXPECT_EQ(PT[1].y, 0);
    EXPECT_EQ(PT[2].x, 10);
    EXPECT_EQ(PT[2].y, 0);
    EXPECT_EQ(K_SK, 0);
    EXPECT_EQ(K_EK, 360);
    EXPECT_EQ(KRP[2], 0);
    EXPECT_EQ(KRP[3], 360);
    EXPECT_EQ(iMode, 1);
    EXPECT_EQ(isBorder, 0);
    EXPECT_EQ(out(), "");
}

TEST_F(BoundarySetup, FullCircleInLongFormKeepsItsTilt) {
    boundary(0, 0, 10, 0, 360, 1, 25);
    ASSERT_EQ(run(1), 0);
    EXPECT_EQ(KRP[2], 0);
    EXPECT_EQ(KRP[3], 360);
    EXPECT_EQ(K_JK, 25); // a circle that ends with the full range keeps its tilt
    EXPECT_EQ(K_JK0, 25);
}

TEST_F(BoundarySetup, ClosedEllipseGetsTheFullRangeAndLosesItsTilt) {
    boundary(0, 0, 10, 0, 0, 0.5, 30);
    ASSERT_EQ(run(1), 0);
    EXPECT_EQ(K_SK, 0);
    EXPECT_EQ(K_EK, 360);
    EXPECT_EQ(K_JK0, 30);
    EXPECT_EQ(K_JK, 0);
    EXPECT_EQ(KRP[2], 0);
    EXPECT_EQ(KRP[3], 360);
    // The start of the first axis, turned by 30 degrees.
    EXPECT_NEAR(PT[1].x, 8.6602540378, 1e-9);
    EXPECT_NEAR(PT[1].y, 5, 1e-12);
    expect_at(PTd[1], 10, 0);

    boundary(0, 0, 10, 45, 45, 0.5, 0); // any pair of equal angles is closed
    ASSERT_EQ(run(1), 0);
    EXPECT_EQ(K_SK, 0);
    EXPECT_EQ(K_EK, 360);
    EXPECT_EQ(KRP[2], 0);
    EXPECT_EQ(KRP[3], 360);
}

TEST_F(BoundarySetup, CircleWithEqualNonZeroAnglesIsAWholeCircle) {
    // Long form "ci 0 0 10 30 30": closed like any other pair of equal angles; a range of the
    // single angle 50 would leave nothing outside the circle to cut or to keep.
    boundary(0, 0, 10, 30, 30, 0, 20);
    ASSERT_EQ(run(1), 0);
    EXPECT_EQ(K_SK, 0);
    EXPECT_EQ(K_EK, 360);
    EXPECT_EQ(KRP[2], 0);
    EXPECT_EQ(KRP[3], 360);
    EXPECT_EQ(K_JK, 20);
    EXPECT_EQ(K_JK0, 20);
}

TEST_F(BoundarySetup, CircularArcEndsAndRange) {
    boundary(0, 0, 10, 0, 90, 1, 0);
    ASSERT_EQ(run(2), 0);
    EXPECT_EQ(PT[1].x, 10);
    EXPECT_EQ(PT[1].y, 0);
    EXPECT_NEAR(PT[2].x, 0, 1e-12);
    EXPECT_EQ(PT[2].y, 10);
    EXPECT_EQ(KRP[2], 0);
    EXPECT_EQ(KRP[3], 90);
    EXPECT_EQ(iMode, 2);
    EXPECT_EQ(isBorder, 0);
    EXPECT_EQ(out(), "");
}

TEST_F(BoundarySetup, TiltedCircularArcAddsTheTiltToTheRange) {
    boundary(0, 0, 10, 0, 90, 1, 45);
    ASSERT_EQ(run(2), 0);
    const double h = 7.0710678118654755; // 10 / sqrt 2
    expect_at(PT[1], h, h);
    expect_at(PT[2], -h, h);
    expect_at(PTd[1], 10, 0);
    expect_at(PTd[2], 0, 10);
    EXPECT_EQ(KRP[2], 45);
    EXPECT_EQ(KRP[3], 135);
    EXPECT_EQ(K_JK0, 45);
    EXPECT_EQ(K_JK, 0);
}

TEST_F(BoundarySetup, EllipticArcRangeIsInItsOwnAngles) {
    boundary(0, 0, 10, 0, 90, 0.5, 90);
    ASSERT_EQ(run(2), 0);
    expect_at(PT[1], 0, 10);
    expect_at(PT[2], -5, 0);
    expect_at(PTd[1], 10, 0);
    expect_at(PTd[2], 0, 10);
    EXPECT_EQ(KRP[2], 0);
    EXPECT_EQ(KRP[3], 90);
    EXPECT_EQ(K_JK0, 90);
    EXPECT_EQ(K_JK, 0);
}

TEST_F(BoundarySetup, OffCentreEllipticArcEnds) {
    // Centre (5, -3), semi-axes 4 and 2, first axis at 30 degrees; the end at angle 90 lies
    // 2 along the second axis, i.e. at (5 - 2 sin 30, -3 + 2 cos 30).
    boundary(5, -3, 4, 0, 90, 0.5, 30);
    ASSERT_EQ(run(4), 0);
    expect_at(PT[1], 5 + 4 * 0.8660254037844386, -3 + 4 * 0.5);
    expect_at(PT[2], 5 - 2 * 0.5, -3 + 2 * 0.8660254037844386);
    expect_at(PTd[1], 9, -3);
    expect_at(PTd[2], 5, 1);
    EXPECT_EQ(iMode, 3);
}

TEST_F(BoundarySetup, RangesAcrossAngleZero) {
    boundary(0, 0, 10, 300, 60, 1, 0);
    ASSERT_EQ(run(2), 0);
    EXPECT_EQ(KRP[2], 300);
    EXPECT_EQ(KRP[3], 420);

    boundary(0, 0, 10, -90, 90, 1, 0);
    ASSERT_EQ(run(2), 0);
    EXPECT_EQ(KRP[2], 270);
    EXPECT_EQ(KRP[3], 450);

    boundary(0, 0, 10, 360, 0, 1, 0);
    ASSERT_EQ(run(2), 0);
    EXPECT_EQ(KRP[2], 360);
    EXPECT_EQ(KRP[3], 360);

    boundary(0, 0, 10, 300, 350, 0, 30); // the tilt carries the range past 360
    ASSERT_EQ(run(4), 0);
    EXPECT_EQ(KRP[2], 330);
    EXPECT_EQ(KRP[3], 380);
}

TEST_F(BoundarySetup, ModesReduceToTheClippingModes) {
    struct Case {
        int given, mode, border;
    } cases[] = {{-4, -4, 0}, {0, 0, 0}, {1, 1, 0}, {2, 2, 0}, {3, 2, 1},
                 {4, 3, 0},   {5, 3, 1}, {6, 6, 0}, {9, 9, 0}};
    for (const Case& c : cases) {
        if (c.given <= 1)
            boundary(0, 0, 10, 0, 0, 0, 0);
        else
            boundary(0, 0, 10, 0, 90, 1, 0);
        isBorder = 7;
        ASSERT_EQ(run(c.given), 0) << c.given;
        EXPECT_EQ(iMode, c.mode) << c.given;
        EXPECT_EQ(isBorder, c.border) << c.given;
    }
}

TEST_F(BoundarySetup, SectorBorderIsTheTwoRadii) {
    boundary(0, 0, 10, 0, 90, 1, 0);
    ASSERT_EQ(run(3), 0);
    EXPECT_EQ(iMode, 2);
    EXPECT_EQ(isBorder, 1);
    EXPECT_EQ(out(), " 10.0000000000000 0.0000000000000 0.0000000000000 0.0000000000000\r\n"
                     " 0.0000000000000 10.0000000000000 0.0000000000000 0.0000000000000\r\n");
}

TEST_F(BoundarySetup, SegmentBorderIsTheChord) {
    boundary(0, 0, 10, 0, 90, 1, 0);
    ASSERT_EQ(run(5), 0);
    EXPECT_EQ(iMode, 3);
    EXPECT_EQ(isBorder, 1);
    EXPECT_EQ(out(), " 10.0000000000000 0.0000000000000 0.0000000000000 10.0000000000000\r\n");
}

TEST_F(BoundarySetup, BorderOfAnOffCentreArcRunsToItsCentre) {
    boundary(20, -10, 5, 180, 270, 1, 0);
    ASSERT_EQ(run(3), 0);
    EXPECT_EQ(out(), " 15.0000000000000 -10.0000000000000 20.0000000000000 -10.0000000000000\r\n"
                     " 20.0000000000000 -15.0000000000000 20.0000000000000 -10.0000000000000\r\n");
}

TEST_F(BoundarySetup, TestModeOneMarksTheEndsBeforeTheBorder) {
    set_test_mode(1);
    boundary(0, 0, 10, 0, 90, 1, 0);
    ASSERT_EQ(run(5), 0);
    EXPECT_EQ(out(), "pt 10.0000000000000 0.0000000000000\r\n"
                     "pt 0.0000000000000 10.0000000000000\r\n"
                     " 10.0000000000000 0.0000000000000 0.0000000000000 10.0000000000000\r\n");
}

TEST_F(BoundarySetup, TestModeOneMarksTheEndsOfACircleToo) {
    set_test_mode(1);
    boundary(1, 2, 3, 0, 0, 0, 0);
    ASSERT_EQ(run(1), 0);
    EXPECT_EQ(out(), "pt 4.0000000000000 2.0000000000000\r\n"
                     "pt 4.0000000000000 2.0000000000000\r\n");
}

TEST_F(BoundarySetup, TestModeTwoReportsTheFinalMode) {
    set_test_mode(2);
    boundary(0, 0, 10, 0, 90, 1, 0);
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(run(5), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "# Pre_del() iMode(3) isBorder(1)\n");
    // No point markers in test mode 2, only the border.
    EXPECT_EQ(out(), " 10.0000000000000 0.0000000000000 0.0000000000000 10.0000000000000\r\n");
}

TEST_F(BoundarySetup, NothingOnTheConsoleOutsideTestModeTwo) {
    set_test_mode(1);
    boundary(0, 0, 10, 0, 90, 1, 0);
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(run(2), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

TEST_F(BoundarySetup, ArcWithoutRatioHasItsEndsOnTheFullRadius) {
    // Long form "ci 0 0 10 0 90": the ratio stays 0, a circular arc.
    boundary(0, 0, 10, 0, 90, 0, 0);
    PTd[1] = {-7, -8};
    PTd[2] = {-9, -6};
    ASSERT_EQ(run(5), 0);
    EXPECT_EQ(PT[1].x, 10);
    EXPECT_EQ(PT[1].y, 0);
    EXPECT_NEAR(PT[2].x, 0, 1e-12);
    EXPECT_EQ(PT[2].y, 10);
    EXPECT_EQ(KRP[2], 0);
    EXPECT_EQ(KRP[3], 90);
    // The circle frame means nothing without a ratio: left as it was.
    EXPECT_EQ(PTd[1].x, -7);
    EXPECT_EQ(PTd[1].y, -8);
    EXPECT_EQ(PTd[2].x, -9);
    EXPECT_EQ(PTd[2].y, -6);
    EXPECT_EQ(out(), " 10.0000000000000 0.0000000000000 0.0000000000000 10.0000000000000\r\n");
}

TEST_F(BoundarySetup, TiltedArcWithoutRatioKeepsItsRadii) {
    boundary(0, 0, 10, 0, 90, 0, 30);
    ASSERT_EQ(run(3), 0);
    expect_at(PT[1], 8.660254037844386, 5);
    expect_at(PT[2], -5, 8.660254037844386);
    EXPECT_EQ(KRP[2], 30);
    EXPECT_EQ(KRP[3], 120);
    EXPECT_EQ(K_JK, 0);
    EXPECT_EQ(K_JK0, 30);
    EXPECT_EQ(out(), " 8.6602540378444 5.0000000000000 0.0000000000000 0.0000000000000\r\n"
                     " -5.0000000000000 8.6602540378444 0.0000000000000 0.0000000000000\r\n");
}

} // namespace
