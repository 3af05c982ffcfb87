// Kernel state as the clipper finds it: circle of radius 10 about the origin, full range,
// default tolerance, no test mode.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "boundary/boundary.h"
#include "exchange/output.h"
#include "clip/clip.h"
#include "driver/driver.h"
#include "geometry/geometry.h"
#include "text/streams.h"

class GeoFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_geometry();
        set_test_mode(0);
        gomi = 0.00025;
        K_CX = K_CY = 0, K_CR = 10, K_CPT = {0, 0};
        KRP[2] = 0, KRP[3] = 360;
        PT[1] = PT[2] = PTd[1] = PTd[2] = {0, 0};
        ILINE = {0, 0, 0, 0};
        for (auto& s : OLINE) s = {0, 0, 0, 0};
    }
    void TearDown() override { set_test_mode(0); }
    static void seed(const Segment& s) { // the list as set up for one line
        KPcnt = 3;
        KP[1] = {s.x1, s.y1}, KP[2] = {s.x2, s.y2}, KP[3] = KP[4] = {0, 0};
    }
};

#define EXPECT_PT(p, X, Y) EXPECT_TRUE((p).x == (X) && (p).y == (Y)) << (p).x << ", " << (p).y
#define EXPECT_SEG(s, X1, Y1, X2, Y2)                                                              \
    EXPECT_TRUE((s).x1 == (X1) && (s).y1 == (Y1) && (s).x2 == (X2) && (s).y2 == (Y2))              \
        << (s).x1 << ", " << (s).y1 << " - " << (s).x2 << ", " << (s).y2
