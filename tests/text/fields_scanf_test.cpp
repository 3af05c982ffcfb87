// The field readers and number writers against the C library of this platform: the readers
// must take from a record exactly what sscanf takes, the writers must give printf's bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "text/fields.h"

using namespace std::literals;

namespace {

const double UNSET[4] = {-777.25, -888.5, -999.75, -111.125};

bool same(double a, double b) {
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b) && std::signbit(a) == std::signbit(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::string show(std::string_view s) {
    std::string o = "\"";
    for (std::size_t i = 0; i < s.size() && i < 70; ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        char b[8];
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\')
            o += static_cast<char>(c);
        else
            std::snprintf(b, sizeof b, "\\x%02X", c), o += b;
    }
    if (s.size() > 70) o += "...(" + std::to_string(s.size()) + " bytes)";
    return o + "\"";
}

std::string hexf(double v) {
    char b[64];
    std::snprintf(b, sizeof b, "%a", v);
    return b;
}

// A table of thousands of cases reports its first few mismatches and their number.
struct Mismatches {
    std::vector<std::string> first;
    int count = 0;
    int cases = 0;
    void add(std::string s) {
        if (first.size() < 12) first.push_back(std::move(s));
        ++count;
    }
    ::testing::AssertionResult ok() const {
        if (count == 0) return ::testing::AssertionSuccess();
        auto r = ::testing::AssertionFailure();
        r << count << " of " << cases << " cases differ:";
        for (auto& s : first) r << "\n  " << s;
        return r;
    }
};

// sscanf gets the same bytes as a C string, so it too stops at the first NUL.
void check_lf(std::string_view in, Mismatches& m) {
    ++m.cases;
    std::string c(in);
    double want = UNSET[0];
    int used = -1;
    int rc = std::sscanf(c.c_str(), "%lf%n", &want, &used);
    double got = UNSET[0];
    Fields f = fields(in, 0);
    f.lf(got);
    long pos = static_cast<long>(f.p - in.data());
    bool read = rc == 1;
    if (f.ok != read || f.count != (read ? 1 : 0) || !same(got, want) || (read && pos != used))
        m.add(show(in) + ": sscanf rc=" + std::to_string(rc) + " " + hexf(want) +
              " used=" + std::to_string(used) + "; lf ok=" + std::to_string(f.ok) + " " +
              hexf(got) + " used=" + std::to_string(pos));
}

// The reals of a segment record: four fields, the chain stopping at the first failure.
void check_lf4(std::string_view in, Mismatches& m) {
    ++m.cases;
    std::string c(in);
    double w[4], g[4];
    for (int i = 0; i < 4; ++i) w[i] = g[i] = UNSET[i];
    int rc = std::sscanf(c.c_str(), "%lf %lf %lf %lf", &w[0], &w[1], &w[2], &w[3]);
    Fields f = fields(in, 0);
    f.lf(g[0]).lf(g[1]).lf(g[2]).lf(g[3]);
    int n = rc < 0 ? 0 : rc;
    bool eq = f.count == n;
    for (int i = 0; i < 4; ++i) eq = eq && same(w[i], g[i]);
    if (!eq)
        m.add(show(in) + ": sscanf " + std::to_string(n) + " [" + hexf(w[0]) + " " + hexf(w[1]) +
              " " + hexf(w[2]) + " " + hexf(w[3]) + "]; lf " + std::to_string(f.count) + " [" +
              hexf(g[0]) + " " + hexf(g[1]) + " " + hexf(g[2]) + " " + hexf(g[3]) + "]");
}

// glibc stores an out-of-range "%d" cut to 32 bits; the readers saturate instead.
void check_d(std::string_view in, Mismatches& m) {
    ++m.cases;
    std::string c(in);
    int want = 777, used = -1;
    int rc = std::sscanf(c.c_str(), "%d%n", &want, &used);
    if (rc == 1) {
        long long wide = std::strtoll(c.c_str(), nullptr, 10);
        if (wide > INT_MAX) want = INT_MAX;
        if (wide < INT_MIN) want = INT_MIN;
    }
    int got = 777;
    Fields f = fields(in, 0);
    f.d(got);
    long pos = static_cast<long>(f.p - in.data());
    bool read = rc == 1;
    if (f.ok != read || got != want || (read && pos != used))
        m.add(show(in) + ": want rc=" + std::to_string(rc) + " " + std::to_string(want) +
              " used=" + std::to_string(used) + "; d ok=" + std::to_string(f.ok) + " " +
              std::to_string(got) + " used=" + std::to_string(pos));
}

// glibc stores an out-of-range "%x" cut to 32 bits; the readers saturate to 0xFFFFFFFF.
// A negative number that fits is taken modulo 2^32 by both.
void check_x(std::string_view in, Mismatches& m) {
    ++m.cases;
    std::string c(in);
    unsigned want = 777;
    int used = -1;
    int rc = std::sscanf(c.c_str(), "%x%n", &want, &used);
    if (rc == 1) {
        const char* q = c.c_str();
        while (std::isspace(static_cast<unsigned char>(*q))) ++q;
        if (*q == '+' || *q == '-') ++q;
        errno = 0;
        unsigned long long mag = std::strtoull(q, nullptr, 16);
        if (errno == ERANGE || mag > 0xFFFFFFFFull) want = 0xFFFFFFFFu;
    }
    int got = 777;
    Fields f = fields(in, 0);
    f.x(got);
    long pos = static_cast<long>(f.p - in.data());
    bool read = rc == 1;
    if (f.ok != read || static_cast<unsigned>(got) != want || (read && pos != used))
        m.add(show(in) + ": want rc=" + std::to_string(rc) + " " + std::to_string(want) +
              " used=" + std::to_string(used) + "; x ok=" + std::to_string(f.ok) + " " +
              std::to_string(static_cast<unsigned>(got)) + " used=" + std::to_string(pos));
}

// The text record's head: "%2c %lf %lf %lf %lf".
void check_text_head(std::string_view in, Mismatches& m) {
    ++m.cases;
    std::string c(in);
    char wh[2] = {'?', '?'}, gh[2] = {'?', '?'};
    double w[4], g[4];
    for (int i = 0; i < 4; ++i) w[i] = g[i] = UNSET[i];
    int rc = std::sscanf(c.c_str(), "%2c %lf %lf %lf %lf", wh, &w[0], &w[1], &w[2], &w[3]);
    Fields f = fields(in, 0);
    f.c2(gh).lf(g[0]).lf(g[1]).lf(g[2]).lf(g[3]);
    int n = rc < 0 ? 0 : rc;
    bool eq = f.count == n && wh[0] == gh[0] && wh[1] == gh[1];
    for (int i = 0; i < 4; ++i) eq = eq && same(w[i], g[i]);
    if (!eq)
        m.add(show(in) + ": sscanf " + std::to_string(n) + " '" + std::string(wh, 2) + "' " +
              hexf(w[0]) + "; c2/lf " + std::to_string(f.count) + " '" + std::string(gh, 2) + "' " +
              hexf(g[0]));
}

// The custom text size: "%lf %lf %lf %d".
void check_cn0(std::string_view in, Mismatches& m) {
    ++m.cases;
    std::string c(in);
    double w[3], g[3];
    for (int i = 0; i < 3; ++i) w[i] = g[i] = UNSET[i];
    int wi = 55, gi = 55;
    int rc = std::sscanf(c.c_str(), "%lf %lf %lf %d", &w[0], &w[1], &w[2], &wi);
    Fields f = fields(in, 0);
    f.lf(g[0]).lf(g[1]).lf(g[2]).d(gi);
    int n = rc < 0 ? 0 : rc;
    bool eq = f.count == n && wi == gi;
    for (int i = 0; i < 3; ++i) eq = eq && same(w[i], g[i]);
    if (!eq)
        m.add(show(in) + ": sscanf " + std::to_string(n) + " d=" + std::to_string(wi) +
              "; readers " + std::to_string(f.count) + " d=" + std::to_string(gi));
}

// The designated point: "%d+ %lf %lf" (the literal matches one byte, no white space before it).
void check_hp(std::string_view in, Mismatches& m) {
    ++m.cases;
    std::string c(in);
    int wn = 55, gn = 55;
    double w[2] = {UNSET[0], UNSET[1]}, g[2] = {UNSET[0], UNSET[1]};
    int rc = std::sscanf(c.c_str(), "%d+ %lf %lf", &wn, &w[0], &w[1]);
    Fields f = fields(in, 0);
    f.d(gn).lit('+').lf(g[0]).lf(g[1]);
    int n = rc < 0 ? 0 : rc;
    if (f.count != n || wn != gn || !same(w[0], g[0]) || !same(w[1], g[1]))
        m.add(show(in) + ": sscanf " + std::to_string(n) + "; readers " + std::to_string(f.count));
}

std::string_view pick(std::mt19937_64& g, std::initializer_list<std::string_view> l) {
    return l.begin()[g() % l.size()];
}

std::string digits(std::mt19937_64& g, std::size_t n, bool hex) {
    static const char dec[] = "0123456789", hx[] = "0123456789abcdefABCDEF";
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += hex ? hx[g() % 22] : dec[g() % 10];
    return s;
}

std::size_t length(std::mt19937_64& g) {
    switch (g() % 8) {
    case 0:
        return 0;
    case 1:
        return 300 + g() % 121; // 400-digit numbers
    case 2:
        return 17 + g() % 10; // more digits than a double holds
    default:
        return 1 + g() % 6;
    }
}

std::string_view white(std::mt19937_64& g) {
    return pick(g, {""sv, ""sv, " "sv, "   "sv, "\t"sv, "\n"sv, "\v"sv, "\f"sv, "\r"sv,
                    " \t\n\v\f\r"sv, "\x85"sv, "\xA0"sv});
}

std::string_view tail(std::mt19937_64& g) {
    return pick(g, {""sv,
                    ""sv,
                    ""sv,
                    "x"sv,
                    "e"sv,
                    "E+"sv,
                    "e-x"sv,
                    "p"sv,
                    "P-"sv,
                    "."sv,
                    ".5"sv,
                    "e5"sv,
                    "x1"sv,
                    "\0"
                    "1"sv,
                    " "sv,
                    "("sv,
                    ")"sv,
                    "0x"sv,
                    "g"sv,
                    "\r\n"sv,
                    ","sv});
}

// A word of the inf / nan family in random letter case, sometimes cut short.
std::string word(std::mt19937_64& g) {
    std::string w(pick(g, {"inf"sv, "infinity"sv, "nan"sv, "nan(12ab_)"sv, "nan()"sv, "nan(x"sv}));
    if (g() % 3 == 0) w.resize(g() % (w.size() + 1));
    for (char& c : w)
        if (g() % 2) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return w;
}

std::string random_real(std::mt19937_64& g) {
    std::string s(white(g));
    s += pick(g, {""sv, ""sv, ""sv, "+"sv, "-"sv, "-"sv, "+-"sv, "--"sv});
    switch (g() % 10) {
    case 0:
    case 1:
    case 2:
    case 3: { // decimal
        s += digits(g, length(g), false);
        if (g() % 2) s += "." + digits(g, length(g), false);
        if (g() % 2) {
            s += pick(g, {"e"sv, "E"sv});
            s += pick(g, {""sv, "+"sv, "-"sv});
            s += g() % 4 ? std::to_string(g() % 400) : digits(g, g() % 12, false);
        }
        break;
    }
    case 4:
    case 5: { // hexadecimal
        s += pick(g, {"0x"sv, "0X"sv});
        s += digits(g, g() % 4 ? g() % 20 : 0, true);
        if (g() % 2) s += "." + digits(g, g() % 20, true);
        if (g() % 2) {
            s += pick(g, {"p"sv, "P"sv});
            s += pick(g, {""sv, "+"sv, "-"sv});
            s += g() % 4 ? std::to_string(g() % 1100) : digits(g, g() % 12, false);
        }
        break;
    }
    case 6:
        s += word(g);
        break;
    case 7: { // the edges of the range
        s += "1." + digits(g, 1 + g() % 25, false) + "e";
        s += g() % 2 ? std::to_string(300 + g() % 20) : "-" + std::to_string(300 + g() % 30);
        break;
    }
    case 8: { // short decimals that are exact binary ties or near them
        char b[64];
        std::snprintf(b, sizeof b, "%.17g",
                      std::ldexp(static_cast<double>(g() % 100000), -static_cast<int>(g() % 60)));
        s += b;
        break;
    }
    default: { // bytes that look like parts of numbers
        static const char bytes[] = "0123456789.eExXpP+-abcdefinINaAfFy ()\t";
        std::size_t n = g() % 8;
        for (std::size_t i = 0; i < n; ++i) s += bytes[g() % (sizeof bytes - 1)];
        break;
    }
    }
    s += tail(g);
    return s;
}

std::string random_integer(std::mt19937_64& g) {
    std::string s(white(g));
    s += pick(g, {""sv, ""sv, "+"sv, "-"sv, "-"sv, "+-"sv});
    bool hex = g() % 2;
    if (g() % 4 == 0) s += pick(g, {"0x"sv, "0X"sv});
    if (g() % 4 == 0) s += std::string(g() % 12, '0');
    std::size_t n = g() % 5 == 0 ? 0 : g() % 3 == 0 ? 9 + g() % 16 : 1 + g() % 10;
    s += digits(g, n, hex);
    s += tail(g);
    return s;
}

const std::vector<std::string_view> REALS = {
    // plain decimals, exponents, signs
    "0"sv,
    "1"sv,
    "-1"sv,
    "+1"sv,
    "-0"sv,
    "+0"sv,
    "12.5"sv,
    ".5"sv,
    "5."sv,
    "-.5"sv,
    "1e3"sv,
    "1E3"sv,
    "1e+3"sv,
    "1e-3"sv,
    "1.5e3x"sv,
    "00012.5e1"sv,
    "1.e5"sv,
    "123456789012345678901"sv,
    "0.1"sv,
    "2.2250738585072014e-308"sv,
    "1.7976931348623157e308"sv,
    // the decimal point alone, signs without digits, empty input
    "."sv,
    "-."sv,
    "+.e1"sv,
    ""sv,
    " "sv,
    "+"sv,
    "-"sv,
    "+-1"sv,
    "-+1"sv,
    "--1"sv,
    "- 1"sv,
    "e5"sv,
    "E"sv,
    // white space of every kind before the number
    " 7"sv,
    "\t7"sv,
    "\n7"sv,
    "\v7"sv,
    "\f7"sv,
    "\r7"sv,
    " \t\n\v\f\r-7.25"sv,
    "\xA0"
    "7"sv,
    "\x85"
    "7"sv,
    // garbage after the number, cut exponents
    "7x"sv,
    "7,5"sv,
    "1e"sv,
    "1E+"sv,
    "1e-"sv,
    "1e+ 5"sv,
    "1ee"sv,
    "1e5e5"sv,
    "1..5"sv,
    "1.5.5"sv,
    "3-4"sv,
    "3+4"sv,
    // hexadecimal reals
    "0x1"sv,
    "0X1A"sv,
    "0x.8"sv,
    "0x1.8p1"sv,
    "0x1P3"sv,
    "0x1p-3"sv,
    "-0x10"sv,
    "0xAbC.dEfp-4"sv,
    "0x1.g"sv,
    "0x1p"sv,
    "0x1p+"sv,
    "0x1px"sv,
    "0x1p+-4"sv, // two signs after the mark: the number ends after the first
    "0x1.8P+-1"sv,
    "0x2P+-0x1p1"sv,
    "0x1p-+3"sv,
    "0x1p--3"sv,
    "0x1.fffffffffffff8p1023"sv,
    "0x1p1024"sv,
    "0x1p-1074"sv,
    "0x1p-1075"sv,
    "0x1.8p-1075"sv,
    "0x1.00000000000008p0"sv,
    "0x1.00000000000018p0"sv,
    "0x00000000000000000001p0"sv,
    // "0x" without digits
    "0x"sv,
    "0X"sv,
    "0xg"sv,
    "0x 5"sv,
    "-0x"sv,
    "0x."sv,
    "0x.p1"sv,
    "0xp1"sv,
    // inf and nan in any case, cut short, with a tail
    "inf"sv,
    "INF"sv,
    "iNf"sv,
    "-inf"sv,
    "+Inf"sv,
    "infinity"sv,
    "INFINITY"sv,
    "-InFiNiTy"sv,
    "infinit"sv,
    "infin"sv,
    "infi"sv,
    "in"sv,
    "i"sv,
    "infx"sv,
    "infinityx"sv,
    "nan"sv,
    "NAN"sv,
    "nAn"sv,
    "-nan"sv,
    "+NaN"sv,
    "na"sv,
    "nanx"sv,
    "nan()"sv,
    "nan(123)"sv,
    "nan(abc_9)"sv,
    "nan("sv,
    "nan(1"sv,
    "nan(-)"sv,
    // overflow and underflow
    "1e309"sv,
    "-1e309"sv,
    "1e99999999999"sv,
    "1e-400"sv,
    "-1e-400"sv,
    "1e-99999999999"sv,
    "2.4703282292062327e-324"sv,
    "2.4703282292062328e-324"sv,
    "2.5e-324"sv,
    "4.9406564584124654e-324"sv,
    "1.7976931348623158e308"sv,
    "1.797693134862315808e308"sv,
    "0.000000000000000000000000000001e-300"sv,
    "100000000000000000000e290"sv,
    // a NUL ends the input
    "12\0"
    "34"sv,
    " \0"
    "5"sv,
    "1\0"
    "e5"sv,
    "\0"
    "1"sv,
    "0x\0"
    "1"sv,
};

TEST(FieldsReal, TableReadsAsSscanf) {
    Mismatches m;
    for (auto in : REALS) check_lf(in, m);
    std::string big(400, '9'); // 400 digits: overflows after the decimal exponent
    check_lf(big, m);
    // Built by append: GCC 12 at -O3 warns falsely on a literal + std::string chain.
    auto run = [](const char* head, std::size_t n, char fill, const char* tail) {
        std::string s = head;
        s.append(n, fill);
        return s.append(tail);
    };
    check_lf(run("0.", 400, '0', "1"), m);
    check_lf(run("1", 399, '0', "e-399"), m);
    check_lf(run("0.", 330, '0', "247032822920623272088"), m);
    check_lf(run("4", 380, '7', "e-700"), m);
    check_lf(run("1", 400, '0', "e-92"), m);
    EXPECT_TRUE(m.ok());
}

TEST(FieldsReal, RandomInputsReadAsSscanf) {
    std::mt19937_64 g(20240611);
    Mismatches one, four;
    for (int i = 0; i < 60000; ++i) check_lf(random_real(g), one);
    for (int i = 0; i < 20000; ++i) {
        std::string s;
        int n = 1 + static_cast<int>(g() % 5);
        for (int k = 0; k < n; ++k) s += random_real(g) + std::string(white(g));
        check_lf4(s, four);
    }
    EXPECT_TRUE(one.ok());
    EXPECT_TRUE(four.ok());
}

TEST(FieldsReal, ChainsWithCutNumbersReadAsSscanf) {
    Mismatches m;
    for (auto in : {"1e 5 6 7"sv, "1e+ 5 6 7"sv, "0x 5 6 7"sv, "0x1p 2 3 4"sv, "infin 1 2 3"sv,
                    "nan(1) 2 3 4"sv, "1 2e 3 4"sv, "1.5 -2.5 3e1 4e-1"sv, "1 2 3"sv,
                    "1\t2\n3\r4"sv, "1,2,3,4"sv, "-20 6 20 6\n"sv})
        check_lf4(in, m);
    EXPECT_TRUE(m.ok());
}

// The plain "digits[.digits]" path and the limits where it hands over to the full conversion:
// 2^53 for the digits, 19 digits, 22 decimals, an exponent mark after the digits.
// Plain decimals of every run length up to nine digits on either side of the point, signed or
// not, with every kind of byte after them, up to the record's end.
TEST(FieldsReal, PlainDecimalsOfEveryLengthReadAsSscanf) {
    static const char* const AFTER[] = {"", "\n", " ", " 5", "e", "E5", "x", ".", "..5", "\0"};
    std::mt19937_64 g(29);
    Mismatches m;
    for (int round = 0; round < 60000; ++round) {
        std::string in(g() % 3, ' ');
        if (g() % 4 == 0) in += "-+"[g() % 2];
        for (int n = static_cast<int>(g() % 10); n > 0; --n)
            in += static_cast<char>('0' + g() % 10);
        if (g() % 3) in += '.';
        for (int n = static_cast<int>(g() % 10); n > 0; --n)
            in += static_cast<char>('0' + g() % 10);
        const char* after = AFTER[g() % std::size(AFTER)];
        in.append(after, *after ? std::strlen(after) : g() % 2); // the NUL one or nothing
        check_lf(in, m);
    }
    EXPECT_TRUE(m.ok());
}

TEST(FieldsReal, PlainDecimalsAtTheFastPathsEdgesReadAsSscanf) {
    Mismatches m;
    for (auto in : {
             // 2^53 - 1, 2^53, 2^53 + 1, 2^53 + 2, with the point at several places
             "9007199254740991"sv,
             "9007199254740992"sv,
             "9007199254740993"sv,
             "9007199254740994"sv,
             "-9007199254740993"sv,
             "+9007199254740992"sv,
             "900719925474099.2"sv,
             "900719925474099.3"sv,
             "9007199254740.993"sv,
             "9.007199254740993"sv,
             "9.007199254740992"sv,
             "0.9007199254740993"sv,
             ".9007199254740992"sv,
             ".9007199254740993"sv,
             "9007199254740992."sv,
             "9007199254740993."sv,
             "9007199254740992.0"sv,
             "9007199254740993.0"sv,
             "90071992547409.925"sv,
             "90071992547409.935"sv,
             // 19 and 20 digits, leading zeros counted
             "1234567890123456789"sv,
             "12345678901234567890"sv,
             "0001234567890123456"sv,
             "00001234567890123456"sv,
             "0000000000000000001"sv,
             "00000000000000000001"sv,
             "0000000000000000000"sv,
             "00000000000000000000"sv,
             "0.000000000000000001"sv,
             "0.0000000000000000001"sv,
             ".0000000000000000001"sv,
             ".0000000000000000009"sv,
             ".0009007199254740992"sv,
             ".0009007199254740993"sv,
             "9999999999999999999"sv,
             "999999999.9999999999"sv,
             // 2^64 + 1 and 2^65: the 64-bit sum of the digits wraps to a small mantissa
             "18446744073709551617"sv,
             "1844674407370955161.7"sv,
             ".18446744073709551617"sv,
             "36893488147419103232"sv,
             "18446744073709551616.5"sv,
             "0000.000000000000123"sv,
             "000.0000000000000123"sv,
             // 22 and 23 decimals
             ".0000000000000000000001"sv,
             ".00000000000000000000001"sv,
             ".1234567890123456789012"sv,
             ".12345678901234567890123"sv,
             "1.0000000000000000000000"sv,
             "1.00000000000000000000000"sv,
             "0.0000000000000000000005"sv,
             "0.00000000000000000000005"sv,
             // many leading zeros
             "000000000000000000000000000000000000000012.5"sv,
             "0000000000000012.5"sv,
             "-00000000000000000000000000000000000000000.0"sv,
             "00000000000000000000000000.5"sv,
             // short forms and signs
             ".5"sv,
             "1."sv,
             "0."sv,
             "-0.0"sv,
             "+.5"sv,
             "-.5"sv,
             "-0"sv,
             "+0."sv,
             "-0."sv,
             "0.0"sv,
             " -12.25"sv,
             "\t+0.5"sv,
             "0.1"sv,
             "0.3"sv,
             "2.675"sv,
             "1.005"sv,
             // what follows the digits
             "1.5e"sv,
             "1.5E"sv,
             "1.5e5"sv,
             "1.5E-3"sv,
             "12e5"sv,
             "12E-3"sv,
             "12e"sv,
             "1.e5"sv,
             "0.e"sv,
             ".5e1"sv,
             ".5E"sv,
             "9007199254740992e0"sv,
             "9007199254740993e0"sv,
             "9007199254740993E-1"sv,
             "1.5."sv,
             "1..5"sv,
             "1.5.5"sv,
             "12.5.25"sv,
             "1.5x"sv,
             "12x"sv,
             "1.5,"sv,
             "1,5"sv,
             "1.5p3"sv,
             "1.5 e5"sv,
             "1.5-3"sv,
             "1.5+3"sv,
             "1.5\0"
             "7"sv,
             "12\0"
             "e5"sv,
             "0.\0"
             "5"sv,
             "9007199254740992\0"
             "1"sv,
         })
        check_lf(in, m);

    std::mt19937_64 g(53);
    static const std::string_view tails[] = {""sv,
                                             ""sv,
                                             ""sv,
                                             "e"sv,
                                             "E"sv,
                                             "e5"sv,
                                             "E-3"sv,
                                             "."sv,
                                             ".5"sv,
                                             "x"sv,
                                             ","sv,
                                             " "sv,
                                             "p"sv,
                                             "\0"
                                             "1"sv};
    for (int i = 0; i < 6000; ++i) {
        std::string s;
        if (i % 4 == 0) s += pick(g, {"-"sv, "+"sv, " "sv});
        if (i % 5 == 0) s.append(g() % 20, '0');
        std::string d = digits(g, 1 + g() % 25, false);
        std::size_t point = g() % (d.size() + 2); // past the end: no point
        if (point <= d.size()) d.insert(point, 1, '.');
        s += d;
        if (i % 3 == 0) s += tails[g() % std::size(tails)];
        check_lf(s, m);
    }

    // Decimals of random doubles as programs print them, where they have no exponent.
    int printed = 0;
    for (int i = 0; i < 20000; ++i) {
        double v = std::ldexp(static_cast<double>(g() >> 11), static_cast<int>(g() % 100) - 110);
        char b[64];
        std::snprintf(b, sizeof b, "%.*g", 15 + static_cast<int>(g() % 3), v);
        if (!std::strchr(b, 'e')) check_lf(b, m), ++printed;
        auto r = std::to_chars(b, b + sizeof b, v); // the shortest decimal that reads back
        if (std::find(b, r.ptr, 'e') == r.ptr) check_lf(std::string_view(b, r.ptr - b), m);
    }
    EXPECT_GT(printed, 5000); // the range chosen keeps most of them free of an exponent
    EXPECT_TRUE(m.ok());
}

TEST(FieldsInteger, TableReadsAsSscanfWithSaturation) {
    const std::vector<std::string_view> ints = {"0"sv,
                                                "7"sv,
                                                "-7"sv,
                                                "+7"sv,
                                                " \t\n\v\f\r42"sv,
                                                "12ab"sv,
                                                "0x1f"sv,
                                                "-0x1f"sv,
                                                "0X"sv,
                                                "0x"sv,
                                                "0xg"sv,
                                                "0x 5"sv,
                                                "-"sv,
                                                "+"sv,
                                                ""sv,
                                                " "sv,
                                                "- 5"sv,
                                                "+-5"sv,
                                                "--5"sv,
                                                "x5"sv,
                                                "1e5"sv,
                                                "3.9"sv,
                                                "2147483647"sv,
                                                "2147483648"sv,
                                                "-2147483648"sv,
                                                "-2147483649"sv,
                                                "4294967295"sv,
                                                "4294967296"sv,
                                                "99999999999999999999999"sv,
                                                "-99999999999999999999"sv,
                                                "0000000000000000000000000000012"sv,
                                                "ffffffff"sv,
                                                "FFFFFFFF"sv,
                                                "7fffffff"sv,
                                                "80000000"sv,
                                                "100000000"sv,
                                                "-1"sv,
                                                "-10"sv,
                                                "-ffffffff"sv,
                                                "-100000000"sv,
                                                "fffffffffffffffffffffff"sv,
                                                "0x00000000ffffffff"sv,
                                                "0x0000000100000000"sv,
                                                "14"sv,
                                                "1\0"
                                                "2"sv,
                                                "\0"
                                                "5"sv,
                                                "\xA0"
                                                "5"sv,
                                                "5\r\n"sv};
    Mismatches d, x;
    for (auto in : ints) check_d(in, d), check_x(in, x);
    EXPECT_TRUE(d.ok());
    EXPECT_TRUE(x.ok());
}

TEST(FieldsInteger, SaturationByHand) {
    struct Case {
        std::string_view in;
        int d, x;
    } cases[] = {
        {"2147483648", INT_MAX, static_cast<int>(0xFFFFFFFFu)},
        {"-2147483649", INT_MIN, static_cast<int>(0xFFFFFFFFu)},
        {"99999999999", INT_MAX, static_cast<int>(0xFFFFFFFFu)},
        {"-99999999999", INT_MIN, static_cast<int>(0xFFFFFFFFu)},
        {"-10", -10, static_cast<int>(0xFFFFFFF0u)},
        {"ffffffff", 5, static_cast<int>(0xFFFFFFFFu)}, // "%d" reads nothing: 5 stays
        {"7fffffff", 7, 0x7FFFFFFF},
        {"80000000", 80000000, static_cast<int>(0x80000000u)},
        {"100000000", 100000000, static_cast<int>(0xFFFFFFFFu)},
        {"-1", -1, static_cast<int>(0xFFFFFFFFu)},
        {"-0x10", 0, static_cast<int>(0xFFFFFFF0u)},
    };
    for (auto& c : cases) {
        int d = 5, x = 5;
        fields(c.in, 0).d(d);
        fields(c.in, 0).x(x);
        EXPECT_EQ(d, c.d) << show(c.in);
        EXPECT_EQ(x, c.x) << show(c.in);
    }
    // The option values: atoi with the same saturation.
    EXPECT_EQ(atoi_sat("  -25x"), -25);
    EXPECT_EQ(atoi_sat("99999999999"), INT_MAX);
    EXPECT_EQ(atoi_sat("-99999999999"), INT_MIN);
    EXPECT_EQ(atoi_sat("x"), 0);
    EXPECT_EQ(atoi_sat(""), 0);
}

TEST(FieldsInteger, RandomInputsReadAsSscanfWithSaturation) {
    std::mt19937_64 g(77);
    Mismatches d, x;
    for (int i = 0; i < 60000; ++i) {
        std::string s = random_integer(g);
        check_d(s, d);
        check_x(s, x);
    }
    EXPECT_TRUE(d.ok());
    EXPECT_TRUE(x.ok());
}

TEST(FieldsMixed, RecordFormsReadAsSscanf) {
    Mismatches text, cn0, hp;
    for (auto in : {"ch 1 2 3 4"sv, "cv-1.5 2 3 4 abc"sv, "ch"sv, "c"sv, ""sv, "ch x"sv,
                    "\x83\x41 1 2 3 4"sv, "  1 2 3 4"sv, "ch 1 2 3"sv, "ch 1e 2 3 4"sv,
                    "c\0h 1 2 3 4"sv, "ch\0 1 2 3 4"sv, "ch1 2 3 4"sv})
        check_text_head(in, text);
    for (auto in : {" 2.5 3 0.5 2"sv, "2.5 3 0.5"sv, "2.5 3 0.5 2.7"sv, "2.5 3 q 2"sv,
                    " 1 2 3 -0x5"sv, ""sv, "inf nan -inf 3"sv})
        check_cn0(in, cn0);
    for (auto in : {"1+ 10 20"sv, "1+10 20"sv, "12+ 10 20"sv, "1 + 10 20"sv, "1- 10 20"sv, "1+"sv,
                    "1+ 10"sv, "+1+ 10 20"sv, "1++10 20"sv, "x+ 1 2"sv})
        check_hp(in, hp);
    EXPECT_TRUE(text.ok());
    EXPECT_TRUE(cn0.ok());
    EXPECT_TRUE(hp.ok());
}

TEST(FieldsChain, FailedFieldLeavesItAndLaterFieldsUnchanged) {
    double a = 9, b = 9, c = 9, d = 9;
    Fields f = fields(" 1 x 3 4", 0);
    f.lf(a).lf(b).lf(c).lf(d);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 9);
    EXPECT_EQ(c, 9); // "3 4" would read, but the chain has stopped
    EXPECT_EQ(d, 9);
    EXPECT_FALSE(f.ok);
    EXPECT_EQ(f.count, 1);

    // A later reader of another kind could take the bytes where the failure stopped.
    double r = 9, s = 9;
    char head[2] = {'?', '?'};
    int i = 9, j = 9;
    fields("1 xy", 0).lf(r).lf(s).c2(head);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(s, 9);
    EXPECT_EQ(std::string(head, 2), "??");
    fields("5 . 7", 0).d(i).lf(r).x(j);
    EXPECT_EQ(i, 5);
    EXPECT_EQ(j, 9);
    i = j = 9;
    fields("3 q+ 1 2", 0).d(i).d(j).lit('+').lf(r);
    EXPECT_EQ(i, 3);
    EXPECT_EQ(j, 9);
    EXPECT_EQ(r, 1); // from the earlier chain: untouched

    // The first field failing keeps all four.
    double v[4] = {1, 2, 3, 4};
    Fields e = fields("", 0);
    e.lf(v[0]).lf(v[1]).lf(v[2]).lf(v[3]);
    EXPECT_EQ(e.count, 0);
    EXPECT_EQ(v[0], 1);
    EXPECT_EQ(v[3], 4);
}

TEST(FieldsBounds, ReadingSeesOnlyTheRecordsBytes) {
    // The bytes after the view are there in memory, but not in the record.
    const char mem[] = "1.5e3 0x1p4 12345 fff abc";
    double a = 0, b = 0;
    int i = 0, x = 0;
    char head[2] = {'?', '?'};
    fields(std::string_view(mem, 3), 0).lf(a);
    EXPECT_EQ(a, 1.5);
    fields(std::string_view(mem + 6, 3), 0).lf(b);
    EXPECT_EQ(b, 1.0);
    fields(std::string_view(mem + 12, 2), 0).d(i);
    EXPECT_EQ(i, 12);
    fields(std::string_view(mem + 18, 1), 0).x(x);
    EXPECT_EQ(x, 15);
    Fields c = fields(std::string_view(mem + 22, 1), 0);
    c.c2(head); // one byte left: scanf gives that byte
    EXPECT_TRUE(c.ok);
    EXPECT_EQ(head[0], 'a');
    EXPECT_EQ(head[1], '?');

    // Offsets: a field may follow its tag directly; an offset past the end reads nothing.
    int lc = 0, past = 4;
    fields("lc12\n", 2).d(lc);
    EXPECT_EQ(lc, 12);
    Fields p = fields("lc", 5);
    p.d(past);
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(past, 4);

    // A NUL byte ends the reading, also in the middle of a field's white space.
    double n1 = 0, n2 = 8;
    fields("12\0"
           "34 5"sv,
           0)
        .lf(n1)
        .lf(n2);
    EXPECT_EQ(n1, 12);
    EXPECT_EQ(n2, 8);
}

// Up to 350 bytes for a fixed real; a guard after the buffer catches longer output.
std::string fixed(double v, int decimals) {
    char buf[360];
    std::memset(buf, '#', sizeof buf);
    char* e = put_fixed(buf, v, decimals);
    if (e < buf || e > buf + 350) return "<bad end>";
    return std::string(buf, e);
}

std::string printf_fixed(double v, int decimals) {
    char buf[400];
    int n = std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return std::string(buf, n);
}

void check_fixed(double v, int decimals, Mismatches& m) {
    ++m.cases;
    std::string want = printf_fixed(v, decimals), got = fixed(v, decimals);
    if (want != got)
        m.add(hexf(v) + " %." + std::to_string(decimals) + "f: printf " + want + ", put_fixed " +
              got);
}

TEST(FieldsWriter, FixedByHand) {
    struct Case {
        double v;
        int decimals;
        const char* out;
    } cases[] = {
        {0.125, 2, "0.12"},
        {0.375, 2, "0.38"},
        {2.5, 0, "2"},
        {3.5, 0, "4"},
        {-0.0, 13, "-0.0000000000000"},
        {1.0, 13, "1.0000000000000"},
        {-20.0, 13, "-20.0000000000000"},
        {2.5, 2, "2.50"},
        {0.05, 1, "0.1"},
        {0.25, 1, "0.2"},
        {-0.25, 1, "-0.2"},
        {1e-14, 13, "0.0000000000000"},
        {-1e-14, 13, "-0.0000000000000"},
        {100.0, 1, "100.0"},
        {1e20, 0, "100000000000000000000"},
    };
    for (auto& c : cases) EXPECT_EQ(fixed(c.v, c.decimals), c.out) << c.v << " " << c.decimals;
}

TEST(FieldsWriter, FixedAsPrintf) {
    std::mt19937_64 g(4711);
    std::vector<double> vals = {0.0,
                                -0.0,
                                0.125,
                                0.375,
                                0.5,
                                1.5,
                                2.5,
                                -2.5,
                                0.05,
                                0.15,
                                0.25,
                                1e15,
                                1e22,
                                1e23,
                                1e308,
                                -1e308,
                                DBL_MAX,
                                -DBL_MAX,
                                DBL_MIN,
                                std::numeric_limits<double>::denorm_min(),
                                -std::numeric_limits<double>::denorm_min(),
                                0.49999999999999994,
                                9.5,
                                99.995,
                                0.00000000000005,
                                0.00000000000015,
                                123456789.00000000005,
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN(),
                                -std::numeric_limits<double>::quiet_NaN()};
    for (int i = 0; i < 40000; ++i) {
        std::uint64_t bits = g();
        double v;
        std::memcpy(&v, &bits, sizeof v); // every magnitude, subnormals, inf and nan
        vals.push_back(v);
    }
    for (int i = 0; i < 40000; ++i) { // ties of every rounding position, and their neighbours
        double v = static_cast<double>(static_cast<std::int64_t>(g() % 2000001) - 1000000) /
                   static_cast<double>(1ll << (g() % 50));
        vals.push_back(v);
        vals.push_back(std::nextafter(v, 1e300));
        vals.push_back(std::nextafter(v, -1e300));
    }
    for (int i = 0; i < 20000; ++i)
        vals.push_back(
            std::ldexp(static_cast<double>(g() >> 11), static_cast<int>(g() % 200) - 150));
    Mismatches m;
    for (double v : vals)
        for (int decimals : {0, 1, 2, 13}) check_fixed(v, decimals, m);
    EXPECT_TRUE(m.ok());
}

TEST(FieldsWriter, DrawingCoordinatesAsPrintf) {
    std::mt19937_64 g(11);
    std::uniform_real_distribution<double> coord(-1e6, 1e6);
    Mismatches m;
    for (int i = 0; i < 200000; ++i) {
        double v = coord(g);
        if (i % 4 == 1) v = std::round(v * 1000) / 1000; // as a CAD program writes them
        if (i % 4 == 2) v = std::ldexp(std::round(std::ldexp(v, 20)), -20 - i % 30);
        if (i % 4 == 3) v = std::round(v) + 0.5 * std::pow(10.0, -(i % 14)); // decimal near-ties
        for (int decimals : {0, 1, 2, 13}) check_fixed(v, decimals, m);
    }
    EXPECT_TRUE(m.ok());
}

// Beyond FixedAsPrintf: ties below 2^-49, the ends of the exact path (v near 2^53, and k = 64
// where the fraction is the whole mantissa), decimal near-ties at each written position,
// powers of ten and their neighbours, carries into the whole part, and 6 decimals.
TEST(FieldsWriter, FixedNearTiesAndCarriesAsPrintf) {
    std::mt19937_64 g(2053);
    std::vector<double> vals = {0.0,
                                -0.0,
                                0.5,
                                -0.5,
                                1.5,
                                -1.5,
                                0.05,
                                -0.05,
                                0.0000005,
                                -0.0000005,
                                0.00000000000005,
                                -0.00000000000005};
    auto near = [&vals](double v) {
        vals.push_back(v);
        vals.push_back(-v);
        double up = v, down = v;
        for (int i = 0; i < 3; ++i) {
            up = std::nextafter(up, HUGE_VAL), down = std::nextafter(down, -HUGE_VAL);
            vals.push_back(up), vals.push_back(down), vals.push_back(-up), vals.push_back(-down);
        }
    };
    for (int i = 0; i < 20000; ++i) { // k / 2^m, k of up to 53 bits
        std::uint64_t k = g() >> (11 + g() % 53);
        near(std::ldexp(static_cast<double>(k), -static_cast<int>(g() % 65)));
    }
    for (int i = 0; i < 4000; ++i) { // full mantissas scaled to the edges of the exact path
        double mant = static_cast<double>((g() >> 11) | (1ull << 52));
        for (int k : {-2, -1, 0, 1, 2, 60, 62, 63, 64, 65, 66}) near(std::ldexp(mant, -k));
    }
    // Decimal strings with a 5 just past the written position, read by strtod.
    for (int i = 0; i < 4000; ++i)
        for (int decimals : {0, 1, 2, 6, 13}) {
            std::string s = std::to_string(g() % 4 ? g() % 1000 : g() % 1000000000000000ull);
            s += '.';
            s += digits(g, static_cast<std::size_t>(decimals), false);
            s += '5';
            if (g() % 2) s += digits(g, g() % 3, false);
            near(std::strtod(s.c_str(), nullptr));
        }
    // Powers of ten, and the values just below them that round up into one more digit.
    for (int n = -14; n <= 19; ++n) {
        near(std::pow(10.0, n));
        char b[64];
        std::snprintf(b, sizeof b, "1e%d", n);
        near(std::strtod(b, nullptr));
    }
    for (int whole = 0; whole <= 15; ++whole)
        for (int decimals : {0, 1, 2, 6, 13}) {
            std::string s(static_cast<std::size_t>(whole > 0 ? whole : 1), whole > 0 ? '9' : '0');
            s += '.';
            s.append(static_cast<std::size_t>(decimals), '9');
            s += '5';
            near(std::strtod(s.c_str(), nullptr)); // 9.99999999999995 and its kin
        }
    Mismatches m;
    for (double v : vals)
        for (int decimals : {0, 1, 2, 6, 13}) check_fixed(v, decimals, m);
    EXPECT_TRUE(m.ok());
}

TEST(FieldsWriter, IntegersAsPrintf) {
    std::mt19937_64 g(99);
    std::vector<long long> ll = {0, 1, -1, 9, 10, -10, INT_MAX, INT_MIN, LLONG_MAX, LLONG_MIN};
    for (int i = 0; i < 20000; ++i)
        ll.push_back(static_cast<long long>(g() >> (g() % 64)) * (g() % 2 ? 1 : -1));
    Mismatches d, x;
    for (long long v : ll) {
        char buf[40], want[40];
        ++d.cases;
        std::string got(buf, put_int(buf, v));
        std::snprintf(want, sizeof want, "%lld", v);
        if (got != want) d.add(std::string(want) + " -> " + got);
        int i32 = static_cast<int>(static_cast<std::uint32_t>(v));
        ++x.cases;
        std::string gx(buf, put_hex(buf, i32));
        std::snprintf(want, sizeof want, "%x", static_cast<unsigned>(i32));
        if (gx != want) x.add(std::string(want) + " -> " + gx);
    }
    EXPECT_TRUE(d.ok());
    EXPECT_TRUE(x.ok());
    char buf[40];
    EXPECT_EQ(std::string(buf, put_hex(buf, 20)), "14");
    EXPECT_EQ(std::string(buf, put_hex(buf, -1)), "ffffffff");
    EXPECT_EQ(std::string(buf, put_hex(buf, 0xAB)), "ab");
    EXPECT_EQ(std::string(buf, put_int(buf, -2147483648LL)), "-2147483648");
}

} // namespace
