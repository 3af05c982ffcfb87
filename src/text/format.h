// printf-style output through the number writers: "%d", "%x", "%s", "%.Nf" and "%%".
// The format strings stay readable as the records they write.
#pragma once
#include <cstdio>
#include <initializer_list>
#include <type_traits>

#include "text/streams.h"

struct FmtArg {
    enum Kind { INT, REAL, TEXT } kind;
    long long i;
    double d;
    const char* s;
    template <class T> FmtArg(T v) {
        if constexpr (std::is_floating_point_v<T>) {
            kind = REAL, i = 0, d = v, s = nullptr;
        } else if constexpr (std::is_integral_v<T>) {
            kind = INT, i = v, d = 0, s = nullptr;
        } else {
            kind = TEXT, i = 0, d = 0, s = v;
        }
    }
};

void vemit(Writer& w, const char* fmt, std::initializer_list<FmtArg> args);
void vsay(std::FILE* out, const char* fmt, std::initializer_list<FmtArg> args);

// A line on the console (standard output, in the platform's text mode).
template <class... A> void say(const char* fmt, const A&... a) {
    vsay(stdout, fmt, {FmtArg(a)...});
}
