#include "text/fields.h"

#include <array>
#include <bit>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

static bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
static bool is_digit(char c) { return c >= '0' && c <= '9'; }
static int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(c | 0x20);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// A NUL ends the input, yet only a NUL before the offset or one that c2 meets needs looking
// for: no other reader takes a NUL, so each stops at one as at the end.
Fields fields(std::string_view rec, std::size_t offset) {
    const char* begin = rec.data();
    const char* end = begin + rec.size();
    if (offset >= rec.size()) return Fields{end, end, true, 0};
    if (const void* nul = std::memchr(begin, '\0', offset)) {
        end = static_cast<const char*>(nul);
        return Fields{end, end, true, 0};
    }
    return Fields{begin + offset, end, true, 0};
}

static const char* skip_space(const char* p, const char* end) {
    while (p < end && is_space(*p)) ++p;
    return p;
}

// A real that from_chars finds out of range: overflow gives infinity, underflow zero, decided
// by the order of magnitude of the text that matched.
static double out_of_range(const char* s, const char* stop, bool hex) {
    long long lead = 0; // position of the first significant digit relative to the point
    bool seen = false, point = false;
    long long before = 0, zeros = 0;
    const char* q = s;
    for (; q < stop; ++q) {
        char c = *q;
        if (c == '.') {
            point = true;
            continue;
        }
        bool digit = hex ? hex_value(c) >= 0 : is_digit(c);
        if (!digit) break;
        if (!seen && c == '0') {
            if (point) ++zeros;
            continue;
        }
        if (!seen) seen = true;
        if (!point) ++before;
    }
    if (!seen) return 0.0;
    lead = before > 0 ? before : -zeros;
    long long exp = 0;
    if (q < stop && ((*q | 0x20) == (hex ? 'p' : 'e'))) {
        ++q;
        bool neg = q < stop && *q == '-';
        if (q < stop && (*q == '-' || *q == '+')) ++q;
        for (; q < stop && is_digit(*q); ++q)
            if (exp < 1000000) exp = exp * 10 + (*q - '0');
        if (neg) exp = -exp;
    }
    long long magnitude = hex ? lead * 4 + exp : lead + exp;
    return magnitude > 0 ? HUGE_VAL : 0.0;
}

// scanf takes an exponent mark and its sign even when no digit follows them, unless the number
// already had its exponent.
static const char* skip_bare_exponent(const char* from, const char* p, const char* end, char mark) {
    for (const char* q = from; q < p; ++q)
        if ((*q | 0x20) == mark) return p;
    if (p < end && (*p | 0x20) == mark) {
        ++p;
        if (p < end && (*p == '+' || *p == '-')) ++p;
    }
    return p;
}

// The common "digits[.digits]" form: below 2^53 with at most 22 decimals both the digits and
// the power of ten are exact doubles, so one division rounds as the full conversion does.
// Anything else (exponents, long digit strings) is left to from_chars.
static const char* read_plain_decimal(const char* s, const char* end, double& val) {
    static const double pow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    std::uint64_t m = 0;
    int digits = 0, decimals = 0;
    const char* q = s;
    for (; q < end && is_digit(*q); ++q, ++digits) m = m * 10 + (*q - '0');
    if (q < end && *q == '.') {
        for (++q; q < end && is_digit(*q); ++q, ++digits, ++decimals) m = m * 10 + (*q - '0');
    }
    if (digits == 0 || digits > 19 || decimals > 22 || m > (1ull << 53)) return nullptr;
    if (q < end && (*q | 0x20) == 'e') return nullptr;
    val = static_cast<double>(m) / pow10[decimals];
    return q;
}

Fields& Fields::lf(double& v) {
    if (!ok) return *this;
    const char* s = skip_space(p, end);
    bool neg = false;
    if (s < end && (*s == '+' || *s == '-')) neg = *s++ == '-';
    if (s == end || *s == '+' || *s == '-') return ok = false, *this;
    double val = 0;
    const char* stop = nullptr;
    if (end - s >= 2 && s[0] == '0' && (s[1] | 0x20) == 'x') {
        const char* h = s + 2;
        bool digits =
            h < end && (hex_value(*h) >= 0 || (*h == '.' && h + 1 < end && hex_value(h[1]) >= 0));
        if (digits) {
            // scanf ends a number at a second sign after the exponent mark ("0x1p+-4" is 1),
            // where from_chars may read on: the mantissa is then read alone.
            const char* m = h;
            while (m < end && (hex_value(*m) >= 0 || *m == '.')) ++m;
            bool two_signs = end - m >= 3 && (*m | 0x20) == 'p' && (m[1] == '+' || m[1] == '-') &&
                             (m[2] == '+' || m[2] == '-');
            auto r = std::from_chars(h, two_signs ? m : end, val, std::chars_format::hex);
            stop = skip_bare_exponent(h, r.ptr, end, 'p');
            if (r.ec == std::errc::result_out_of_range) val = out_of_range(h, stop, true);
        } else if (h < end && *h == '.') {
            stop = h + 1; // "0x." reads as 0
        } else {
            return ok = false, *this; // "0x" alone matches nothing
        }
    } else if (const char* q = read_plain_decimal(s, end, val)) {
        stop = q;
    } else {
        auto r = std::from_chars(s, end, val, std::chars_format::general);
        if (r.ec == std::errc::invalid_argument) return ok = false, *this;
        stop = r.ptr;
        if (stop > s && (is_digit(stop[-1]) || stop[-1] == '.'))
            stop = skip_bare_exponent(s, stop, end, 'e');
        // scanf reads "nan(...)" as "nan" and leaves the brackets.
        if (stop - s > 3 && (*s | 0x20) == 'n') stop = s + 3;
        // "inf" cut short on its way to "infinity" matches nothing, as scanf reads it.
        if (stop - s == 3 && (*s | 0x20) == 'i') {
            static const char rest[] = "inity";
            std::size_t k = 0;
            while (k < 5 && stop + k < end && (stop[k] | 0x20) == rest[k]) ++k;
            if (k > 0) return ok = false, *this;
        }
        if (r.ec == std::errc::result_out_of_range) val = out_of_range(s, stop, false);
    }
    v = neg ? -val : val;
    p = stop;
    ++count;
    return *this;
}

// Reads optional sign and digits in the given base; the magnitude saturates above limit.
static bool read_integer(const char*& p, const char* end, int base, bool& neg, std::uint64_t& mag,
                         std::uint64_t limit) {
    const char* s = skip_space(p, end);
    neg = false;
    if (s < end && (*s == '+' || *s == '-')) neg = *s++ == '-';
    if (base == 16 && end - s >= 2 && s[0] == '0' && (s[1] | 0x20) == 'x') {
        s += 2;
        if (s == end || hex_value(*s) < 0) { // "0x" alone reads as 0, as scanf takes it
            mag = 0;
            p = s;
            return true;
        }
    }
    mag = 0;
    const char* digits = s;
    for (; s < end; ++s) {
        int d = base == 16 ? hex_value(*s) : (is_digit(*s) ? *s - '0' : -1);
        if (d < 0) break;
        if (mag <= limit) mag = mag * base + d;
    }
    if (s == digits) return false;
    p = s;
    return true;
}

Fields& Fields::d(int& v) {
    if (!ok) return *this;
    bool neg;
    std::uint64_t mag;
    if (!read_integer(p, end, 10, neg, mag, 1ull << 32)) return ok = false, *this;
    if (neg)
        v = mag > (1ull << 31) ? INT_MIN : static_cast<int>(-static_cast<std::int64_t>(mag));
    else
        v = mag > INT_MAX ? INT_MAX : static_cast<int>(mag);
    ++count;
    return *this;
}

Fields& Fields::x(int& v) {
    if (!ok) return *this;
    bool neg;
    std::uint64_t mag;
    if (!read_integer(p, end, 16, neg, mag, 1ull << 32)) return ok = false, *this;
    std::uint32_t bits =
        mag > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<std::uint32_t>(neg ? 0 - mag : mag);
    v = static_cast<int>(bits);
    ++count;
    return *this;
}

Fields& Fields::c2(char* v) {
    if (!ok) return *this;
    // Like scanf, a record that ends after one byte still gives that byte.
    if (p == end || p[0] == '\0') return ok = false, *this;
    v[0] = p[0];
    bool two = end - p >= 2 && p[1] != '\0';
    if (two) v[1] = p[1];
    p += two ? 2 : 1;
    ++count;
    return *this;
}

Fields& Fields::lit(char c) {
    if (!ok) return *this;
    if (p < end && *p == c)
        ++p;
    else
        ok = false;
    return *this;
}

Fields& Fields::blanks() {
    if (ok) p = skip_space(p, end);
    return *this;
}

int atoi_sat(const char* s) {
    int v = 0;
    fields(std::string_view(s, std::strlen(s)), 0).d(v);
    return v;
}

#if defined(__SIZEOF_INT128__)
static std::uint64_t pow10_64(int n) {
    static constexpr auto table = [] {
        std::array<std::uint64_t, 20> t{};
        std::uint64_t v = 1;
        for (auto& x : t) x = v, v *= 10;
        return t;
    }();
    return table[n];
}

// Exactly n decimal digits of v (v < 10^n), two at a time.
static void put_digits(char* out, std::uint64_t v, int n) {
    static const char pairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233"
        "34353637383940414243444546474849505152535455565758596061626364656667"
        "6869707172737475767778798081828384858687888990919293949596979899";
    char* p = out + n;
    for (; n >= 2; n -= 2, v /= 100) {
        p -= 2;
        std::memcpy(p, pairs + v % 100 * 2, 2);
    }
    if (n) *--p = static_cast<char>('0' + v);
}

// Eight decimal digits of v (v < 10^8) as eight byte values, the first in the lowest
// (little-endian stores put it first): halves of four digits in 32-bit lanes, then pairs in
// 16-bit lanes, then digits in bytes, each lane split by a multiply and shift that is exact
// below 10^4 (by 100) and below 100 (by 10); no lane carries into the next.
static std::uint64_t eight_digits(std::uint64_t v) {
    std::uint64_t halves = v / 10000 | (v % 10000) << 32;
    std::uint64_t hundreds = (halves * 10486) >> 20 & 0x0000007F0000007Full;
    std::uint64_t pairs = hundreds | (halves - hundreds * 100) << 16;
    std::uint64_t tens = (pairs * 103) >> 10 & 0x000F000F000F000Full;
    return tens | (pairs - tens * 10) << 8;
}

constexpr std::uint64_t ZEROS = 0x3030303030303030ull; // '0' in every byte

// The last n (1 to 8) of v's eight digits at out; the store runs on for 8 - n bytes.
static char* put_eight(char* out, std::uint64_t v, int n) {
    std::uint64_t d = (eight_digits(v) + ZEROS) >> (8 * (8 - n));
    std::memcpy(out, &d, 8);
    return out + n;
}

// v (v < 10^8) without leading zeros (but one): they are the digits' lowest bytes that are 0.
static char* put_up_to_eight(char* out, std::uint64_t v) {
    std::uint64_t d = eight_digits(v);
    int zeros = std::countr_zero(d) >> 3; // 8 for v = 0
    zeros = zeros < 7 ? zeros : 7;
    d = (d + ZEROS) >> (8 * zeros);
    std::memcpy(out, &d, 8);
    return out + 8 - zeros;
}

// Drawing coordinates take the exact path of integer arithmetic: v = mant * 2^-k with k <= 64,
// so the fraction times 10^decimals is an exact 128-bit product, rounded half to even as
// printf rounds the exact value.
static char* put_fixed_exact(char* out, double v, int decimals) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    int biased = static_cast<int>(bits >> 52 & 0x7FF);
    std::uint64_t mant = bits & ((1ull << 52) - 1);
    if (biased == 0 || biased == 0x7FF) return nullptr; // zero, subnormal, inf, nan
    mant |= 1ull << 52;
    int k = 1075 - biased; // v = mant * 2^-k
    if (k <= 0 || k > 64) return nullptr;
    std::uint64_t whole = k == 64 ? 0 : mant >> k;
    // The fraction as a multiple of 2^-64 (shifting out the whole part loses nothing of it),
    // so the digits are the high word of one product and the rest its low word.
    std::uint64_t frac = k == 64 ? mant : mant << (64 - k);
    unsigned __int128 prod = static_cast<unsigned __int128>(frac) * pow10_64(decimals);
    std::uint64_t q = static_cast<std::uint64_t>(prod >> 64);
    std::uint64_t r = static_cast<std::uint64_t>(prod);
    const std::uint64_t half = 1ull << 63;
    std::uint64_t last = decimals > 0 ? q : whole; // the digit a tie rounds to even
    // Without branches: whether a number rounds up, or is negative, is a coin toss.
    q += (r > half) | ((r == half) & last);
    if (q == pow10_64(decimals)) q = 0, ++whole;
    *out = '-';
    out += bits >> 63;
    constexpr std::uint64_t E8 = 100000000;
    if (decimals == 13 && whole < E8 && std::endian::native == std::endian::little) {
        // The record the clipping writes most, without a branch on its digits: the whole
        // part, the point, and 5 + 8 decimals.
        out = put_up_to_eight(out, whole);
        *out++ = '.';
        out = put_eight(out, q / E8, 5);
        return put_eight(out, q % E8, 8);
    }
    int width = 1;
    while (width < 20 && whole >= pow10_64(width)) ++width;
    put_digits(out, whole, width);
    out += width;
    if (decimals == 0) return out;
    *out++ = '.';
    put_digits(out, q, decimals);
    return out + decimals;
}
#endif

char* put_fixed(char* out, double v, int decimals) {
#if defined(__SIZEOF_INT128__)
    if (decimals >= 0 && decimals <= 13)
        if (char* end = put_fixed_exact(out, v, decimals)) return end;
#endif
    return std::to_chars(out, out + FIXED_MOST, v, std::chars_format::fixed, decimals).ptr;
}

char* put_int(char* out, long long v) { return std::to_chars(out, out + 24, v).ptr; }

char* put_hex(char* out, int v) {
    return std::to_chars(out, out + 24, static_cast<std::uint32_t>(v), 16).ptr;
}
