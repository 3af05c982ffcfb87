// What a preview draws: the entities of one exchange file, in drawing coordinates.
#pragma once
#include <string>
#include <vector>

struct Shape {
    enum Kind { LINE, POINT, TEXT, CURVE } kind;
    double x1, y1, x2, y2;    // LINE ends; POINT and TEXT start in x1, y1; TEXT end in x2, y2
    double r, sk, ek, hp, jk; // CURVE: centre in x1, y1, radius, angles, ratio, tilt
    std::string text;         // TEXT: the string when it is plain ASCII
    bool boundary;            // CURVE: the designated boundary
};

struct Scene {
    std::vector<Shape> shapes;
    double minx = 0, miny = 0, maxx = 0, maxy = 0; // extents of everything drawn
    bool empty = true;
};

bool load_scene(const char* path, Scene& scene);
// Points of a circle, arc or ellipse from angle a to angle b (degrees), n + 1 of them.
std::vector<std::pair<double, double>> curve_points(const Shape& c, double a, double b, int n);
