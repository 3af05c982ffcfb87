// Command-line options and the excluded colour and line-type pairs.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "driver/driver.h"
#include "exchange/attributes.h"

namespace {

class Options : public ::testing::Test {
  protected:
    void SetUp() override { reset_all(); }
};

TEST_F(Options, ExcludedPairs) {
    struct Case {
        const char* arg;
        int iro, syu;
    } cases[] = {
        {"-e25", 2, 5},
        {"-E25", 2, 5},
        {"/e25", 2, 5},
        {"-e125", 12, 5},
        {"-e7", 0, 7},
        {"-e-25", -2, -5},
        {"-e 25", 2, 5},
        {"-e+31", 3, 1},
        {"-e25x9", 2, 5},
        {"-ex", 0, 0},
        {"-e99999999999", 214748364, 7},
        {"-e-99999999999", -214748364, -8},
    };
    for (auto& c : cases) {
        EXiro1 = EXsyu1 = 77;
        EXiro2 = 8, EXsyu2 = 9;
        OPT(c.arg);
        EXPECT_EQ(EXiro1, c.iro) << c.arg;
        EXPECT_EQ(EXsyu1, c.syu) << c.arg;
        EXPECT_EQ(EXiro2, 8) << c.arg;
        EXPECT_EQ(EXsyu2, 9) << c.arg;
        // -k takes its pair as -e does, and leaves the excluded pairs alone.
        std::string k = c.arg;
        k[1] = k[1] == 'E' ? 'K' : 'k';
        isKeep = 0, KEiro = KEsyu = 77;
        OPT(k.c_str());
        EXPECT_EQ(isKeep, 1) << k;
        EXPECT_EQ(KEiro, c.iro) << k;
        EXPECT_EQ(KEsyu, c.syu) << k;
        EXPECT_EQ(EXiro1, c.iro) << k;
        EXPECT_EQ(EXiro2, 8) << k;
        // So does -a for the circles it takes.
        std::string a = c.arg;
        a[1] = a[1] == 'E' ? 'A' : 'a';
        isAll = 0, ALLiro = ALLsyu = 77;
        OPT(a.c_str());
        EXPECT_EQ(isAll, 2) << a; // a pair: -a-10 is colour -1, not any colour
        EXPECT_EQ(ALLiro, c.iro) << a;
        EXPECT_EQ(ALLsyu, c.syu) << a;
        EXPECT_EQ(EXiro1, c.iro) << a;
    }
    OPT("-F37");
    EXPECT_EQ(EXiro2, 3);
    EXPECT_EQ(EXsyu2, 7);
    EXPECT_EQ(EXiro1, -214748364); // untouched by -f
}

TEST_F(Options, AllCirclesWithoutValueTakesAnyColourAndType) {
    OPT("-a37");
    OPT("/A");
    EXPECT_EQ(isAll, 1);
    EXPECT_EQ(ALLiro, -1);
    EXPECT_EQ(ALLsyu, -1);
}

TEST_F(Options, ExcludedPairWithoutValue) {
    OPT("-e25");
    OPT("-f37");
    OPT("-e");
    EXPECT_EQ(EXiro1, 0);
    EXPECT_EQ(EXsyu1, 0);
    EXPECT_EQ(EXiro2, 3);
    EXPECT_EQ(EXsyu2, 7);
    OPT("/F");
    EXPECT_EQ(EXiro2, 0);
    EXPECT_EQ(EXsyu2, 0);
}

TEST_F(Options, Mode) {
    struct Case {
        const char* arg;
        int before, after;
    } cases[] = {
        {"-m", 1, 1},
        {"-m", 4, 4},
        {"/M", 3, 3},
        {"-m3", 1, 3},
        {"-M5", 1, 5},
        {"-mx", 4, 0},
        {"-m-2", 1, -2},
        {"-m 2", 1, 2},
        {"-m99999999999", 1, INT_MAX},
        {"-m-99999999999", 1, INT_MIN},
        {"-m4z", 1, 4},
    };
    for (auto& c : cases) {
        iMode = c.before;
        OPT(c.arg);
        EXPECT_EQ(iMode, c.after) << c.arg << " after " << c.before;
    }
}

TEST_F(Options, TestMode) {
    struct Case {
        const char* arg;
        int mode;
    } cases[] = {{"-t", 1},  {"-t2", 2}, {"/T2", 2}, {"-T", 1},
                 {"-tx", 1}, {"-t1", 1}, {"-t3", 1}, {"-t22", 2}};
    for (auto& c : cases) {
        set_test_mode(0);
        OPT(c.arg);
        EXPECT_EQ(isTest, c.mode) << c.arg;
    }
}

TEST_F(Options, IllegalLetter) {
    for (const char* arg : {"-q", "/Z5", "-", "-?", "-1"}) {
        int mode = iMode, test = isTest, e1 = EXiro1, e2 = EXsyu1;
        testing::internal::CaptureStderr();
        OPT(arg);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "\n illegal Option.\n") << arg;
        EXPECT_EQ(iMode, mode);
        EXPECT_EQ(isTest, test);
        EXPECT_EQ(EXiro1, e1);
        EXPECT_EQ(EXsyu1, e2);
    }
    testing::internal::CaptureStderr();
    OPT("-m3");
    OPT("-e25");
    OPT("-t");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(Options, ExcludedPairMatch) {
    struct Case {
        int color, type, excluded;
    } defaults[] = {{0, 0, 1}, {0, 1, 0}, {1, 0, 0}, {1, 1, 0}};
    for (auto& c : defaults) {
        COLOR = c.color, TYPE = c.type;
        EXPECT_EQ(EX_CLCT(), c.excluded) << c.color << " " << c.type;
    }
    OPT("-e25");
    OPT("-f125");
    Case named[] = {{2, 5, 1}, {12, 5, 1}, {2, 4, 0}, {5, 2, 0}, {12, 2, 0}, {0, 0, 0}, {1, 25, 0}};
    for (auto& c : named) {
        COLOR = c.color, TYPE = c.type;
        EXPECT_EQ(EX_CLCT(), c.excluded) << c.color << " " << c.type;
    }
    // Only -e named: the second pair stays (0, 0).
    reset_all();
    OPT("-e-25");
    Case one[] = {{-2, -5, 1}, {0, 0, 1}, {2, 5, 0}};
    for (auto& c : one) {
        COLOR = c.color, TYPE = c.type;
        EXPECT_EQ(EX_CLCT(), c.excluded) << c.color << " " << c.type;
    }
}

} // namespace
