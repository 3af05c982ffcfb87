// A boundary designated and set up as the pre-scan and the first comment record leave it, with
// the output of the pass captured in memory.
#pragma once
#include <gtest/gtest.h>

#include "output_fixture.h"

#include <sstream>
#include <string>
#include <vector>

#include "boundary/boundary.h"
#include "exchange/output.h"
#include "clip/clip.h"
#include "driver/driver.h"
#include "exchange/attributes.h"
#include "geometry/geometry.h"
#include "text/streams.h"

class ClipFixture : public OutputFixture {
  protected:
    // The boundary record of "ci cx cy r sk ek hp jk" after the marker, set up for a mode.
    static void designate(double cx, double cy, double r, double sk, double ek, double hp,
                          double jk, int mode) {
        K_CX = cx, K_CY = cy, K_CR = r, K_SK = sk, K_EK = ek, K_HP = hp, K_JK = jk;
        K_CPT = {cx, cy};
        CX = cx, CY = cy, CR = r;
        Pole_set({cx - r, cy - r});
        iMode = mode;
        ASSERT_EQ(Pre_del(), 0);
    }
    // A segment record as the pre-scan saw it and the main pass hands it over.
    static void line(double x1, double y1, double x2, double y2) {
        Pole_set({x1, y1});
        Pole_set({x2, y2});
        ILINE = {x1, y1, x2, y2};
        EXPECT_EQ(Del_c_l(), 0);
    }
    static int point(double x, double y) {
        Pole_set({x, y});
        IPOINT = {x, y};
        return Del_ten();
    }
};

// The console lines that begin with one of the prefixes, in order.
inline std::vector<std::string> lines_starting(const std::string& text,
                                               const std::vector<std::string>& prefixes) {
    std::vector<std::string> got;
    std::istringstream in(text);
    std::string l;
    while (std::getline(in, l))
        for (const auto& p : prefixes)
            if (l.compare(0, p.size(), p) == 0) {
                got.push_back(l);
                break;
            }
    return got;
}
