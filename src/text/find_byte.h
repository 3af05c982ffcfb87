// memchr, the same on every platform: the Windows runtime's looks at a byte at a time, and
// the searches of every run (line ends, the end-of-file byte, marker lines) cost more there
// than the rest of the run.
#pragma once
#include <bit>
#include <cstddef>
#include <cstring>
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

// The first c in [p, end), or null.
inline const char* find_byte(const char* p, const char* end, char c) {
#if defined(__SSE2__) || defined(_M_X64)
    const __m128i want = _mm_set1_epi8(c);
    for (; end - p >= 16; p += 16) {
        __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, want)));
        if (hits) return p + std::countr_zero(hits);
    }
    for (; p < end; ++p)
        if (*p == c) return p;
    return nullptr;
#else
    return static_cast<const char*>(std::memchr(p, c, end - p));
#endif
}
