#include "preview/svg.h"

#include <cmath>
#include <string_view>

#include "text/fields.h"

static void num(std::string& out, double v) {
    char buf[400];
    out.append(buf, put_fixed(buf, std::isfinite(v) ? v : 0.0, 3));
}

static void escaped(std::string& out, std::string_view s) {
    for (char c : s) {
        if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '&')
            out += "&amp;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
}

// The ten colours that colour numbers share by their last digit; 1, the usual one, is drawn
// as every line was before colours were drawn.
static const char* const COLOURS[10] = {"#777777", "#222222", "#1e6fd9", "#2e9e44", "#e07b00",
                                        "#9b30c8", "#00a0a8", "#a0522d", "#e0409a", "#6b8e23"};

// The classes of a line or curve of another colour or line type than 1: its colour, and
// dashes for every line type but the solid one.
static void style_classes(std::string& out, const Shape& s) {
    int c = (s.colour % 10 + 10) % 10;
    if (c == 1 && s.type == 1) return;
    out += " class=\"";
    if (c != 1) out += {'c', static_cast<char>('0' + c)};
    if (c != 1 && s.type != 1) out += ' ';
    if (s.type != 1) out += "dashed";
    out += '"';
}

View fit(const std::vector<const Scene*>& scenes, double width) {
    double minx = 0, miny = 0, maxx = 1, maxy = 1;
    bool any = false;
    for (const Scene* s : scenes) {
        if (s->empty) continue;
        if (!any) minx = s->minx, miny = s->miny, maxx = s->maxx, maxy = s->maxy, any = true;
        minx = std::fmin(minx, s->minx), miny = std::fmin(miny, s->miny);
        maxx = std::fmax(maxx, s->maxx), maxy = std::fmax(maxy, s->maxy);
    }
    double span = std::fmax(maxx - minx, maxy - miny);
    if (!(span > 0)) span = 1;
    View v;
    v.margin = 10;
    v.scale = (width - 2 * v.margin) / span;
    v.minx = minx, v.maxy = maxy;
    v.panel_width = (maxx - minx) * v.scale + 2 * v.margin;
    return v;
}

double svg_x(const View& v, int panel, double x) {
    return panel * v.panel_width + v.margin + (x - v.minx) * v.scale;
}

double svg_y(const View& v, double y) { return v.margin + (v.maxy - y) * v.scale; }

// The curve from angle a to angle b as n + 1 points, then the extra point when given.
static void curve_attr(std::string& out, const View& v, int panel, const Shape& c, double a,
                       double b, const double* extra = nullptr) {
    const int n = 128;
    out += " points=\"";
    for (int i = 0; i <= n + (extra != nullptr); ++i) {
        double x, y;
        if (i <= n)
            curve_point(c, a + (b - a) * i / n, x, y);
        else
            x = extra[0], y = extra[1];
        num(out, svg_x(v, panel, x));
        out += ',';
        num(out, svg_y(v, y));
        out += ' ';
    }
    out += '"';
}

// The region the mode erases: the whole curve, the sector to the centre, the segment to the
// chord, or above mode 5 the whole panel. In a union the group is shaded, not each part.
static void region(std::string& out, const View& v, int panel, double height, const Shape& b,
                   int mode, bool in_union) {
    const char* cls = in_union ? "" : " class=\"region\"";
    if (mode > 5) {
        out += "<rect";
        out += cls;
        out += " x=\"";
        num(out, panel * v.panel_width);
        out += "\" y=\"0.000\" width=\"";
        num(out, v.panel_width);
        out += "\" height=\"";
        num(out, height);
        out += "\"/>\n";
        return;
    }
    double a = 0, e = 360;
    if (mode > 1) curve_range(b, a, e);
    const double centre[2] = {b.x1, b.y1};
    out += "<polygon";
    out += cls;
    curve_attr(out, v, panel, b, a, e, mode == 2 || mode == 3 ? centre : nullptr);
    out += "/>\n";
}

std::string render_svg(const std::vector<const Scene*>& scenes, int mode, double width) {
    View v = fit(scenes, width);
    double height = 0;
    for (const Scene* s : scenes)
        if (!s->empty) height = std::fmax(height, (v.maxy - s->miny) * v.scale);
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"";
    out += " width=\"";
    num(out, v.panel_width * scenes.size());
    out += "\" height=\"";
    height += 2 * v.margin + 14;
    num(out, height);
    out += "\">\n<style>line,polyline{stroke:#222;stroke-width:1;fill:none}"
           ".boundary{stroke:#d33;stroke-width:1.5}.region{fill:#d33;fill-opacity:0.12;stroke:none}"
           ".mark{fill:#06c}.extent{stroke:#888;stroke-dasharray:2 2}"
           "text{font:10px sans-serif;fill:#06c}.dashed{stroke-dasharray:4 3}";
    for (int c = 0; c < 10; ++c) {
        if (c == 1) continue;
        out += {'.', 'c', static_cast<char>('0' + c)};
        out += "{stroke:";
        out += COLOURS[c];
        out += '}';
    }
    // The result has lost its boundary marker: it is shaded with the one the input designated,
    // and with the boundaries of -a of the first file that has them.
    const Shape* boundary = nullptr;
    const Scene* clearing = nullptr;
    for (const Scene* sc : scenes)
        for (const Shape& s : sc->shapes) {
            if (!boundary && s.kind == Shape::CURVE && s.boundary) boundary = &s;
            if (!clearing && s.kind == Shape::CURVE && s.clears) clearing = sc;
        }
    // Overlapping parts of a union are shaded once: the group is made translucent as a whole.
    if (clearing) out += ".union{opacity:0.12}.union polygon,.union rect{fill:#d33;stroke:none}";
    out += "</style>\n";
    for (int panel = 0; panel < static_cast<int>(scenes.size()); ++panel) {
        out += "<g class=\"panel\">\n";
        if (clearing) {
            out += "<g class=\"union\">\n";
            if (boundary) region(out, v, panel, height, *boundary, mode, true);
            for (const Shape& s : clearing->shapes) {
                if (!s.clears) continue;
                out += "<polygon";
                curve_attr(out, v, panel, s, 0, 360);
                out += "/>\n";
            }
            out += "</g>\n";
        } else if (boundary) {
            region(out, v, panel, height, *boundary, mode, false);
        }
        for (const Shape& s : scenes[panel]->shapes) {
            switch (s.kind) {
            case Shape::LINE:
            case Shape::TEXT:
                out += "<line";
                if (s.kind == Shape::LINE)
                    style_classes(out, s);
                else
                    out += " class=\"extent\"";
                out += " x1=\"";
                num(out, svg_x(v, panel, s.x1));
                out += "\" y1=\"";
                num(out, svg_y(v, s.y1));
                out += "\" x2=\"";
                num(out, svg_x(v, panel, s.x2));
                out += "\" y2=\"";
                num(out, svg_y(v, s.y2));
                out += "\"/>\n";
                if (s.kind == Shape::TEXT && s.text_len > 0) {
                    out += "<text x=\"";
                    num(out, svg_x(v, panel, s.x1));
                    out += "\" y=\"";
                    num(out, svg_y(v, s.y1));
                    out += "\">";
                    escaped(out,
                            std::string_view(scenes[panel]->texts).substr(s.text_at, s.text_len));
                    out += "</text>\n";
                }
                break;
            case Shape::POINT:
                out += "<circle class=\"mark\" r=\"2\" cx=\"";
                num(out, svg_x(v, panel, s.x1));
                out += "\" cy=\"";
                num(out, svg_y(v, s.y1));
                out += "\"/>\n";
                break;
            case Shape::CURVE: {
                double a, e;
                curve_range(s, a, e);
                out += "<polyline";
                if (s.boundary || s.clears)
                    out += " class=\"boundary\"";
                else
                    style_classes(out, s);
                curve_attr(out, v, panel, s, a, e);
                out += "/>\n";
                break;
            }
            }
        }
        out += "</g>\n";
    }
    out += "</svg>\n";
    return out;
}
