// The one-scan readers of segment records, against what they stand for: the pattern of the
// pre-scan's plain lines, and the field readers' own reading.
#include "exchange/segment_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "exchange/fields.h"

namespace {

// The pattern " +D+(.D*)?( +D+(.D*)?){3} *" and an optional LF, read as blank-separated words.
bool four_plain_words(std::string line) {
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (line.find_first_not_of("0123456789 .", 1) != std::string::npos) return false;
    std::vector<std::string> words;
    for (std::size_t at = 1; at < line.size();) {
        std::size_t end = std::min(line.find(' ', at), line.size());
        if (end > at) words.push_back(line.substr(at, end - at));
        at = end + 1;
    }
    if (words.size() != 4) return false;
    for (const std::string& w : words)
        if (w[0] == '.' || std::count(w.begin(), w.end(), '.') > 1) return false;
    return true;
}

// Lines of four numbers, or one more or less, some signed, some spoilt by a byte, at every
// length around the ones the masks take (17 to 64 bytes without the LF).
struct Lines {
    std::mt19937_64 g{17};
    int pick(int n) { return static_cast<int>(g() % static_cast<unsigned>(n)); }
    std::string next(bool signs) {
        static const char OTHER[] = {'-', '+',    '\r',   '\0', '\t', 'e',
                                     'x', '\x80', '\xff', '\n', '/',  ':'};
        std::string line = " ";
        for (int field = 0; field < 3 + pick(3); ++field) {
            line.append(field == 0 ? pick(3) : 1 + pick(3), ' ');
            if (signs && pick(3) == 0) line += '-';
            auto digits = [&](int n) {
                while (n-- > 0) line += static_cast<char>('0' + (pick(4) == 0 ? 0 : pick(10)));
            };
            digits(pick(8) == 0 ? 0 : 1 + pick(signs ? 9 : 12));
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

TEST(PlainSegment, IsFourPlainUnsignedDecimals) {
    Lines lines;
    int plain = 0, spoilt_long = 0;
    for (int round = 0; round < 200000; ++round) {
        std::string line = lines.next(false);
        bool want = four_plain_words(line);
        ASSERT_EQ(plain_segment(line), want) << "line: \"" << line << "\"";
        plain += want;
        spoilt_long += !want && line.size() > 17;
    }
    EXPECT_GT(plain, 25000); // both answers come often, short and long lines alike
    EXPECT_GT(spoilt_long, 40000);
}

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Where it reads, the same bits as four lf(), which read every field; where it does not, the
// segment as it was.
TEST(PlainSegment, ReadsAsTheFieldReadersDo) {
    Lines lines;
    int read = 0, long_read = 0;
    for (int round = 0; round < 300000; ++round) {
        std::string line = lines.next(true);
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
