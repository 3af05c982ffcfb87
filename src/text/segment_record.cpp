#include "text/segment_record.h"

#include <bit>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define CE_LINE_MASKS 1
#endif

#include "text/fields.h"

#ifdef CE_LINE_MASKS

// The bytes after the type byte as bit masks, one bit a byte (bit i for byte i): the branches
// of a scan byte by byte, on numbers of every length, would cost more than the reading itself.
struct LineMasks {
    std::uint64_t D, P, M; // digits, points, minus signs
    std::uint64_t starts;  // the first byte of each number
};

constexpr std::size_t BODY_LEAST = 16, BODY_MOST = 63; // one 16-byte load at least; one mask

static std::uint64_t drop_lowest(std::uint64_t v) { return v & (v - 1); }

// Masks of a body of BODY_LEAST to BODY_MOST bytes that holds only digits, blanks, points and
// signs in four numbers of digits with at most one point inside, each may begin with a sign.
static bool line_masks(std::string_view line, LineMasks& k) {
    std::size_t n = line.size() - (!line.empty() && line.back() == '\n');
    if (n < BODY_LEAST + 1 || n > BODY_MOST + 1) return false;
    const char* body = line.data() + 1;
    const std::size_t m = n - 1;
    std::uint64_t D = 0, S = 0, P = 0, M = 0;
    // Always four loads, the later ones ending at the end (again, on a short line): a loop
    // that ends with the line would miss its branch at every other length.
    for (std::size_t next = 0; next < 64; next += 16) {
        std::size_t at = next + 16 <= m ? next : m - 16;
        __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(body + at));
        auto bits = [&](__m128i c) {
            return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(c))) << at;
        };
        D |= bits(_mm_and_si128(_mm_cmpgt_epi8(x, _mm_set1_epi8('0' - 1)),
                                _mm_cmplt_epi8(x, _mm_set1_epi8('9' + 1))));
        S |= bits(_mm_cmpeq_epi8(x, _mm_set1_epi8(' ')));
        P |= bits(_mm_cmpeq_epi8(x, _mm_set1_epi8('.')));
        M |= bits(_mm_cmpeq_epi8(x, _mm_set1_epi8('-')));
    }
    const std::uint64_t all = (std::uint64_t{1} << m) - 1;
    if ((D | S | P | M) != all) return false;
    std::uint64_t N = D | P | M;
    std::uint64_t starts = N & ~(N << 1); // the type byte before the first is a blank
    std::uint64_t fourth = drop_lowest(drop_lowest(drop_lowest(starts)));
    if (fourth == 0 || drop_lowest(fourth) != 0) return false;
    // A sign only first, and a digit after it; no point first or after another one.
    if ((M & ~starts) || ((M << 1) & ~D) || (starts & P) || (P & (P << 1))) return false;
    // Where the digits after each point end, there must be no second point.
    std::uint64_t after_point = ((P << 1) & D) + D;
    if (after_point & ~D & P) return false;
    k = {D, P, M, starts};
    return true;
}

constexpr std::uint64_t ZEROS = 0x3030303030303030ull; // '0' in every byte

// The eight bytes that end at end (little-endian: the first is the lowest), read where they
// are: a copy would stall each load on the stores it spans. Near the line's start the eight
// from there are moved up instead, so that those wanted are always the highest.
static std::uint64_t eight_ending(const char* end, const char* start) {
    std::uint64_t v;
    if (end - start >= 8) {
        std::memcpy(&v, end - 8, 8);
        return v;
    }
    std::memcpy(&v, start, 8);
    return v << (8 * (8 - (end - start)));
}

// The value of the digits in the n highest bytes of v (0 to 8). The bytes below become '0's,
// so that none borrows when the '0's are taken off; then exact integer arithmetic joins pairs,
// quartets and the eight.
static std::uint64_t digits_value(std::uint64_t v, std::size_t n) {
    if (n == 0) return 0;
    const std::uint64_t ours = ~std::uint64_t{0} << (8 * (8 - n));
    v = ((v & ours) | (ZEROS & ~ours)) - ZEROS;
    v = v * 10 + (v >> 8);
    return ((v & 0x000000FF000000FFull) * (100 + (1000000ull << 32)) +
            ((v >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32))) >>
           32;
}

bool read_plain_segment(std::string_view rec, Segment& s) {
    if constexpr (std::endian::native != std::endian::little) return false;
    LineMasks k;
    if (!line_masks(rec, k)) return false;
    const std::uint64_t N = k.D | k.P | k.M;
    const std::uint64_t ends = N & ~(N >> 1); // the last byte of each number
    // Where each number's digits lie, all four told before any is stored, so that a form the
    // field readers must take leaves s as it was.
    struct Digits {
        std::size_t from, whole_end, end, decimals;
        bool point, neg;
    } d[4];
    std::uint64_t starts = k.starts, last = ends;
    for (Digits& x : d) {
        x.from = static_cast<std::size_t>(std::countr_zero(starts));
        x.end = static_cast<std::size_t>(std::countr_zero(last)) + 1;
        starts = drop_lowest(starts);
        last = drop_lowest(last);
        x.neg = (k.M >> x.from) & 1;
        x.from += x.neg;
        std::uint64_t span =
            ((std::uint64_t{1} << x.end) - 1) & ~((std::uint64_t{1} << x.from) - 1);
        std::uint64_t point = k.P & span;
        x.point = point != 0;
        x.whole_end = x.point ? static_cast<std::size_t>(std::countr_zero(point)) : x.end;
        x.decimals = x.point ? x.end - x.whole_end - 1 : 0;
        // Fifteen digits at most are below 2^53: the field reader's own common form, an exact
        // integer over an exact power of ten, whose one division rounds as the full conversion
        // does. Longer ones go to it.
        std::size_t whole = x.whole_end - x.from;
        if (whole > 8 || x.decimals > 8 || whole + x.decimals > 15) return false;
    }
    static const double pow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
    static const std::uint64_t ten_to[] = {1,      10,      100,      1000,     10000,
                                           100000, 1000000, 10000000, 100000000};
    const char* body = rec.data() + 1;
    auto value = [&](const Digits& x) {
        std::uint64_t mant;
        if (x.end - x.from <= 8) {
            // One load: the bytes before the point move up over it.
            std::uint64_t v = eight_ending(body + x.end, rec.data());
            std::uint64_t below = x.point ? ~std::uint64_t{0} >> (8 * x.decimals) : 0;
            v = (v & ~below) | ((v << 8) & below);
            mant = digits_value(v, x.end - x.from - x.point);
        } else {
            std::uint64_t whole = eight_ending(body + x.whole_end, rec.data());
            std::uint64_t decimals = eight_ending(body + x.end, rec.data());
            mant = digits_value(whole, x.whole_end - x.from) * ten_to[x.decimals] +
                   digits_value(decimals, x.decimals);
        }
        double v = static_cast<double>(mant) / pow10[x.decimals];
        // The sign bit flipped, as -v does, without a branch: signs come in any order.
        return std::bit_cast<double>(std::bit_cast<std::uint64_t>(v) ^ std::uint64_t{x.neg} << 63);
    };
    // Stored as one: a later copy of the segment then loads what one store wrote, where loads
    // spanning two stores would wait for both.
    s = Segment{value(d[0]), value(d[1]), value(d[2]), value(d[3])};
    return true;
}

#else

bool read_plain_segment(std::string_view, Segment&) { return false; }

#endif

int read_segment(std::string_view rec, Segment& s) {
    if (read_plain_segment(rec, s)) return 4;
    return fields(rec, 1).lf(s.x1).lf(s.y1).lf(s.x2).lf(s.y2).count;
}
