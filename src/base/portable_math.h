// The transcendental functions whose results reach the output, computed the same way on every
// platform: the C runtimes' own differ in the last bit between Windows and Linux, and a last bit
// can show in the thirteenth decimal. They work in the x87's 64-bit extended precision, whose
// basic operations and square root are exact to IEEE rules on both, and round once to double.
#pragma once

#include <cmath>
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace portable {

// The square root of a double, rounded once. MinGW's runtime takes it on the x87, rounds to 64
// bits and again to 53, and is called wherever the compiler does not put the instruction inline
// (a build without optimisation): SSE2's own is exact at every level.
inline double sqrt(double x) {
#if defined(__SSE2__) || defined(_M_X64)
    return _mm_cvtsd_f64(_mm_sqrt_sd(_mm_set_sd(x), _mm_set_sd(x)));
#else
    return std::sqrt(x);
#endif
}

double sin(double x);
double cos(double x);
double atan2(double y, double x);
double acos(double x);
double hypot(double x, double y);

} // namespace portable
