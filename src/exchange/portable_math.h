// The transcendental functions whose results reach the output, computed the same way on every
// platform: the C runtimes' own differ in the last bit between Windows and Linux, and a last bit
// can show in the thirteenth decimal. They work in the x87's 64-bit extended precision, whose
// basic operations and square root are exact to IEEE rules on both, and round once to double.
#pragma once

namespace portable {

double sin(double x);
double cos(double x);
double atan2(double y, double x);
double acos(double x);
double hypot(double x, double y);

} // namespace portable
