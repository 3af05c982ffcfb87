#include "boundary/boundary.h"
#include "boundary/circles.h"
#include "exchange/settings.h"

double K_CX, K_CY, K_CR, K_SK, K_EK, K_HP, K_JK, K_JK0;
Point K_CPT;
double CX, CY, CR, SK, EK, HP, JK;
bool CIRCLE_WHOLE;
long long HHP_FIND[2];
Point Pmin[3];
double G_SCALE[16];
double scale;
double gomi;
double HN[4];
Point PTd[3];
double KRP[4];
int isBorder;
int isDesignated;

void reset_boundary() {
    K_CX = K_CY = K_CR = K_SK = K_EK = K_HP = K_JK = K_JK0 = 0;
    K_CPT = {0, 0};
    CX = CY = CR = SK = EK = HP = JK = 0;
    CIRCLE_WHOLE = false;
    HHP_FIND[0] = HHP_FIND[1] = 0;
    for (auto& p : Pmin) p = {0, 0};
    for (auto& s : G_SCALE) s = 1.0;
    scale = 1.0;
    gomi = GOMI_UNIT;
    for (auto& h : HN) h = 0;
    for (auto& p : PTd) p = {0, 0};
    for (auto& k : KRP) k = 0;
    isBorder = 0;
    isDesignated = 1;
    reset_circles();
}
