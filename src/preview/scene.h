// What a preview draws: the entities of one exchange file, in drawing coordinates.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

struct Shape {
    enum Kind { LINE, POINT, TEXT, CURVE } kind;
    double x1, y1, x2, y2;         // LINE ends; POINT and TEXT start in x1, y1; TEXT end in x2, y2
    double r, sk, ek, hp, jk;      // CURVE: centre in x1, y1, radius, angles, ratio, tilt
    std::size_t text_at, text_len; // TEXT: the plain ASCII string in Scene::texts, else empty
    bool boundary;                 // CURVE: the designated boundary
    bool clears;                   // CURVE: a boundary of -a
    int colour, type;              // LINE and CURVE: the "lc" and "lt" in force, else 1
};

struct Scene {
    std::vector<Shape> shapes;
    std::string texts;                             // the strings of all texts, one after another
    double minx = 0, miny = 0, maxx = 0, maxy = 0; // extents of everything drawn
    bool empty = true;
};

// The circles that -a takes: with `on`, the closed ones of the body, only those of `colour` and
// `type` where these are not -1, as the tool reads -a<cl>.
struct AllCircles {
    bool on = false;
    bool pair = false; // only those in this colour and type
    int colour = -1, type = -1;
};

bool load_scene(const char* path, Scene& scene, const AllCircles& all = {});
// The point of a circle, arc or ellipse at angle a (degrees): r cos a along the first axis,
// r h sin a across it, turned by the tilt.
void curve_point(const Shape& c, double a, double& x, double& y);
// The angles a curve is drawn between: start <= end <= start + 360, 0 to 360 when closed.
void curve_range(const Shape& c, double& start, double& end);
