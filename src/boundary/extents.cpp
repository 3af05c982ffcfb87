#include "base/point.h"
#include "boundary/boundary.h"

int Pole_set(const Point& p) {
    // A coordinate beyond the bound would put Pmin[1] out there too, and every later probe to
    // it would overflow.
    if (in_bound(p.x) && Pmin[0].x > p.x) Pmin[0].x = Pmin[1].x = Pmin[2].x = p.x - 100;
    if (in_bound(p.y) && Pmin[0].y > p.y) {
        Pmin[0].y = p.y - 100;
        Pmin[1].y = p.y - 103;
        Pmin[2].y = p.y - 106;
    }
    return 0;
}
