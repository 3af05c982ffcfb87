#include "clip/clip_fixture.h"

#include <cstring>

namespace {

class DelTen : public ClipFixture {};
class DelMoji : public ClipFixture {};

TEST_F(DelTen, CircleDropsTheEdgeAndTheCentre) {
    designate(0, 0, 10, 0, 0, 0, 0, 1);
    EXPECT_EQ(point(6, 8), 0); // distance exactly 10
    EXPECT_EQ(point(0, 0), 0);
    EXPECT_EQ(point(6.0001, 8), 1);
    EXPECT_EQ(point(-30, 2), 1);
}

TEST_F(DelTen, EllipseIsTestedInTheCircleFrame) {
    designate(0, 0, 10, 0, 0, 0.5, 0, 1); // semi-axes 10 along x, 5 along y
    EXPECT_EQ(point(0, 4), 0);
    EXPECT_EQ(point(0, 6), 1); // nearer than 10, farther than 5 across the first axis
    EXPECT_EQ(point(9, 0), 0);
    EXPECT_EQ(point(8, 3.5), 1); // 0.64 + 0.49 > 1

    designate(0, 0, 10, 0, 0, 0.5, 90, 1); // first axis along y
    EXPECT_EQ(point(6, 0), 1);
    EXPECT_EQ(point(4, 0), 0);
    EXPECT_EQ(point(0, 9), 0);
    EXPECT_EQ(point(0, -11), 1);
}

TEST_F(DelTen, SegmentModeDropsOnlyBetweenChordAndArc) {
    designate(0, 0, 10, 0, 90, 1, 0, 4);
    EXPECT_EQ(point(2, 2), 1);  // inside the circle, beyond the chord
    EXPECT_EQ(point(6, 6), 0);  // between chord and arc
    EXPECT_EQ(point(8, 8), 1);  // beyond the arc
    EXPECT_EQ(point(-5, 5), 1); // inside the circle away from the arc
}

TEST_F(DelTen, SectorModeDropsOnlyInsideTheAngle) {
    designate(0, 0, 10, 0, 90, 1, 0, 2);
    EXPECT_EQ(point(-3, 2), 1);
    EXPECT_EQ(point(3, 4), 0);
    EXPECT_EQ(point(3, -4), 1);
    EXPECT_EQ(point(20, 20), 1);
}

TEST_F(DelTen, ReflexSectorDropsThreeQuarters) {
    designate(0, 0, 10, 90, 360, 1, 0, 2); // everything but the first quadrant
    EXPECT_EQ(point(3, 4), 1);
    EXPECT_EQ(point(-3, 4), 0);
    EXPECT_EQ(point(-3, -4), 0);
    EXPECT_EQ(point(3, -4), 0);
}

TEST_F(DelTen, EllipticSegment) {
    // Semi-axes 10 along x, 5 along y; arc 0..90, chord from (10, 0) to (0, 5).
    designate(0, 0, 10, 0, 90, 0.5, 0, 4);
    EXPECT_EQ(point(6, 3), 0); // x/10 + y/5 = 1.2 > 1, 0.36 + 0.36 < 1
    EXPECT_EQ(point(3, 1), 1); // x/10 + y/5 = 0.5
    EXPECT_EQ(point(8, 4), 1); // beyond the ellipse: 0.64 + 0.64
}

TEST_F(DelTen, ModesAboveFiveDropEveryPoint) {
    designate(0, 0, 10, 0, 90, 1, 0, 6);
    EXPECT_EQ(point(500, 500), 0);
}

TEST_F(DelTen, OnlyTheEllipseLowersTheExtentsWithTheMappedPoint) {
    designate(0, 0, 1, 0, 0, 0.1, 0, 1);
    for (auto& p : Pmin) p = {0, 0};
    IPOINT = {0, -30}; // -300 in the circle frame
    EXPECT_EQ(Del_ten(), 1);
    EXPECT_EQ(TPN.y, -300);
    EXPECT_EQ(Pmin[0].x, 0);
    EXPECT_EQ(Pmin[0].y, -400);
    EXPECT_EQ(Pmin[1].y, -403);

    designate(0, 0, 1, 0, 0, 0, 0, 1);
    for (auto& p : Pmin) p = {0, 0};
    IPOINT = {-5, -30};
    EXPECT_EQ(Del_ten(), 1);
    EXPECT_EQ(TPN.x, -5);
    EXPECT_EQ(Pmin[0].x, 0);
    EXPECT_EQ(Pmin[0].y, 0);
}

TEST_F(DelTen, TestModeTwoReportsTheVerdictOfEachMode) {
    struct Case {
        int mode;
        double x, y;
        const char* line;
    } cases[] = {
        {1, 20, 0, "# Del_ten()end k(5)\n"}, {1, 1, 0, "# Del_ten()end k(0)\n"},
        {2, -3, 2, "# Del_ten()end k(3)\n"}, {4, 2, 2, "# Del_ten()end k(1)\n"},
        {4, 6, 6, "# Del_ten()end k(0)\n"},
    };
    for (const Case& c : cases) {
        set_test_mode(0);
        designate(0, 0, 10, 0, c.mode == 1 ? 0 : 90, c.mode == 1 ? 0 : 1, 0, c.mode);
        set_test_mode(2);
        ::testing::internal::CaptureStdout();
        point(c.x, c.y);
        std::string console = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(lines_starting(console, {"# Del_ten"}),
                  std::vector<std::string>{std::string(c.line, std::strlen(c.line) - 1)});
    }
}

TEST_F(DelMoji, KeptWhenEitherEndIsOutside) {
    designate(0, 0, 10, 0, 0, 0, 0, 1);
    auto text = [](double x, double y, double dx, double dy) {
        ChX = x, ChY = y, ChDX = dx, ChDY = dy;
        return Del_moji();
    };
    EXPECT_EQ(text(1, 2, 30, 0), 1);   // starts inside, ends outside
    EXPECT_EQ(text(-30, 0, 25, 0), 1); // starts outside, ends inside
    EXPECT_EQ(text(1, 2, 3, 1), 0);    // both ends inside
    EXPECT_EQ(text(-30, 0, 60, 0), 1); // both outside, across the circle
    // The second end is the last one tested.
    EXPECT_EQ(IPOINT.x, 30);
    EXPECT_EQ(IPOINT.y, 0);
}

TEST_F(DelMoji, TestModeTwoTestsBothEnds) {
    designate(0, 0, 10, 0, 0, 0, 0, 1);
    set_test_mode(2);
    std::memcpy(ChHEAD, "ch", 2);
    ChX = 1, ChY = 2, ChDX = 30, ChDY = 0;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(Del_moji(), 1);
    std::vector<std::string> want = {
        "# Del_moji() ChHEAD(ch) 1.0 2.0 30.0 0.0",
        "# Del_ten()end k(0)",
        "# Del_ten()end k(5)",
        "# Del_moji()end k(1) k1(0) k2(1)",
    };
    EXPECT_EQ(lines_starting(::testing::internal::GetCapturedStdout(), {"# Del_"}), want);
}

} // namespace
