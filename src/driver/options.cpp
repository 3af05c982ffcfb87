#include <cctype>
#include <cstdio>

#include "driver/driver.h"
#include "exchange/attributes.h"
#include "text/fields.h"

void OPT(const char* arg) {
    char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(arg[1])));
    const char* value = arg[1] ? arg + 2 : arg + 1;
    bool has_value = *value != '\0';
    switch (letter) {
    case 'e':
    case 'f':
    case 'k': {
        int& iro = letter == 'e' ? EXiro1 : letter == 'f' ? EXiro2 : KEiro;
        int& syu = letter == 'e' ? EXsyu1 : letter == 'f' ? EXsyu2 : KEsyu;
        if (letter == 'k') isKeep = 1;
        iro = syu = 0;
        if (has_value) {
            int n = atoi_sat(value);
            iro = n / 10;
            syu = n % 10;
        }
        break;
    }
    case 'a': // every closed circle, or those of one colour and line type
        isAll = has_value ? 2 : 1;
        ALLiro = ALLsyu = -1;
        if (has_value) {
            int n = atoi_sat(value);
            ALLiro = n / 10;
            ALLsyu = n % 10;
        }
        break;
    case 'm':
        if (has_value) iMode = atoi_sat(value);
        break;
    case 't':
        set_test_mode(*value == '2' ? 2 : 1);
        break;
    case 'i':
        isCrop = 1;
        break;
    case 'c':
        isCurve = 1;
        break;
    default:
        std::fputs("\n illegal Option.\n", stderr);
        break;
    }
}

int EX_CLCT() {
    return (COLOR == EXiro1 && TYPE == EXsyu1) || (COLOR == EXiro2 && TYPE == EXsyu2) ? 1 : 0;
}
