// Prefix bookkeeping, write-back, the point and segment writers and the attribute trailer, as
// bytes on disk (every line end CR LF).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "boundary/boundary.h"
#include "exchange/output.h"
#include "exchange/attributes.h"
#include "output_fixture.h"

namespace {

class Writers : public OutputFixture {
  protected:
    // The main pass's view of a run of records: "z<n>" sets ZOKU as its reading does, "pt ..."
    // is an entity that stays and is written back, anything else only takes the prefix.
    void pass(const std::vector<std::string>& records) {
        long long n = 0;
        for (const auto& r : records) {
            ZZ_ZOKUSEI(n++);
            if (r[0] == 'z')
                ZOKU = std::stoi(r.substr(1));
            else if (r.rfind("pt", 0) == 0)
                WR_BACK(r);
        }
    }
    // The pre-scan's reading of attribute records, then the trailer.
    std::string trailer(const std::vector<std::string>& records) {
        long long n = 0;
        for (const auto& r : records) Pre_pro(r, ++n);
        IniZokusei();
        return out();
    }
};

TEST_F(Writers, PrefixChains) {
    struct Case {
        std::vector<std::string> in;
        const char* out;
    } cases[] = {
        {{"z1", "z2", "pt 30 0\n"}, "z1\r\nz2\r\npt 30 0\r\n"},
        {{"z1", "z2", "z3", "pt 30 0\n"}, "z2\r\nz3\r\npt 30 0\r\n"},
        {{"z7", "lc1\n", "pt 30 0\n"}, "pt 30 0\r\n"},
        {{"z5", "z0", "pt 30 0\n"}, "pt 30 0\r\n"},
        {{"z1", "z0", "z2", "pt 30 0\n"}, "z2\r\npt 30 0\r\n"},
        {{"z4", "pt 1 1\n", "pt 2 2\n"}, "z4\r\npt 1 1\r\npt 2 2\r\n"},
        {{"pt 1 1\n", "z-3", "pt 2 2\n"}, "pt 1 1\r\nz-3\r\npt 2 2\r\n"},
    };
    for (auto& c : cases) {
        sink.clear();
        writer_open_memory(fpw, sink);
        ZOKU = 0, ZOKU_A[0] = ZOKU_A[1] = 0;
        pass(c.in);
        writer_close(fpw);
        EXPECT_EQ(sink, c.out) << c.in.front() << " ... " << c.in.size() << " records";
    }
}

TEST_F(Writers, FirstRecordOfThePassClearsStalePrefixes) {
    ZOKU = 8, ZOKU_A[0] = 6, ZOKU_A[1] = 7; // left over from an earlier pass
    ZZ_ZOKUSEI(0);
    WR_BACK("pt 1 2\n");
    EXPECT_EQ(out(), "pt 1 2\r\n");
}

TEST_F(Writers, ProtectionIsTheNewerPrefix) {
    struct Case {
        int older, newer;
        bool prot;
    } cases[] = {{0, 3, true},  {0, 4, true},  {0, 5, true},  {4, 6, false}, {6, 4, true},
                 {0, 2, false}, {0, 0, false}, {5, 0, false}, {0, -4, false}};
    for (auto& c : cases) {
        ZOKU = 0;
        ZZ_ZOKUSEI(0);
        ZOKU = c.older;
        ZZ_ZOKUSEI(1);
        ZOKU = c.newer;
        ZZ_ZOKUSEI(2);
        EXPECT_EQ(is_protected(), c.prot) << c.older << " " << c.newer;
    }
}

TEST_F(Writers, WriteBackAndPieces) {
    pass({"z3", "z4"});
    ZZ_ZOKUSEI(2); // the segment record after the two prefixes
    WR_Z_BACK();
    __LINE({-20, 6, -8, 6});
    WR_Z_BACK();
    __LINE({8, 6, 20, 6});
    WR_BACK("pt 7 7"); // a last line without its line end gets one
    EXPECT_EQ(out(), "z3\r\nz4\r\n -20.0000000000000 6.0000000000000 -8.0000000000000 "
                     "6.0000000000000\r\n"
                     "z3\r\nz4\r\n 8.0000000000000 6.0000000000000 20.0000000000000 "
                     "6.0000000000000\r\n"
                     "z3\r\nz4\r\npt 7 7\r\n");
}

TEST_F(Writers, PointAndSegmentBytes) {
    __TEN({1, 2});
    __TEN({-0.0, 1e-14});
    __TEN_LINE({0.5, -0.25}, {1e20, 123.45678901234567});
    __LINE({2.00000000000006, 0.00000000000016, -1.5, 1e-300});
    EXPECT_EQ(out(), "pt 1.0000000000000 2.0000000000000\r\n"
                     "pt -0.0000000000000 0.0000000000000\r\n"
                     " 0.5000000000000 -0.2500000000000 100000000000000000000.0000000000000 "
                     "123.4567890123457\r\n"
                     " 2.0000000000001 0.0000000000002 -1.5000000000000 0.0000000000000\r\n");
}

TEST_F(Writers, TrailerTextAttribute) {
    struct Case {
        std::vector<std::string> in;
        const char* text_line;
    } cases[] = {
        {{"cn0 2.5 3 0.5 2\n"}, "cn0 2.50 3.00 0.50 2\r\n"},
        {{"cn4\n"}, "cn4\r\n"},
        {{}, ""},
        {{"cn0 2.5 3 0.5 2\n", "cn4\n"}, "cn0 2.50 3.00 0.50 2\r\n"},
        {{"cn4\n", "cn0 2.5 3 0.5 2\n"}, "cn4\r\n"},
        {{"cn10\n"}, "cn10\r\n"},
        {{"cn11\n"}, ""},
        {{"cn\"abc\"\n"}, "cn1\r\n"}, // the current value 1 is taken
        {{"cn0 2.5\n"}, "cn0 2.50 0.00 0.00 0\r\n"},
        {{"cn0 1.005 0.125 0.375 -3\n"}, "cn0 1.00 0.12 0.38 -3\r\n"},
    };
    for (auto& c : cases) {
        reset_all();
        sink.clear();
        writer_open_memory(fpw, sink);
        open = true;
        EXPECT_EQ(trailer(c.in), std::string(c.text_line) + "lg14\r\nly14\r\nlt20\r\nlc20\r\n")
            << (c.in.empty() ? "none" : c.in.front());
    }
}

TEST_F(Writers, TrailerLayersTypesColoursPoints) {
    struct Case {
        std::vector<std::string> in;
        const char* out;
    } cases[] = {
        {{"pn0\n"}, "lg14\r\nly14\r\nlt20\r\nlc20\r\npn0\r\n"},
        {{"pn10\n"}, "lg14\r\nly14\r\nlt20\r\nlc20\r\npn10\r\n"},
        {{"pn11\n"}, "lg14\r\nly14\r\nlt20\r\nlc20\r\n"},
        {{"lc3\n", "lc5\n"}, "lg14\r\nly14\r\nlt20\r\nlc3\r\n"},
        {{"lg1f\n", "ly A\n", "lt2\n", "lc7\n", "lg3\n"}, "lg1f\r\nlya\r\nlt2\r\nlc7\r\n"},
        {{"lg0\n", "ly0\n", "lt1\n", "lc1\n"}, "lg0\r\nly0\r\nlt1\r\nlc1\r\n"},
        {{"lg-1\n"}, "lgffffffff\r\nly14\r\nlt20\r\nlc20\r\n"},
        {{"lc\n", "lc6\n"}, "lg14\r\nly14\r\nlt20\r\nlc1\r\n"}, // unreadable: current 1
    };
    for (auto& c : cases) {
        reset_all();
        sink.clear();
        writer_open_memory(fpw, sink);
        open = true;
        EXPECT_EQ(trailer(c.in), c.out) << c.in.front();
    }
}

} // namespace
