#include "base/portable_math.h"

#include <cmath>
#include <limits>

// The same bits on every platform rest on the x87's extended precision: a long double of 53
// bits (Visual C++, ARM) would round every step here otherwise.
static_assert(std::numeric_limits<long double>::digits == 64,
              "portable:: needs long double with a 64-bit mantissa (the x87's 80-bit type); "
              "this compiler's would give other output bytes");

namespace portable {

using ld = long double;

// pi / 2 as a high part of 31 bits, so that k times it is exact, and the rest.
constexpr ld PIO2_HI = 1.570796326734125614166259765625L;
constexpr ld PIO2_LO = 6.07710050650619260147514420985847e-11L;
constexpr ld TWO_PI = 6.28318530717958647692528676655900577L;

// 1 / n!, for the series of sine and cosine on [-pi/4, pi/4]: the first term left out is below
// 1e-28 there.
constexpr int TERMS = 24;
struct InverseFactorials {
    ld v[TERMS + 1];
    constexpr InverseFactorials() : v() {
        v[0] = 1;
        for (int n = 1; n <= TERMS; ++n) v[n] = v[n - 1] / n;
    }
};
constexpr InverseFactorials INV;

static ld sin_series(ld r) {
    ld z = r * r, s = 0;
    for (int n = TERMS - 1; n >= 3; n -= 2) s = (n % 4 == 3 ? -INV.v[n] : INV.v[n]) + z * s;
    return r + r * z * s;
}

static ld cos_series(ld r) {
    ld z = r * r, c = 0;
    for (int n = TERMS; n >= 2; n -= 2) c = (n % 4 == 2 ? -INV.v[n] : INV.v[n]) + z * c;
    return 1 + z * c;
}

// x less a whole number of quarter turns, into [-pi/4, pi/4]; *quarter gets that number mod 4.
static ld reduced(double x, int* quarter) {
    ld a = x;
    // Far beyond any angle a drawing makes, whole turns go first (fmod is exact).
    if (std::fabs(a) > 1e9L) a = std::fmod(a, TWO_PI);
    ld k = std::nearbyint(a / (PIO2_HI + PIO2_LO));
    *quarter = static_cast<int>(static_cast<long long>(k) & 3);
    return (a - k * PIO2_HI) - k * PIO2_LO;
}

double sin(double x) {
    if (!std::isfinite(x)) return x - x; // NaN
    int q;
    ld r = reduced(x, &q);
    ld v = q == 0   ? sin_series(r)
           : q == 1 ? cos_series(r)
           : q == 2 ? -sin_series(r)
                    : -cos_series(r);
    return static_cast<double>(v);
}

double cos(double x) {
    if (!std::isfinite(x)) return x - x;
    int q;
    ld r = reduced(x, &q);
    ld v = q == 0   ? cos_series(r)
           : q == 1 ? -sin_series(r)
           : q == 2 ? -cos_series(r)
                    : sin_series(r);
    return static_cast<double>(v);
}

// The runtimes' extended atan2 is the x87's own instruction on both.
double atan2(double y, double x) { return static_cast<double>(std::atan2(ld(y), ld(x))); }

double acos(double x) {
    ld k = x;
    return static_cast<double>(std::atan2(std::sqrt((1 - k) * (1 + k)), k));
}

// std::sqrt of a long double is the x87's fsqrt, inline or in either runtime, exact to its 64
// bits: rounded to double after, the result is rounded twice, but the same way everywhere.
double hypot(double x, double y) {
    ld a = x, b = y;
    if (std::isinf(a) || std::isinf(b)) return HUGE_VAL;
    return static_cast<double>(std::sqrt(a * a + b * b));
}

} // namespace portable
