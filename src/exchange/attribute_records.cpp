#include <string_view>

#include "exchange/attributes.h"
#include "text/fields.h"

void capture(int& initial, int current) {
    if (initial == 20) initial = current;
}

void capture_cn0() {
    if (MOJISi != 20) return;
    MOJISi = 0;
    MOJIWi = MOJI_W[0], MOJIHi = MOJI_H[0], MOJIDi = MOJI_D[0];
    MOJICi = MOJI_C[0];
}

bool read_attribute(std::string_view rec, bool first) {
    if (rec.empty() || (rec[0] != 'l' && rec[0] != 'p' && rec[0] != 'c')) return false; // most
    auto is = [&](std::string_view tag) { return rec.substr(0, tag.size()) == tag; };
    auto set = [&](int& initial, int current) {
        if (first) capture(initial, current);
        return true;
    };
    if (is("lg")) return fields(rec, 2).x(GROUP), set(GROUPi, GROUP);
    if (is("ly")) return fields(rec, 2).x(LAYER), set(LAYERi, LAYER);
    // The main pass follows what the host reads; an unreadable value tells nothing.
    if (is("lt")) {
        if (fields(rec, 2).d(TYPE).ok && !first) TYPEo = TYPE;
        return set(TYPEi, TYPE);
    }
    if (is("lc")) {
        if (fields(rec, 2).d(COLOR).ok && !first) COLORo = COLOR;
        return set(COLORi, COLOR);
    }
    if (is("pn")) return fields(rec, 2).d(TENS), set(TENSi, TENS);
    if (is("cn0")) {
        MOJIS = 0;
        fields(rec, 3).lf(MOJI_W[0]).lf(MOJI_H[0]).lf(MOJI_D[0]).d(MOJI_C[0]);
        if (first) capture_cn0();
        return true;
    }
    // "cn\"" holds no number: MOJIS keeps its value, and the first pass takes that.
    if (is("cn")) return fields(rec, 2).d(MOJIS), set(MOJISi, MOJIS);
    return false;
}
