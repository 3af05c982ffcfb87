// Angles in degrees, as the drawing gives them.
#pragma once

// a folded into [0, 360] by whole turns: 360 stays 360, -360 becomes 0.
double DEG_0_360(double a);
