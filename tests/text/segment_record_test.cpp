// The one-scan reader of segment records, against the field readers' own reading.
#include "text/segment_record.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "text/fields.h"

namespace {

// Lines of four numbers, or one more or less, some signed, some spoilt by a byte, at every
// length around the ones the masks take (17 to 64 bytes without the LF).
struct Lines {
    std::mt19937_64 g{17};
    int pick(int n) { return static_cast<int>(g() % static_cast<unsigned>(n)); }
    std::string next() {
        static const char OTHER[] = {'-', '+',    '\r',   '\0', '\t', 'e',
                                     'x', '\x80', '\xff', '\n', '/',  ':'};
        std::string line = " ";
        for (int field = 0; field < 3 + pick(3); ++field) {
            line.append(field == 0 ? pick(3) : 1 + pick(3), ' ');
            if (pick(3) == 0) line += '-';
            auto digits = [&](int n) {
                while (n-- > 0) line += static_cast<char>('0' + (pick(4) == 0 ? 0 : pick(10)));
            };
            digits(pick(8) == 0 ? 0 : 1 + pick(9));
            if (pick(2)) line.append(pick(6) == 0 ? 2 : 1, '.'), digits(pick(10));
        }
        line.append(pick(3), ' ');
        if (pick(4)) line += '\n';
        for (int spoil = pick(3) == 0 ? 1 + pick(2) : 0; spoil > 0; --spoil) {
            std::size_t at = 1 + g() % line.size();
            char c = pick(2) ? OTHER[pick(sizeof OTHER)] : " .5-"[pick(4)];
            line.insert(line.begin() + static_cast<long>(at > line.size() ? line.size() : at), c);
        }
        return line;
    }
};

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Where it reads, the same bits as four lf(), which read every field; where it does not, the
// segment as it was.
TEST(PlainSegment, ReadsAsTheFieldReadersDo) {
    Lines lines;
    int read = 0, long_read = 0;
    for (int round = 0; round < 300000; ++round) {
        std::string line = lines.next();
        const Segment before = {-7.5, -7.5, -7.5, -7.5};
        Segment got = before, want = before;
        Fields f = fields(line, 1).lf(want.x1).lf(want.y1).lf(want.x2).lf(want.y2);
        if (!read_plain_segment(line, got)) {
            ASSERT_TRUE(same_bits(got.x1, -7.5) && same_bits(got.y2, -7.5)) << line;
            continue;
        }
        ASSERT_TRUE(f.ok) << line;
        ASSERT_TRUE(same_bits(got.x1, want.x1) && same_bits(got.y1, want.y1) &&
                    same_bits(got.x2, want.x2) && same_bits(got.y2, want.y2))
            << "line: \"" << line << "\"";
        ++read;
        long_read += line.size() > 48;
    }
    EXPECT_GT(read, 15000); // both answers come often
    EXPECT_GT(long_read, 1000);
    // Fifteen digits, the most it takes, and the lengths about them.
    for (const char* line :
         {" 12345678.1234567 -99999999.9999999 0.00000001 -0.0\n", " 99999999.99999999 1 2 3",
          " 1234567890 1.5 2.5 3.5", " 00000000.00000000 -0 5. 6.\n"}) {
        Segment got = {1, 1, 1, 1}, want = got;
        bool fast = read_plain_segment(line, got);
        fields(line, 1).lf(want.x1).lf(want.y1).lf(want.x2).lf(want.y2);
        EXPECT_TRUE(same_bits(got.x1, fast ? want.x1 : 1) && same_bits(got.y2, fast ? want.y2 : 1))
            << line;
    }
    Segment s{};
    EXPECT_TRUE(read_plain_segment(" 12345678.1234567 -99999999.9999999 0.00000001 -0.0\n", s));
    EXPECT_TRUE(std::signbit(s.y2));
}

} // namespace
