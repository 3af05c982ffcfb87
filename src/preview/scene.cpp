#include "preview/scene.h"

#include <cmath>

#include "exchange/fields.h"
#include "exchange/textio.h"

static const double PI = 3.141592653589793;

std::vector<std::pair<double, double>> curve_points(const Shape& c, double a, double b, int n) {
    std::vector<std::pair<double, double>> pts;
    double h = c.hp == 0 ? 1 : c.hp, t = c.jk * PI / 180;
    for (int i = 0; i <= n; ++i) {
        double ang = (a + (b - a) * i / n) * PI / 180;
        double u = c.r * std::cos(ang), v = c.r * h * std::sin(ang);
        pts.emplace_back(c.x1 + std::cos(t) * u - std::sin(t) * v,
                         c.y1 + std::sin(t) * u + std::cos(t) * v);
    }
    return pts;
}

static void extend(Scene& s, double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    if (s.empty) s.minx = s.maxx = x, s.miny = s.maxy = y, s.empty = false;
    s.minx = std::fmin(s.minx, x), s.maxx = std::fmax(s.maxx, x);
    s.miny = std::fmin(s.miny, y), s.maxy = std::fmax(s.maxy, y);
}

static bool plain_ascii(const std::string& s) {
    for (unsigned char c : s)
        if (c < 0x20 || c > 0x7E) return false;
    return !s.empty();
}

bool load_scene(const char* path, Scene& scene) {
    Reader r;
    if (!reader_open(r, path)) return false;
    std::string_view rec;
    bool next_is_boundary = false;
    while (read_record(r, rec)) {
        bool marker = rec.substr(0, 6) == "hhp1ci";
        Shape s{};
        if (rec.substr(0, 1) == " ") {
            s.kind = Shape::LINE;
            if (fields(rec, 1).lf(s.x1).lf(s.y1).lf(s.x2).lf(s.y2).ok) {
                scene.shapes.push_back(s);
                extend(scene, s.x1, s.y1), extend(scene, s.x2, s.y2);
            }
        } else if (rec.substr(0, 2) == "pt") {
            s.kind = Shape::POINT;
            if (fields(rec, 2).lf(s.x1).lf(s.y1).ok)
                scene.shapes.push_back(s), extend(scene, s.x1, s.y1);
        } else if (rec.substr(0, 2) == "ch" || rec.substr(0, 2) == "cv") {
            s.kind = Shape::TEXT;
            double dx = 0, dy = 0;
            Fields f = fields(rec, 2).lf(s.x1).lf(s.y1).lf(dx).lf(dy);
            if (f.ok) {
                s.x2 = s.x1 + dx, s.y2 = s.y1 + dy;
                std::string rest(f.p, f.end);
                while (!rest.empty() && (rest.back() == '\n' || rest.back() == '\r'))
                    rest.pop_back();
                std::size_t b = rest.find_first_not_of(' ');
                rest = b == std::string::npos ? "" : rest.substr(b);
                if (plain_ascii(rest)) s.text = rest;
                scene.shapes.push_back(s);
                extend(scene, s.x1, s.y1), extend(scene, s.x2, s.y2);
            }
        } else if (rec.substr(0, 2) == "ci") {
            s.kind = Shape::CURVE;
            s.ek = 360;
            Fields f = fields(rec, 2).lf(s.x1).lf(s.y1).lf(s.r).lf(s.sk).lf(s.ek).lf(s.hp).lf(s.jk);
            if (f.count == 3) s.sk = 0, s.ek = 360;
            if (s.sk == s.ek) s.sk = 0, s.ek = 360;
            if (f.count >= 3) {
                s.boundary = next_is_boundary;
                scene.shapes.push_back(s);
                for (auto& p : curve_points(s, 0, 360, 64)) extend(scene, p.first, p.second);
            }
        }
        next_is_boundary = marker;
    }
    reader_close(r);
    return true;
}
