#include "clip/clip_fixture.h"

namespace {

// Boundary: circle of radius 10 about the origin, mode 1.
class ClipPolyline : public ClipFixture {
  protected:
    void SetUp() override {
        ClipFixture::SetUp();
        designate(0, 0, 10, 0, 0, 0, 0, 1);
        PL = 1;
        PLcnt = 0;
    }
};

const char* const LEFT = " -20.0000000000000 6.0000000000000 -8.0000000000000 6.0000000000000\r\n";
const char* const RIGHT = " 8.0000000000000 6.0000000000000 20.0000000000000 6.0000000000000\r\n";

TEST_F(ClipPolyline, UntouchedBlockOpensOnceAndStaysOpen) {
    line(20, 0, 30, 0);
    EXPECT_GT(PLcnt, 0);
    line(30, 0, 30, 10);
    EXPECT_GT(PLcnt, 0);
    EXPECT_EQ(out(), "pl\r\n"
                     " 20.0000000000000 0.0000000000000 30.0000000000000 0.0000000000000\r\n"
                     " 30.0000000000000 0.0000000000000 30.0000000000000 10.0000000000000\r\n");
}

TEST_F(ClipPolyline, EnteringClosesAndLeavingReopens) {
    line(-20, 6, 0, 6); // no block open, the piece stops at the circle
    EXPECT_EQ(PLcnt, 0);
    line(0, 6, 20, 6); // a single piece that runs to the end
    EXPECT_GT(PLcnt, 0);
    EXPECT_EQ(out(), std::string(LEFT) + "#\r\n" + "pl\r\n" + RIGHT);
}

TEST_F(ClipPolyline, TwoPiecesStayInTheOpenBlock) {
    PLcnt = 1;
    line(-20, 6, 20, 6);
    EXPECT_GT(PLcnt, 0);
    EXPECT_EQ(out(), std::string(LEFT) + RIGHT);
}

TEST_F(ClipPolyline, TwoPiecesOpenNoBlock) {
    line(-20, 6, 20, 6);
    EXPECT_EQ(PLcnt, 0);
    EXPECT_EQ(out(), std::string(LEFT) + RIGHT);
}

TEST_F(ClipPolyline, OpenBlockIsSplitWhereTheFirstPieceStartsLate) {
    PLcnt = 3;
    line(0, 6, 20, 6);
    EXPECT_GT(PLcnt, 0);
    EXPECT_EQ(out(), std::string("#\r\npl\r\n") + RIGHT);
}

TEST_F(ClipPolyline, OpenBlockSurvivesALineWhollyInside) {
    PLcnt = 3;
    line(0, 0, 1, 1);
    EXPECT_EQ(PLcnt, 3);
    EXPECT_EQ(out(), "");
}

TEST_F(ClipPolyline, OpenBlockClosesAfterALineThatEntersTheCircle) {
    PLcnt = 2;
    line(-20, 6, 0, 6);
    EXPECT_EQ(PLcnt, 0);
    EXPECT_EQ(out(), std::string(LEFT) + "#\r\n");
}

TEST_F(ClipPolyline, OutsideABlockNoMarkersAreWritten) {
    PL = 0;
    line(-20, 6, 0, 6);
    line(0, 6, 20, 6);
    EXPECT_EQ(PLcnt, 0);
    EXPECT_EQ(out(), std::string(LEFT) + RIGHT);
}

TEST_F(ClipPolyline, PrefixesComeAfterTheBlockMarker) {
    ZOKU_A[0] = 2;
    line(0, 6, 20, 6);
    EXPECT_EQ(out(), std::string("pl\r\nz2\r\n") + RIGHT);
}

} // namespace
