#include "exchange/attributes.h"
#include "exchange/output.h"
#include "exchange/record.h"
#include "exchange/settings.h"
#include "text/fields.h"
#include "text/format.h"
#include "text/streams.h"

bool is_protected() { return ZOKU_A[0] == 3 || ZOKU_A[0] == 4 || ZOKU_A[0] == 5; }

void ZZ_ZOKUSEI(long long n) {
    if (n == 0) {
        ZOKU = 0;
        ZOKU_A[0] = ZOKU_A[1] = 0;
    } else if (ZOKU != 0) {
        ZOKU_A[1] = ZOKU_A[0];
        ZOKU_A[0] = ZOKU;
        ZOKU = 0;
    } else {
        ZOKU_A[0] = ZOKU_A[1] = 0;
    }
}

void WR_Z_BACK() {
    if (ZOKU_A[1] != 0) emit("z%d\n", ZOKU_A[1]);
    if (ZOKU_A[0] != 0) emit("z%d\n", ZOKU_A[0]);
}

void WR_BACK(std::string_view rec, bool restyled) {
    restyled ? restyle_begin() : restyle_end();
    WR_Z_BACK();
    put_record(fpw, rec);
}

void __TEN(const Point& p) { emit("pt %.13f %.13f\n", p.x, p.y); }

// The hot path of every run: its digits are written when its block is drained.
void __LINE(const Segment& s) { put_segment_line(fpw, s.x1, s.y1, s.x2, s.y2); }

void __TEN_LINE(const Point& p, const Point& q) { __LINE(Segment{p.x, p.y, q.x, q.y}); }

static void switch_to(int colour, int type) {
    if (PL == 1 && PLcnt > 0) {
        emit("#\n");
        PLcnt = 0;
    }
    emit("lc%d\nlt%d\n", colour, type);
}

void restyle_begin() {
    if (RESTYLED) return;
    switch_to(KEiro, KEsyu);
    RESTYLED = 1;
}

void restyle_end() {
    if (!RESTYLED) return;
    switch_to(COLORo, TYPEo);
    RESTYLED = 0;
}

void IniZokusei() {
    if (MOJISi == 0) emit("cn0 %.2f %.2f %.2f %d\n", MOJIWi, MOJIHi, MOJIDi, MOJICi);
    if (MOJISi != 0 && MOJISi <= 10) emit("cn%d\n", MOJISi);
    emit("lg%x\nly%x\nlt%d\nlc%d\n", GROUPi, LAYERi, TYPEi, COLORi);
    if (TENSi <= 10) emit("pn%d\n", TENSi);
}
