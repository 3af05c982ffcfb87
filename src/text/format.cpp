#include "text/format.h"

#include <cstring>
#include <string_view>

#include "text/fields.h"

// Formats into a fixed line buffer and hands it on in pieces small enough for any number.
template <class Sink>
static void format(Sink&& sink, const char* fmt, std::initializer_list<FmtArg> args) {
    char buf[2048];
    char* o = buf;
    const FmtArg* a = args.begin();
    const FmtArg* last = args.end();
    for (const char* f = fmt; *f; ++f) {
        if (o - buf > static_cast<long>(sizeof buf) - 400) {
            sink(std::string_view(buf, o - buf));
            o = buf;
        }
        if (*f != '%') {
            *o++ = *f;
            continue;
        }
        ++f;
        if (*f == '%') {
            *o++ = '%';
            continue;
        }
        int decimals = 6;
        if (*f == '.') {
            decimals = 0;
            while (f[1] >= '0' && f[1] <= '9') decimals = decimals * 10 + (*++f - '0');
            ++f;
        }
        if (a == last) continue; // a format without its argument writes nothing
        const FmtArg& v = *a++;
        switch (*f) {
        case 'f':
            o = put_fixed(o, v.kind == FmtArg::REAL ? v.d : static_cast<double>(v.i), decimals);
            break;
        case 'd':
            o = put_int(o, v.i);
            break;
        case 'x':
            o = put_hex(o, static_cast<int>(v.i));
            break;
        case 's':
            sink(std::string_view(buf, o - buf));
            o = buf;
            if (v.s) sink(std::string_view(v.s, std::strlen(v.s)));
            break;
        default:
            break;
        }
    }
    sink(std::string_view(buf, o - buf));
}

void vemit(Writer& w, const char* fmt, std::initializer_list<FmtArg> args) {
    format([&](std::string_view s) { put_text(w, s); }, fmt, args);
}

void vsay(std::FILE* out, const char* fmt, std::initializer_list<FmtArg> args) {
    format([&](std::string_view s) { std::fwrite(s.data(), 1, s.size(), out); }, fmt, args);
}
