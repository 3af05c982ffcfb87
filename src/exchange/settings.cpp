#include "exchange/settings.h"

int isTest, iMode, isCrop, isCurve, isKeep;
int KEiro, KEsyu;
int isAll, ALLiro, ALLsyu;
int EXiro1, EXsyu1, EXiro2, EXsyu2;

void reset_settings() {
    isTest = 0;
    iMode = 1;
    isCrop = 0;
    isCurve = 0;
    isKeep = 0;
    KEiro = KEsyu = 0;
    isAll = 0;
    ALLiro = ALLsyu = -1;
    EXiro1 = EXsyu1 = EXiro2 = EXsyu2 = 0;
}
