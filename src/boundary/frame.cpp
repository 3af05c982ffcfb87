#include "boundary/frame.h"

#include "boundary/boundary.h"

bool is_ellipse() { return K_HP != 1 && K_HP != 0; }

Point to_circle_frame(const Point& p, double c, double s) {
    double dx = p.x - K_CX;
    double dy = p.y - K_CY;
    return {K_CX + c * dx + s * dy, K_CY + (c * dy - s * dx) / K_HP};
}

Point from_circle_frame(const Point& p, double c, double s) {
    double dx = p.x - K_CX;
    double v = K_HP * (p.y - K_CY);
    return {K_CX + c * dx - s * v, K_CY + s * dx + c * v};
}
