// The numbers every floor shares.
#pragma once

inline constexpr double PAI = 3.141592653589793; // pi as the nearest double
inline constexpr double GOMI_UNIT = 0.00025;     // tolerance at scale 1; also the least radius
