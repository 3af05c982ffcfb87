#include "preview/scene.h"

#include <cmath>
#include <string_view>
#include <tuple>

#include "boundary/boundary.h"
#include "boundary/circles.h"
#include "exchange/attributes.h"
#include "exchange/record.h"
#include "exchange/settings.h"
#include "geometry/curves.h"
#include "text/fields.h"
#include "text/streams.h"

void curve_point(const Shape& c, double a, double& x, double& y) {
    double h = c.hp == 0 ? 1 : c.hp, t = c.jk * PAI / 180, ang = a * PAI / 180;
    double u = c.r * std::cos(ang), v = c.r * h * std::sin(ang);
    x = c.x1 + std::cos(t) * u - std::sin(t) * v;
    y = c.y1 + std::sin(t) * u + std::cos(t) * v;
}

void curve_range(const Shape& c, double& start, double& end) {
    // Angles that are no numbers draw the whole curve, as a closed one does.
    if (!(c.sk == c.sk && c.ek == c.ek) || arc_range(c.sk, c.ek, start, end)) start = 0, end = 360;
}

static void extend(Scene& s, double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    if (s.empty) s.minx = s.maxx = x, s.miny = s.maxy = y, s.empty = false;
    s.minx = std::fmin(s.minx, x), s.maxx = std::fmax(s.maxx, x);
    s.miny = std::fmin(s.miny, y), s.maxy = std::fmax(s.maxy, y);
}

static bool plain_ascii(std::string_view s) {
    for (unsigned char c : s)
        if (c < 0x20 || c > 0x7E) return false;
    return !s.empty();
}

// The tool's own rule, fed what its pre-scan has in force at the record, so that the picture
// never shows a boundary the tool would not take; the tool's state is left as it was.
static bool clears_inside(std::string_view rec, const AllCircles& all, bool body, int colour,
                          int type) {
    const auto saved =
        std::tuple(CX, CY, CR, SK, EK, HP, JK, SHARP, COLOR, TYPE, isAll, ALLiro, ALLsyu);
    isAll = all.pair ? 2 : 1, ALLiro = all.colour, ALLsyu = all.type;
    SHARP = body ? 0 : 20, COLOR = colour, TYPE = type;
    bool clears = boundary_circle(read_circle(rec));
    std::tie(CX, CY, CR, SK, EK, HP, JK, SHARP, COLOR, TYPE, isAll, ALLiro, ALLsyu) = saved;
    return clears;
}

bool load_scene(const char* path, Scene& scene, const AllCircles& all) {
    Reader r;
    if (!reader_open(r, path)) return false;
    std::string_view rec;
    bool next_is_boundary = false, body = false;
    int colour = 1, type = 1;
    while (read_record(r, rec)) {
        bool marker = rec.substr(0, 6) == "hhp1ci";
        if (rec.substr(0, 2) == "lc") fields(rec, 2).d(colour);
        if (rec.substr(0, 2) == "lt") fields(rec, 2).d(type);
        Shape s{};
        s.colour = colour, s.type = type;
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
                std::string_view rest(f.p, static_cast<std::size_t>(f.end - f.p));
                rest = rest.substr(0, rest.find('\0'));
                while (!rest.empty() && (rest.back() == '\n' || rest.back() == '\r'))
                    rest.remove_suffix(1);
                while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
                if (plain_ascii(rest)) {
                    s.text_at = scene.texts.size(), s.text_len = rest.size();
                    scene.texts.append(rest);
                }
                scene.shapes.push_back(s);
                extend(scene, s.x1, s.y1), extend(scene, s.x2, s.y2);
            }
        } else if (rec.substr(0, 2) == "ci") {
            s.kind = Shape::CURVE;
            s.ek = 360;
            Fields f = fields(rec, 2).lf(s.x1).lf(s.y1).lf(s.r).lf(s.sk).lf(s.ek).lf(s.hp).lf(s.jk);
            if (f.count >= 3) {
                s.boundary = next_is_boundary;
                s.clears = all.on && clears_inside(rec, all, body, colour, type);
                scene.shapes.push_back(s);
                double a, e, x, y;
                curve_range(s, a, e);
                // The shaded region of a boundary may be its whole curve, whatever the mode.
                if (s.boundary) a = 0, e = 360;
                for (int i = 0; i <= 64; ++i) {
                    curve_point(s, a + (e - a) * i / 64, x, y);
                    extend(scene, x, y);
                }
            }
        }
        next_is_boundary = marker;
        body = body || rec.substr(0, 1) == "#";
    }
    return reader_close(r);
}
