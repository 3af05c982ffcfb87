#include "exchange/attributes.h"
#include "exchange/output.h"

Reader fp;
Writer fpw;

int COLOR, TYPE, LAYER, GROUP, TENS, MOJIS;
double MOJI_W[1], MOJI_H[1], MOJI_D[1];
int MOJI_C[1];

int COLORi, TYPEi, LAYERi, GROUPi, TENSi, MOJISi;
double MOJIWi, MOJIHi, MOJIDi;
int MOJICi;

int COLORo, TYPEo, RESTYLED;

int ZOKU;
int ZOKU_A[2];

void reset_attributes() {
    COLOR = 1, TYPE = 1, LAYER = 0, GROUP = 0, TENS = 1, MOJIS = 1;
    MOJI_W[0] = MOJI_H[0] = MOJI_D[0] = 0;
    MOJI_C[0] = 0;
    COLORi = TYPEi = LAYERi = GROUPi = TENSi = MOJISi = 20;
    MOJIWi = -20.0, MOJIHi = 20.0, MOJIDi = 20.0;
    MOJICi = 20;
    COLORo = TYPEo = 1;
    RESTYLED = 0;
    ZOKU = 0;
    ZOKU_A[0] = ZOKU_A[1] = 0;
}

void start_in_force() {
    // Nothing captured means no "lc" record anywhere: the colour is still the initial one.
    COLORo = COLORi != 20 ? COLORi : COLOR;
    TYPEo = TYPEi != 20 ? TYPEi : TYPE;
    RESTYLED = 0;
}
