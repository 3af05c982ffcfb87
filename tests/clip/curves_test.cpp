#include "clip/clip_fixture.h"

namespace {

class Curves : public ClipFixture {
  protected:
    static int curve(double cx, double cy, double r, double sk, double ek, double hp, double jk,
                     bool short_form = false) {
        CX = cx, CY = cy, CR = r, SK = sk, EK = ek, HP = hp, JK = jk;
        return Del_c_c(short_form);
    }
};

TEST_F(Curves, ClosedCircleCutAcrossItsStartWithItsPrefixes) {
    designate(0, 0, 10, 0, 0, 0, 0, 1);
    ZOKU_A[0] = 7, ZOKU_A[1] = 2;
    // Through the boundary's centre: crossings at 120 and 240, the outside runs across 0.
    EXPECT_EQ(curve(10, 0, 10, 0, 0, 0, 0, true), 0);
    EXPECT_EQ(out(), "z2\r\nz7\r\nci 10.0000000000000 0.0000000000000 10.0000000000000 "
                     "240.0000000000000 120.0000000000000 1.0000000000000 0.0000000000000\r\n");
}

TEST_F(Curves, CropKeepsTheInsideInTheRecordsOwnAngles) {
    designate(0, 0, 10, 0, 0, 0, 0, 1);
    isCrop = 1;
    // Tilt 90 turns the own angles: the crossings at drawing angles 210 and 330 are 120 and 240.
    EXPECT_EQ(curve(0, 10, 10, 0, 360, 1, 90), 0);
    // An arc wholly inside stays whole, one wholly outside goes.
    EXPECT_EQ(curve(0, 0, 5, 10, 80, 1, 0), 1);
    EXPECT_EQ(curve(0, 0, 15, 10, 80, 1, 0), 0);
    EXPECT_EQ(out(), "ci 0.0000000000000 10.0000000000000 10.0000000000000 120.0000000000000 "
                     "240.0000000000000 1.0000000000000 90.0000000000000\r\n");
}

TEST_F(Curves, TheBoundaryItselfStaysWhole) {
    designate(5, 5, 10, 0, 0, 0.5, 30, 1);
    EXPECT_EQ(curve(5, 5, 10, 0, 0, 0.5, 30), 1);
    EXPECT_EQ(out(), "");
}

TEST_F(Curves, SectorArcOfTheBoundaryCroppedToTheArc) {
    designate(0, 0, 10, 0, 90, 1, 0, 2);
    EXPECT_EQ(curve(0, 0, 10, 0, 90, 1, 0), 1);
    isCrop = 1;
    EXPECT_EQ(curve(0, 0, 10, 0, 90, 1, 0), 1);
    // The whole circle of the boundary: only its part on the arc lies on the edge.
    EXPECT_EQ(curve(0, 0, 10, 0, 0, 0, 0, true), 0);
    EXPECT_EQ(out(), "ci 0.0000000000000 0.0000000000000 10.0000000000000 0.0000000000000 "
                     "90.0000000000000 1.0000000000000 0.0000000000000\r\n");
}

TEST_F(Curves, SegmentModeCutsAtTheChord) {
    // The arc 0 to 180: the chord is the diameter on the x axis. A circle of radius 5 about
    // the centre is cut at 0 and 180; its lower half stays.
    designate(0, 0, 10, 0, 180, 1, 0, 4);
    EXPECT_EQ(curve(0, 0, 5, 90, 90, 0.5, 0), 0);
    EXPECT_EQ(out(), "ci 0.0000000000000 0.0000000000000 5.0000000000000 180.0000000000000 "
                     "360.0000000000000 0.5000000000000 0.0000000000000\r\n");
}

} // namespace
