#include "clip/clip_fixture.h"

namespace {

class ClipLines : public ClipFixture {};

const char* const LEFT_PIECE =
    " -20.0000000000000 6.0000000000000 -8.0000000000000 6.0000000000000\r\n";
const char* const RIGHT_PIECE =
    " 8.0000000000000 6.0000000000000 20.0000000000000 6.0000000000000\r\n";

TEST_F(ClipLines, CrossingTheCircleTwiceKeepsBothOuterPiecesEachWithItsPrefixes) {
    designate(0, 0, 10, 0, 0, 0, 0, 1);
    ZOKU_A[0] = 1; // newer
    ZOKU_A[1] = 2; // older, written first
    line(-20, 6, 20, 6);
    EXPECT_EQ(olineMAX, 3);
    EXPECT_EQ(out(), std::string("z2\r\nz1\r\n") + LEFT_PIECE + "z2\r\nz1\r\n" + RIGHT_PIECE);
}

TEST_F(ClipLines, PiecesOfAReversedLineRunItsWayInItsOrder) {
    designate(0, 0, 10, 0, 0, 0, 0, 1);
    line(20, 6, -20, 6);
    EXPECT_EQ(out(), " 20.0000000000000 6.0000000000000 8.0000000000000 6.0000000000000\r\n"
                     " -8.0000000000000 6.0000000000000 -20.0000000000000 6.0000000000000\r\n");
}

TEST_F(ClipLines, VerticalLineIsCutAtBothCrossings) {
    designate(0, 0, 10, 0, 0, 0, 0, 1);
    line(6, 20, 6, -20);
    EXPECT_EQ(out(), " 6.0000000000000 20.0000000000000 6.0000000000000 8.0000000000000\r\n"
                     " 6.0000000000000 -8.0000000000000 6.0000000000000 -20.0000000000000\r\n");
}

TEST_F(ClipLines, LineWhollyInsideWritesNothingNotEvenItsPrefixes) {
    designate(0, 0, 10, 0, 0, 0, 0, 1);
    ZOKU_A[0] = 1;
    ZOKU_A[1] = 2;
    line(-1, 0, 1, 1);
    EXPECT_EQ(olineMAX, 1);
    EXPECT_EQ(out(), "");
}

TEST_F(ClipLines, LineOutsideIsWrittenAgainAsItWas) {
    designate(0, 0, 10, 0, 0, 0, 0, 1);
    ZOKU_A[0] = 7;
    // Its carrying line meets the circle, the segment itself does not.
    line(20, 8, 12, 0);
    EXPECT_EQ(olineMAX, 2);
    EXPECT_EQ(out(),
              "z7\r\n 20.0000000000000 8.0000000000000 12.0000000000000 0.0000000000000\r\n");
}

TEST_F(ClipLines, EndOnTheCircleIsNoExtraCut) {
    designate(0, 0, 10, 0, 0, 0, 0, 1);
    line(-20, 6, -8, 6);
    EXPECT_EQ(olineMAX, 2);
    EXPECT_EQ(out(), LEFT_PIECE);
}

TEST_F(ClipLines, LineFromTheCentreKeepsItsOuterPart) {
    designate(0, 0, 10, 0, 0, 0, 0, 1);
    line(0, 0, 20, 0);
    EXPECT_EQ(out(), " 10.0000000000000 0.0000000000000 20.0000000000000 0.0000000000000\r\n");
}

TEST_F(ClipLines, OffCentreCircle) {
    designate(100, -50, 5, 0, 0, 0, 0, 1);
    line(90, -47, 110, -47); // crosses at 100 -+ 4
    EXPECT_EQ(out(),
              " 90.0000000000000 -47.0000000000000 96.0000000000000 -47.0000000000000\r\n"
              " 104.0000000000000 -47.0000000000000 110.0000000000000 -47.0000000000000\r\n");
}

TEST_F(ClipLines, EllipseIsCutInTheCircleFrameAndWrittenInDrawingCoordinates) {
    // Semi-axes 10 along x and 5 along y: y = 3 meets it at x = -+8.
    designate(0, 0, 10, 0, 0, 0.5, 0, 1);
    line(-20, 3, 20, 3);
    EXPECT_EQ(out(), " -20.0000000000000 3.0000000000000 -8.0000000000000 3.0000000000000\r\n"
                     " 8.0000000000000 3.0000000000000 20.0000000000000 3.0000000000000\r\n");
    // The record itself is given back.
    EXPECT_EQ(ILINE.x1, -20);
    EXPECT_EQ(ILINE.y1, 3);
    EXPECT_EQ(ILINE.x2, 20);
    EXPECT_EQ(ILINE.y2, 3);
}

TEST_F(ClipLines, TiltedEllipseKeepsTheRecordsOwnOuterEnds) {
    // Tilt 90: semi-axis 10 along y, 5 along x. The line y = 2 + x / 20 meets it where
    // 0.040025 x^2 + 0.002 x - 0.96 = 0.
    designate(0, 0, 10, 0, 0, 0.5, 90, 1);
    line(-20, 1, 20, 3);
    ASSERT_EQ(olineMAX, 3);
    EXPECT_EQ(OLINE[1].x1, -20); // exactly, not as mapped there and back
    EXPECT_EQ(OLINE[1].y1, 1);
    EXPECT_NEAR(OLINE[1].x2, -4.92249738511247, 1e-9);
    EXPECT_NEAR(OLINE[1].y2, 1.7538751307443765, 1e-9);
    EXPECT_NEAR(OLINE[2].x1, 4.872528615593419, 1e-9);
    EXPECT_NEAR(OLINE[2].y1, 2.243626430779671, 1e-9);
    EXPECT_EQ(OLINE[2].x2, 20);
    EXPECT_EQ(OLINE[2].y2, 3);
    EXPECT_EQ(K_JK, 90); // taken from the designated tilt for the clipping
}

TEST_F(ClipLines, OnlyTheEllipseLowersTheExtentsWithMappedEnds) {
    // Ratio 0.1: y = -30 lies at -300 in the circle frame.
    designate(0, 0, 1, 0, 0, 0.1, 0, 1);
    for (auto& p : Pmin) p = {0, 0};
    ILINE = {-20, -30, 20, -30};
    Del_c_l();
    EXPECT_EQ(Pmin[0].x, -120);
    EXPECT_EQ(Pmin[0].y, -400);
    EXPECT_EQ(Pmin[1].x, -120);
    EXPECT_EQ(Pmin[1].y, -403);
    EXPECT_EQ(Pmin[2].y, -406);

    designate(0, 0, 1, 0, 0, 0, 0, 1); // a circle: no mapping, no lowering here
    for (auto& p : Pmin) p = {0, 0};
    ILINE = {-20, -30, 20, -30};
    Del_c_l();
    EXPECT_EQ(Pmin[0].x, 0);
    EXPECT_EQ(Pmin[0].y, 0);
    EXPECT_EQ(Pmin[1].y, 0);
}

TEST_F(ClipLines, SegmentModeCutsAtTheChordInsideTheCircle) {
    designate(0, 0, 10, 0, 90, 1, 0, 4); // region between the quarter arc and x + y = 10
    line(2, 3, 8, 5);
    EXPECT_EQ(out(), " 2.0000000000000 3.0000000000000 5.7500000000000 4.2500000000000\r\n");
}

TEST_F(ClipLines, SegmentModeIgnoresTheCircleAwayFromTheArc) {
    designate(0, 0, 10, 0, 90, 1, 0, 4);
    line(-20, -5, 20, -5);
    EXPECT_EQ(out(), " -20.0000000000000 -5.0000000000000 20.0000000000000 -5.0000000000000\r\n");
}

TEST_F(ClipLines, SegmentModeCutsAtChordAndArc) {
    designate(0, 0, 10, 0, 90, 1, 0, 4);
    line(0, 8, 12, 8); // chord at x = 2, arc at x = 6
    EXPECT_EQ(out(), " 0.0000000000000 8.0000000000000 2.0000000000000 8.0000000000000\r\n"
                     " 6.0000000000000 8.0000000000000 12.0000000000000 8.0000000000000\r\n");
}

TEST_F(ClipLines, SectorModeCutsAtTheRadiusAndTheArc) {
    designate(0, 0, 10, 0, 90, 1, 0, 2);
    line(-5, 5, 15, 5); // radius x = 0 at (0, 5), arc at x = sqrt 75
    EXPECT_EQ(out(), " -5.0000000000000 5.0000000000000 0.0000000000000 5.0000000000000\r\n"
                     " 8.6602540378444 5.0000000000000 15.0000000000000 5.0000000000000\r\n");
}

TEST_F(ClipLines, SectorModeKeepsALineInsideTheCircleOutsideTheAngle) {
    designate(0, 0, 10, 0, 90, 1, 0, 2);
    line(-5, -2, -1, -6);
    EXPECT_EQ(out(), " -5.0000000000000 -2.0000000000000 -1.0000000000000 -6.0000000000000\r\n");
}

TEST_F(ClipLines, SectorModeCutsATiltedArcsRadii) {
    // Arc 0..90 turned by 45: the sector lies between the diagonals, above the centre.
    designate(0, 0, 10, 0, 90, 1, 45, 2);
    line(-8, 3, 8, 3); // meets the radii at x = -+3, inside the circle
    ASSERT_EQ(olineMAX, 3);
    EXPECT_EQ(OLINE[1].x1, -8);
    EXPECT_NEAR(OLINE[1].x2, -3, 1e-12);
    EXPECT_NEAR(OLINE[2].x1, 3, 1e-12);
    EXPECT_EQ(OLINE[2].x2, 8);
}

TEST_F(ClipLines, EllipticSectorUsesTheMappedRadii) {
    // Semi-axes 10 along x and 5 along y, sector of the first quadrant.
    designate(0, 0, 10, 0, 90, 0.5, 0, 2);
    line(-4, 2, 12, 2); // radius x = 0 at (0, 2), ellipse at x = sqrt(100 - 16) = 9.165...
    ASSERT_EQ(olineMAX, 3);
    EXPECT_EQ(OLINE[1].x1, -4);
    EXPECT_NEAR(OLINE[1].x2, 0, 1e-12);
    EXPECT_NEAR(OLINE[2].x1, 9.1651513899116797, 1e-12);
    EXPECT_NEAR(OLINE[2].y1, 2, 1e-12);
    EXPECT_EQ(OLINE[2].x2, 12);
}

TEST_F(ClipLines, CircleWithEqualNonZeroAnglesClipsLikeAWholeCircle) {
    designate(0, 0, 10, 30, 30, 0, 0, 1); // "ci 0 0 10 30 30"
    line(20, 8, 12, 0);
    line(-20, 6, 20, 6);
    line(-1, 0, 1, 1);
    EXPECT_EQ(out(), " 20.0000000000000 8.0000000000000 12.0000000000000 0.0000000000000\r\n" +
                         std::string(LEFT_PIECE) + RIGHT_PIECE);
}

TEST_F(ClipLines, ModesAboveFiveEraseEveryLine) {
    designate(0, 0, 10, 0, 90, 1, 0, 6);
    line(100, 100, 130, 105);
    EXPECT_EQ(olineMAX, 1);
    EXPECT_EQ(out(), "");
}

TEST_F(ClipLines, TestModeMarksTheEndsInTheCircleFrame) {
    designate(0, 0, 10, 0, 0, 0.5, 0, 1);
    set_test_mode(1);
    line(-20, 3, 20, 3);
    std::string o = out();
    const std::string marks = "pt -20.0000000000000 6.0000000000000\r\n"
                              "pt 20.0000000000000 6.0000000000000\r\n";
    EXPECT_EQ(o.substr(0, marks.size()), marks);
    const std::string pieces =
        std::string(" -20.0000000000000 3.0000000000000 -8.0000000000000 "
                    "3.0000000000000\r\n") +
        " 8.0000000000000 3.0000000000000 20.0000000000000 3.0000000000000\r\n";
    ASSERT_GE(o.size(), pieces.size());
    EXPECT_EQ(o.substr(o.size() - pieces.size()), pieces);
}

TEST_F(ClipLines, TestModeTwoTracesTheClipping) {
    designate(0, 0, 10, 0, 0, 0, 0, 1);
    set_test_mode(2);
    ::testing::internal::CaptureStdout();
    line(-20, 6, 20, 6);
    std::string console = ::testing::internal::GetCapturedStdout();
    std::vector<std::string> want = {
        "# Del_c_l() K_C(0.0 0.0 10.0) (0.0 360.0) (0.0) (0.0)",
        "#  KP(-20.0 , 6.0) (20.0 , 6.0)",
        "#KPsort()end change(0) add(2) KPcnt(5) iMode(1)",
        "#KPsort()end KP(-20.0 , 6.0) (-8.0 , 6.0) (8.0 , 6.0) (20.0 , 6.0)",
        "# iMode2:KO KPcnt(4) j(0) add(1)  KPx(20.0) OLINE(0.0) oline(3) KPcnt(5)",
        "#  SORT_OLINE()end  (-20.0 , 6.0)---(-8.0 , 6.0)",
        "#  SORT_OLINE()end  (8.0 , 6.0)---(20.0 , 6.0)",
    };
    EXPECT_EQ(lines_starting(console, {"# Del_c_l", "#  KP", "#KPsort", "# iMode2", "#  SORT"}),
              want);
    std::string o = out();
    const std::string marks = "pt -20.0000000000000 6.0000000000000\r\n"
                              "pt 20.0000000000000 6.0000000000000\r\n";
    EXPECT_EQ(o.substr(0, marks.size()), marks);
}

TEST_F(ClipLines, TestModeTwoTraceFallsBackToTheSearchCounts) {
    designate(0, 0, 10, 0, 90, 1, 0, 6);
    set_test_mode(2);
    ::testing::internal::CaptureStdout();
    line(20, 0, 30, 5);
    std::string console = ::testing::internal::GetCapturedStdout();
    std::vector<std::string> want = {
        "# iMode2:KO KPcnt(2) j(0) add(0)  KPx(30.0) OLINE(0.0) oline(1) KPcnt(3)"};
    EXPECT_EQ(lines_starting(console, {"# iMode2"}), want);
}

TEST_F(ClipLines, TestModeTwoTraceOfTheSectorCountsTheSecondRadius) {
    designate(0, 0, 10, 0, 90, 1, 0, 2);
    set_test_mode(2);
    ::testing::internal::CaptureStdout();
    line(-5, 5, 15, 5);
    std::string console = ::testing::internal::GetCapturedStdout();
    // Last piece (8.66, 5)-(15, 5): its probe meets the first radius and the arc, not the
    // second radius, so j is 0 and the total 2; slot 3 of the pieces is still empty.
    std::vector<std::string> want = {
        "# iMode2:KO KPcnt(4) j(0) add(2)  KPx(15.0) OLINE(0.0) oline(3) KPcnt(0)"};
    EXPECT_EQ(lines_starting(console, {"# iMode2"}), want);
}

} // namespace
