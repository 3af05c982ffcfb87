// The pre-scan: the designated boundary, the lower-left extents, scale and tolerance, and the
// first values of the attributes, fed line by line as the scan loop hands them over.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "boundary/boundary.h"
#include "driver/driver.h"
#include "exchange/attributes.h"

namespace {

class Prescan : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_all();
        ASSERT_EQ(SHARP, 20);
    }
    static void scan(const std::vector<std::string>& lines) {
        long long n = 0;
        for (const auto& l : lines) Pre_pro(l, ++n);
    }
    static void expect_boundary(double cx, double cy, double r, double sk, double ek, double hp,
                                double jk) {
        EXPECT_EQ(K_CX, cx);
        EXPECT_EQ(K_CY, cy);
        EXPECT_EQ(K_CR, r);
        EXPECT_EQ(K_SK, sk);
        EXPECT_EQ(K_EK, ek);
        EXPECT_EQ(K_HP, hp);
        EXPECT_EQ(K_JK, jk);
        EXPECT_EQ(K_CPT.x, cx);
        EXPECT_EQ(K_CPT.y, cy);
    }
    // Pmin as a point (x, y) lowered it: the three points 3 apart in y.
    static void expect_pmin(double x, double y) {
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(Pmin[i].x, x) << i;
            EXPECT_EQ(Pmin[i].y, y - 3 * i) << i;
        }
    }
    static void expect_pmin_untouched() {
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(Pmin[i].x, 0) << i;
            EXPECT_EQ(Pmin[i].y, 0) << i;
        }
    }
};

std::vector<std::string> filler(int n) { return std::vector<std::string>(n, "lc1\n"); }

TEST_F(Prescan, MarkerDesignatesTheNextLine) {
    auto lines = filler(6);
    lines.push_back("hhp1ci\n");     // line 7
    lines.push_back("ci 10 20 5\n"); // line 8, short form
    lines.push_back("ci 99 99 9\n");
    scan(lines);
    expect_boundary(10, 20, 5, 0, 0, 0, 0);
    EXPECT_EQ(HHP_FIND[1], 7);
    expect_pmin_untouched(); // (5, 15) lies above and right of (0, 0)

    reset_all();
    scan({"#\n", "hhp1ci\n", "ci -10 -20 5\n"});
    expect_boundary(-10, -20, 5, 0, 0, 0, 0);
    expect_pmin(-115, -125); // the lower-left corner (-15, -25)
}

TEST_F(Prescan, CircleOnLineOneWithoutMarker) {
    scan({"ci 1 2 3 0 90 1 0\n", "ci 4 5 6\n"});
    expect_boundary(1, 2, 3, 0, 90, 1, 0);
}

TEST_F(Prescan, MarkerWithoutCircleAfterItDesignatesNothing) {
    scan({"lc1\n", "hhp1ci\n", "pt 1 1\n", "ci 4 5 6\n"});
    expect_boundary(0, 0, 0, 0, 0, 0, 0);
    reset_all();
    scan({"lc1\n", "ci 4 5 6 30 60 1 0\n", "hhp1ci\n"}); // marker on the last line
    expect_boundary(0, 0, 0, 0, 0, 0, 0);
    reset_all();
    scan({"lc1\n", "hhp1c\n", "ci 4 5 6\n", "hhp1cix\n", "ci 7 8 9\n"});
    expect_boundary(7, 8, 9, 0, 0, 0, 0);
}

TEST_F(Prescan, LastMarkerAndCirclePairCounts) {
    scan({"lc1\n", "hhp1ci\n", "ci 1 1 1\n", "hhp1ci\n", "ci 2 2 2 10 20 0.5 30\n"});
    expect_boundary(2, 2, 2, 10, 20, 0.5, 30);
}

TEST_F(Prescan, ShortFormIsAFullCircle) {
    // A short-form record never takes over the angles of an earlier arc.
    scan({"ci 0 0 50 30 120 1 0\n", "hhp1ci\n", "ci 10 20 5\n"});
    expect_boundary(10, 20, 5, 0, 0, 0, 0);
    EXPECT_EQ(SK, 0);
    EXPECT_EQ(EK, 0);
    EXPECT_EQ(HP, 0);
    EXPECT_EQ(JK, 0);
}

TEST_F(Prescan, CircleFormsByBlankCount) {
    struct Case {
        std::string line;
        double cx, cy, r, sk, ek, hp, jk;
    } cases[] = {
        {"ci 1 2 3 \n", 1, 2, 3, 0, 360, 0, 0},          // four blanks: long form
        {"ci 0 0 10 0 90 1 0\n", 0, 0, 10, 0, 90, 1, 0}, // seven blanks
        {"ci 1 2 3 45\n", 1, 2, 3, 45, 360, 0, 0},       // missing fields keep the defaults
        {"ci 1 2 3 45 x 2 2\n", 1, 2, 3, 45, 360, 0, 0}, // and so do those after a bad one
        {"ci 1 2 3 4 5 0.5 7 8 9\n", 1, 2, 3, 4, 5, 0.5, 7},
        {"ci1 2 3\n", 1, 2, 3, 0, 360, 0, 0},                       // two blanks: long form
        {"ci 1 2 3\r\n", 1, 2, 3, 0, 0, 0, 0},                      // the CR is not counted
        {std::string("ci 1 2 3\0 4 5\n", 14), 1, 2, 3, 0, 0, 0, 0}, // nor what follows a NUL
    };
    for (auto& c : cases) {
        reset_all();
        Pre_pro(c.line, 1);
        expect_boundary(c.cx, c.cy, c.r, c.sk, c.ek, c.hp, c.jk);
    }
}

TEST_F(Prescan, ExtentsAreLoweredByEveryGeometry) {
    scan({" 10 10 20 20\n", "pt 0 0\n", "ci 50 50 10\n", "#\n"});
    expect_pmin_untouched();

    reset_all();
    scan({" -50 -20 10 10\n"});
    expect_pmin(-150, -120);
    scan({"pt -120 0\n"}); // not below the stored -150
    expect_pmin(-150, -120);
    scan({"pt -151 -121\n"});
    expect_pmin(-251, -221);

    reset_all();
    scan({"ci 10 10 20\n"}); // the square's lower-left corner (-10, -10)
    expect_pmin(-110, -110);

    reset_all();
    Pole_set({-5, 3});
    EXPECT_EQ(Pmin[0].x, -105);
    EXPECT_EQ(Pmin[1].x, -105);
    EXPECT_EQ(Pmin[2].x, -105);
    EXPECT_EQ(Pmin[0].y, 0);
    Pole_set({std::numeric_limits<double>::quiet_NaN(), -7});
    EXPECT_EQ(Pmin[0].x, -105);
    EXPECT_EQ(Pmin[0].y, -107);
    EXPECT_EQ(Pmin[1].y, -110);
    EXPECT_EQ(Pmin[2].y, -113);
    Pole_set({-std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()});
    EXPECT_EQ(Pmin[0].y, -107);
}

TEST_F(Prescan, UnreadableSegmentFieldsKeepTheirValues) {
    scan({" -10 -20 -30 -40\n", " 1 2 x 4\n"});
    EXPECT_EQ(ILINE.x1, 1);
    EXPECT_EQ(ILINE.y1, 2);
    EXPECT_EQ(ILINE.x2, -30);
    EXPECT_EQ(ILINE.y2, -40);
}

TEST_F(Prescan, ScaleAndToleranceAtFirstComment) {
    scan({"hs 1 1 1 100\n", "lg3\n", "#\n"});
    EXPECT_EQ(scale, 100);
    EXPECT_DOUBLE_EQ(gomi, 0.025);
    EXPECT_EQ(SHARP, 0);

    // Later comment records change nothing.
    scan({"lg0\n", "hn -10 -20 -30 -40\n", "#\n"});
    EXPECT_EQ(scale, 100);
    expect_pmin_untouched();

    reset_all();
    scan({"hs 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17\n", "lgA\n", "#\n"});
    EXPECT_EQ(scale, 12);

    reset_all();
    scan({"hn -10 -20 5 5\n", "hs 4\n"}); // no comment record
    EXPECT_EQ(scale, 1.0);
    EXPECT_EQ(gomi, 0.00025);
    expect_pmin_untouched();
    scan({"#\n"}); // group 0, and the "hn" points join the extents
    EXPECT_EQ(scale, 4);
    EXPECT_DOUBLE_EQ(gomi, 0.001);
    expect_pmin(-110, -120);
}

TEST_F(Prescan, GroupWithoutScaleTakesOne) {
    for (const char* lg : {"lg10\n", "lg-1\n", "lgffffffff\n", "lg7fffffff\n"}) {
        reset_all();
        scan({"hs 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5\n", lg, "#\n"});
        EXPECT_EQ(scale, 1.0) << lg;
        EXPECT_EQ(gomi, 0.00025) << lg;
    }
}

TEST_F(Prescan, ScaleRecordsFillFromTheFront) {
    scan({"hs 2 3\n"});
    EXPECT_EQ(G_SCALE[0], 2);
    EXPECT_EQ(G_SCALE[1], 3);
    for (int i = 2; i < 16; ++i) EXPECT_EQ(G_SCALE[i], 1.0) << i;
    scan({"hs 5\n"});
    EXPECT_EQ(G_SCALE[0], 5);
    EXPECT_EQ(G_SCALE[1], 3);
    scan({"hs25 7\n"}); // the first value right after the tag loses its first digit
    EXPECT_EQ(G_SCALE[0], 5);
    EXPECT_EQ(G_SCALE[1], 7);
    scan({"hs 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9\n"});
    for (int i = 0; i < 16; ++i) EXPECT_EQ(G_SCALE[i], 9) << i;
}

TEST_F(Prescan, FirstAttributeValuesAreCaptured) {
    scan({"lc3\n", "lc5\n", "lt2\n", "lt4\n", "ly1f\n", "lg2\n", "lg3\n", "pn0\n", "pn7\n",
          "cn\"abc\"\n", "cn6\n"});
    EXPECT_EQ(COLOR, 5);
    EXPECT_EQ(COLORi, 3);
    EXPECT_EQ(TYPE, 4);
    EXPECT_EQ(TYPEi, 2);
    EXPECT_EQ(LAYER, 0x1f);
    EXPECT_EQ(LAYERi, 0x1f);
    EXPECT_EQ(GROUP, 3);
    EXPECT_EQ(GROUPi, 2);
    EXPECT_EQ(TENS, 7);
    EXPECT_EQ(TENSi, 0);
    EXPECT_EQ(MOJIS, 6);
    EXPECT_EQ(MOJISi, 1); // the quoted record keeps MOJIS at 1, and 1 is captured

    reset_all();
    scan({"cn0 2.5 3 0.5 2\n", "cn0 1 1 1 1\n", "cn4\n"});
    EXPECT_EQ(MOJIS, 4);
    EXPECT_EQ(MOJISi, 0);
    EXPECT_EQ(MOJIWi, 2.5);
    EXPECT_EQ(MOJIHi, 3);
    EXPECT_EQ(MOJIDi, 0.5);
    EXPECT_EQ(MOJICi, 2);

    reset_all();
    scan({"cn4\n", "cn0 x\n"}); // cn0 sets MOJIS to 0 even when nothing can be read
    EXPECT_EQ(MOJIS, 0);
    EXPECT_EQ(MOJISi, 4);
}

TEST_F(Prescan, BlankCount) {
    struct Case {
        std::string text;
        int n;
    } cases[] = {
        {"a b c", 2},
        {" 1 2 3\n 4", 3},
        {" 1 2 3\r 4", 3},
        {std::string(" 1 2\0 3 4", 9), 2},
        {"", 0},
        {"\t\t", 0},
        {std::string(600, ' '), 512},
    };
    for (auto& c : cases) EXPECT_EQ(__SPCNT(c.text), c.n) << c.text.size();
}

// Whole files through the scan loop, in a directory of their own.
class PrescanFile : public Prescan {
  protected:
    std::string home, dir;
    void SetUp() override {
        Prescan::SetUp();
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        home = cwd;
        char tmpl[] = "/tmp/ce_prescan_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        ASSERT_EQ(chdir(dir.c_str()), 0);
    }
    void TearDown() override {
        std::remove("ZOD_UZUD.TXT");
        std::remove("ZOD_UZUD.$$$");
        EXPECT_EQ(chdir(home.c_str()), 0);
        EXPECT_EQ(rmdir(dir.c_str()), 0) << "files left in " << dir;
    }
    static void put(const char* name, const std::string& bytes) {
        std::ofstream(name, std::ios::binary) << bytes;
    }
    static long long tcopy() {
        std::FILE* f = std::fopen("ZOD_UZUD.TXT", "rb");
        if (!f) return -1;
        long long n = prescan(f);
        std::fclose(f);
        return n;
    }
    static std::string get(const char* name) {
        std::ifstream in(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(PrescanFile, EveryLineIsScannedAndTheWorkFileEmptied) {
    std::string text;
    for (int i = 1; i < 59999; ++i) text += "lc1\r\n";
    text += "hhp1ci\r\nci 3 4 5\r\n"; // lines 59999 and 60000
    put("ZOD_UZUD.TXT", text);
    put("ZOD_UZUD.$$$", "stale\r\n");
    EXPECT_EQ(tcopy(), 60000);
    expect_boundary(3, 4, 5, 0, 0, 0, 0);
    EXPECT_EQ(get("ZOD_UZUD.$$$"), "");
    EXPECT_EQ(get("ZOD_UZUD.TXT"), text);
}

TEST_F(PrescanFile, LongLinesAreOneLineEach) {
    // With pieces of 511 bytes the marker would be line 3 and the circle line 4.
    put("ZOD_UZUD.TXT", " -5 -6 7 8" + std::string(590, ' ') + "\r\nhhp1ci\r\nci 1 2 3\r\n");
    EXPECT_EQ(tcopy(), 3);
    EXPECT_EQ(HHP_FIND[1], 2);
    expect_boundary(1, 2, 3, 0, 0, 0, 0);
    expect_pmin(-105, -106);
}

// A last segment line too long to keep is read again with the others, in turn.
TEST_F(PrescanFile, LongLastSegmentLineDecidesAsReadInTurn) {
    const std::string blanks(5000, ' ');
    put("ZOD_UZUD.TXT", " -1 -2 -3 -4\r\n 9 9 9 9\r\n" + blanks + "5 6 x\r\n");
    EXPECT_EQ(tcopy(), 3);
    EXPECT_TRUE(ILINE.x1 == 5 && ILINE.y1 == 6 && ILINE.x2 == 9 && ILINE.y2 == 9);
    reset_all();
    put("ZOD_UZUD.TXT", " -1 -2 -3 -4\r\n" + blanks + "5 6 7 8\r\n");
    EXPECT_EQ(tcopy(), 2);
    EXPECT_TRUE(ILINE.x1 == 5 && ILINE.y1 == 6 && ILINE.x2 == 7 && ILINE.y2 == 8);
}

// The file scan may read plain segments late; what it leaves must be what reading every line
// in turn leaves, the last segment's fields and the extents above all.
TEST_F(PrescanFile, ScanLeavesWhatReadingEveryLineLeaves) {
    static const char* const LINES[] = {" 1 2 3 4",
                                        " 10.5 2. 0.25 7",
                                        "  1   2 3 4  ",
                                        " 1 2 3",
                                        " 1 2 x 4",
                                        " -1 2 3 4",
                                        " 1 -2.5 3 4",
                                        " 1.2.3 4 5",
                                        " 1\t2 3 4",
                                        " 1 2 3 4 5",
                                        " 1e2 2 3 4",
                                        " .5 1 2 3",
                                        " +1 2 3 4",
                                        " 1 2 3 4\r",
                                        " 9 8 7 6x",
                                        "pt -3 -4",
                                        "pt 5 6",
                                        "ci 1 1 300",
                                        "#",
                                        "lc1",
                                        " 0x1 2 3 4",
                                        " 99999999999999999999999 1 2 3"};
    std::mt19937_64 g(9);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> lines;
        std::string text;
        for (int i = static_cast<int>(g() % 12); i >= 0; --i) {
            lines.push_back(std::string(LINES[g() % std::size(LINES)]) + "\n");
            text += lines.back().substr(0, lines.back().size() - 1) + "\r\n";
        }
        reset_all();
        scan(lines);
        const Segment want = ILINE;
        const Point p0 = Pmin[0], p1 = Pmin[1], p2 = Pmin[2];
        reset_all();
        put("ZOD_UZUD.TXT", text);
        ASSERT_EQ(tcopy(), static_cast<long long>(lines.size()));
        auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
        EXPECT_TRUE(same(ILINE.x1, want.x1) && same(ILINE.y1, want.y1) && same(ILINE.x2, want.x2) &&
                    same(ILINE.y2, want.y2))
            << text;
        EXPECT_TRUE(Pmin[0].x == p0.x && Pmin[0].y == p0.y && Pmin[1].x == p1.x &&
                    Pmin[1].y == p1.y && Pmin[2].x == p2.x && Pmin[2].y == p2.y)
            << text;
    }
}

// The main pass reads the same open file again: each pass starts at its first byte.
TEST_F(PrescanFile, EachPassReadsTheFileFromItsStart) {
    put("ZOD_UZUD.TXT", "hhp1ci\r\nci 1 2 3\r\n");
    std::FILE* f = std::fopen("ZOD_UZUD.TXT", "rb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(Tcopy(f), 2);
    reset_all();
    EXPECT_EQ(Tcopy(f), 2);
    expect_boundary(1, 2, 3, 0, 0, 0, 0);
    std::fclose(f);
}

} // namespace
