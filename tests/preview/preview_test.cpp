#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "exchange/settings.h"
#include "preview/svg.h"

namespace {

std::string write_temp(const std::string& bytes) {
    char name[] = "/tmp/ce_preview_XXXXXX";
    int fd = mkstemp(name);
    EXPECT_GE(fd, 0);
    std::FILE* f = fdopen(fd, "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return name;
}

int count(const std::string& s, const std::string& what) {
    int n = 0;
    for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
    return n;
}

// Every element is closed in order, and no raw '<' or '&' stands in text or attributes.
bool well_formed(const std::string& svg) {
    std::vector<std::string> open;
    for (std::size_t i = 0; i < svg.size(); ++i) {
        char c = svg[i];
        if (c == '&') {
            bool entity = !svg.compare(i, 4, "&lt;") || !svg.compare(i, 4, "&gt;") ||
                          !svg.compare(i, 5, "&amp;") || !svg.compare(i, 6, "&quot;");
            if (!entity) return false;
        }
        if (c != '<') continue;
        std::size_t close = svg.find('>', i);
        if (close == std::string::npos) return false;
        std::string tag = svg.substr(i + 1, close - i - 1);
        if (tag.find('<') != std::string::npos) return false;
        i = close;
        if (tag[0] == '?') continue;
        bool ending = tag[0] == '/', empty = tag.back() == '/';
        std::string name = tag.substr(ending, tag.find_first_of(" />", ending) - ending);
        if (ending) {
            if (open.empty() || open.back() != name) return false;
            open.pop_back();
        } else if (!empty) {
            open.push_back(name);
        }
    }
    return open.empty();
}

// The numbers inside the quoted attribute values of each element that starts with `start`.
std::vector<std::vector<double>> elements(const std::string& svg, const std::string& start) {
    std::vector<std::vector<double>> all;
    for (std::size_t at = svg.find(start); at != std::string::npos; at = svg.find(start, at + 1)) {
        std::vector<double> values;
        bool quoted = false;
        for (std::size_t i = at; i < svg.size() && svg[i] != '>'; ++i) {
            if (svg[i] == '"') {
                quoted = !quoted;
                continue;
            }
            if (!quoted || svg[i] == ' ' || svg[i] == ',') continue;
            char* end = nullptr;
            double v = std::strtod(svg.c_str() + i, &end);
            if (end != svg.c_str() + i)
                values.push_back(v), i = end - svg.c_str() - 1;
            else
                while (i + 1 < svg.size() && svg[i + 1] != '"' && svg[i + 1] != ' ') ++i;
        }
        all.push_back(values);
    }
    return all;
}

// The part of the picture that draws one panel.
std::string panel(const std::string& svg, int n) {
    std::size_t at = svg.find("<g class=\"panel\">");
    for (int i = 0; i < n && at != std::string::npos; ++i)
        at = svg.find("<g class=\"panel\">", at + 1);
    if (at == std::string::npos) return "";
    return svg.substr(at, svg.find("</g>", at) - at);
}

Scene load(const std::string& bytes, const AllCircles& all = {}) {
    Scene s;
    std::string path = write_temp(bytes);
    EXPECT_TRUE(load_scene(path.c_str(), s, all));
    std::remove(path.c_str());
    return s;
}

const char* DRAWING = "hhp1ci\r\nci 0 0 10\r\n#\r\n -20 6 -8 6\r\n 8 6 20 6\r\n"
                      "pt 30 0\r\npt 0 -15\r\nch 12 -12 5 1 A<B & C\r\nch 1 1 1 1 \x82\xa0\r\n"
                      "ci 25 25 2 0 90 1 0\r\n";

TEST(Preview, EveryEntityAppearsInWellFormedSvg) {
    Scene s;
    std::string path = write_temp(DRAWING);
    ASSERT_TRUE(load_scene(path.c_str(), s));
    std::remove(path.c_str());
    std::string svg = render_svg({&s}, 1);
    EXPECT_TRUE(well_formed(svg));
    EXPECT_FALSE(well_formed("<a><b></a></b>")); // the checker itself can fail
    EXPECT_FALSE(well_formed("<a>x & y</a>"));
    EXPECT_FALSE(well_formed("<a>"));
    EXPECT_EQ(count(svg, "<line x1"), 2);               // segments
    EXPECT_EQ(count(svg, "<line class=\"extent\""), 2); // texts' extents
    EXPECT_EQ(count(svg, "<circle class=\"mark\""), 2);
    EXPECT_EQ(count(svg, "<text"), 1); // the Shift-JIS string is not drawn
    EXPECT_NE(svg.find("A&lt;B &amp; C"), std::string::npos);
    EXPECT_EQ(count(svg, "<polyline class=\"boundary\""), 1);
    EXPECT_EQ(count(svg, "<polyline points"), 1);
    EXPECT_EQ(count(svg, "class=\"region\""), 1);
}

TEST(Preview, CoordinatesMapWithYUpAndCutEndsOnTheBoundary) {
    Scene before, after;
    std::string a = write_temp("hhp1ci\r\nci 0 0 10\r\n#\r\n -20 6 20 6\r\n");
    std::string b = write_temp(DRAWING);
    ASSERT_TRUE(load_scene(a.c_str(), before));
    ASSERT_TRUE(load_scene(b.c_str(), after));
    std::remove(a.c_str()), std::remove(b.c_str());
    View v = fit({&before, &after}, 600);
    // y up: a larger y is nearer the top; both panels share the scale.
    EXPECT_LT(svg_y(v, 6), svg_y(v, -6));
    EXPECT_NEAR(svg_x(v, 1, 0) - svg_x(v, 0, 0), v.panel_width, 1e-9);
    EXPECT_NEAR(svg_x(v, 0, 20) - svg_x(v, 0, -20), 40 * v.scale, 1e-9);
    // The cut end (8, 6) of the clipped file lies on the circle drawn around the centre.
    double dx = svg_x(v, 1, 8) - svg_x(v, 1, 0), dy = svg_y(v, 6) - svg_y(v, 0);
    EXPECT_NEAR(std::hypot(dx, dy), 10 * v.scale, 1e-6);
    std::string svg = render_svg({&before, &after}, 1);
    EXPECT_TRUE(well_formed(svg));
    EXPECT_EQ(count(svg, "<g class=\"panel\">"), 2);
    EXPECT_EQ(count(svg, "class=\"region\""), 2); // the designated region shades both panels
}

// A 40 by 20 drawing in a 420 wide picture: scale (420 - 2 * 10) / 40 = 10, the top left corner
// (-20, 10) at (10, 10), the second panel 420 further right.
TEST(Preview, ClippedFileShowsCutEndsOnTheBoundary) {
    Scene before = load("hhp1ci\r\nci 0 0 10\r\n#\r\n -20 6 20 6\r\n");
    Scene after = load("ci 0 0 10\r\n#\r\n -20 6 -8 6\r\n 8 6 20 6\r\n");
    View v = fit({&before, &after}, 420);
    EXPECT_DOUBLE_EQ(v.scale, 10);
    EXPECT_DOUBLE_EQ(v.panel_width, 420);
    std::string svg = render_svg({&before, &after}, 1, 420);
    ASSERT_TRUE(well_formed(svg));
    auto whole = elements(panel(svg, 0), "<line x1");
    ASSERT_EQ(whole.size(), 1u);
    EXPECT_EQ(whole[0], (std::vector<double>{10, 50, 410, 50}));
    auto cut = elements(panel(svg, 1), "<line x1");
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[0], (std::vector<double>{430, 50, 550, 50}));
    EXPECT_EQ(cut[1], (std::vector<double>{710, 50, 830, 50}));
    // The centre (0, 0) is at (630, 110) in the second panel; the cut ends are r * scale = 100
    // from it, and so is every point of the circle drawn there.
    double cx = svg_x(v, 1, 0), cy = svg_y(v, 0);
    EXPECT_NEAR(cx, 630, 1e-9);
    EXPECT_NEAR(cy, 110, 1e-9);
    EXPECT_NEAR(std::hypot(cut[0][2] - cx, cut[0][3] - cy), 10 * v.scale, 1e-6);
    EXPECT_NEAR(std::hypot(cut[1][0] - cx, cut[1][1] - cy), 10 * v.scale, 1e-6);
    auto circle = elements(panel(svg, 1), "<polyline points");
    ASSERT_EQ(circle.size(), 1u);
    ASSERT_GT(circle[0].size(), 8u);
    for (std::size_t i = 0; i + 1 < circle[0].size(); i += 2)
        EXPECT_NEAR(std::hypot(circle[0][i] - cx, circle[0][i + 1] - cy), 100, 1e-3);
}

// The arc from 0 to 90 degrees of radius 10 about the origin; its whole circle fits a 220 wide
// picture at scale 10, with the centre at (110, 110), (10, 0) at (210, 110), (0, 10) at (110, 10).
TEST(Preview, RegionOfEachMode) {
    Scene s = load("hhp1ci\r\nci 0 0 10 0 90 1 0\r\n#\r\n");
    auto region = [&](int mode) {
        auto r = elements(render_svg({&s}, mode, 220), "<polygon class=\"region\"");
        return r.size() == 1 ? r[0] : std::vector<double>{};
    };
    std::vector<double> whole = region(1), sector = region(2), segment = region(4);
    ASSERT_EQ(whole.size(), 2 * 129u);
    EXPECT_NEAR(whole[0], 210, 1e-3);
    EXPECT_NEAR(whole[1], 110, 1e-3);
    EXPECT_NEAR(whole[128], 10, 1e-3); // half way round: (-10, 0)
    EXPECT_NEAR(whole[129], 110, 1e-3);
    // The sector runs along the arc and back to the centre; the segment closes on the chord.
    ASSERT_EQ(sector.size(), 2 * 130u);
    EXPECT_NEAR(sector[256], 110, 1e-3);
    EXPECT_NEAR(sector[257], 10, 1e-3);
    EXPECT_NEAR(sector[258], 110, 1e-3);
    EXPECT_NEAR(sector[259], 110, 1e-3);
    EXPECT_EQ(region(3), sector);
    ASSERT_EQ(segment.size(), 2 * 129u);
    EXPECT_EQ(region(5), segment);
    for (std::size_t i = 0; i < segment.size(); i += 2)
        EXPECT_NEAR(std::hypot(segment[i] - 110, segment[i + 1] - 110), 100, 1e-3);
    // Above mode 5 everything is erased: the whole panel is shaded.
    EXPECT_EQ(count(render_svg({&s}, 6, 220), "<rect class=\"region\""), 1);
}

// As -k writes restyled pieces: after an "lc" and "lt" switch, then the restore.
TEST(Preview, LinesAndCurvesInTheirColourDashedUnlessOfType1) {
    Scene s =
        load("lc1\r\nlt1\r\n -20 6 -8 6\r\nlc13\r\nlt2\r\n -8 6 8 6\r\nci 10 0 10 120 240 1 0\r\n"
             "lc1\r\nlt1\r\n 8 6 20 6\r\nlc3\r\n 0 0 1 1\r\nlc1\r\nlt4\r\nci 0 0 3\r\n");
    std::string svg = render_svg({&s}, 1);
    EXPECT_TRUE(well_formed(svg));
    EXPECT_EQ(count(svg, "<line x1"), 2); // colour 1, type 1: as before
    EXPECT_EQ(count(svg, "<line class=\"c3 dashed\""), 1);
    EXPECT_EQ(count(svg, "<polyline class=\"c3 dashed\""), 1);
    EXPECT_EQ(count(svg, "<line class=\"c3\""), 1);
    EXPECT_EQ(count(svg, "<polyline class=\"dashed\""), 1);
    EXPECT_NE(svg.find(".dashed{stroke-dasharray:"), std::string::npos);
    EXPECT_NE(svg.find(".c3{stroke:#"), std::string::npos);
}

// With -a the closed circles of the body are boundaries too: drawn red and shaded as one union
// with the designated region, in every panel, from the input's. Not the circle before the
// comment record, the designated one again, the tiny one or the arc; with -a37 only the ones
// read in colour 3 and type 7.
TEST(Preview, AllCirclesDrawnAsBoundariesAndShadedAsOneUnion) {
    const char* drawing = "ci 50 50 4\r\nhhp1ci\r\nci 0 0 10\r\n#\r\nci 12 0 5\r\n"
                          "ci 30 0 0.0001\r\nci 40 0 3 0 90 1 0\r\nlc3\r\nlt7\r\n"
                          "ci 20 20 4\r\nci 40 20 2 0 360 0.5 30\r\n";
    auto union_of = [](const std::string& svg) {
        std::size_t at = svg.find("<g class=\"union\">");
        return at == std::string::npos ? "" : svg.substr(at, svg.find("</g>", at) - at);
    };
    isAll = 0;
    Scene all = load(drawing, {true, false, -1, -1}), after = load("#\r\n", {true, false, -1, -1});
    EXPECT_EQ(isAll, 0); // the tool's state is left as it was
    std::string svg = render_svg({&all, &after}, 1, 420);
    EXPECT_TRUE(well_formed(svg));
    EXPECT_EQ(count(svg, "<g class=\"union\">"), 2);
    EXPECT_EQ(count(svg, "class=\"region\""), 0); // the group is shaded, not each part
    EXPECT_EQ(count(svg, "<polyline class=\"boundary\""), 4);
    auto parts = elements(union_of(svg), "<polygon");
    ASSERT_EQ(parts.size(), 4u); // the designated circle, then the body's in file order
    View v = fit({&all, &after}, 420);
    double cx = svg_x(v, 0, 12), cy = svg_y(v, 0);
    for (std::size_t i = 0; i + 1 < parts[1].size(); i += 2)
        EXPECT_NEAR(std::hypot(parts[1][i] - cx, parts[1][i + 1] - cy), 5 * v.scale, 1e-3);

    Scene of37 = load(drawing, {true, true, 3, 7});
    svg = render_svg({&of37}, 1);
    EXPECT_EQ(count(svg, "<polyline class=\"boundary\""), 3);
    EXPECT_EQ(elements(union_of(svg), "<polygon").size(), 3u);
    // Without -a the picture is as it always was.
    Scene plain = load(drawing);
    EXPECT_EQ(count(render_svg({&plain}, 1), "union"), 0);
    EXPECT_EQ(count(render_svg({&plain}, 1), "<polyline class=\"boundary\""), 1);
}

TEST(Preview, CurvePointsAndRanges) {
    Shape e{};
    e.x1 = 1, e.y1 = 2, e.r = 10, e.hp = 0.5, e.jk = 90;
    double x, y;
    curve_point(e, 0, x, y); // along the first axis, turned to point up
    EXPECT_NEAR(x, 1, 1e-12);
    EXPECT_NEAR(y, 12, 1e-12);
    curve_point(e, 90, x, y); // half the radius across it, turned to point left
    EXPECT_NEAR(x, -4, 1e-12);
    EXPECT_NEAR(y, 2, 1e-12);
    e.hp = 0, e.jk = 0; // ratio 0 is a circle
    curve_point(e, 90, x, y);
    EXPECT_NEAR(x, 1, 1e-12);
    EXPECT_NEAR(y, 12, 1e-12);
    double a, b;
    auto range = [&](double sk, double ek) {
        e.sk = sk, e.ek = ek;
        curve_range(e, a, b);
        return std::vector<double>{a, b};
    };
    EXPECT_EQ(range(350, 10), (std::vector<double>{350, 370}));
    EXPECT_EQ(range(10, 400), (std::vector<double>{10, 40}));
    EXPECT_EQ(range(-90, 0), (std::vector<double>{270, 360}));
    EXPECT_EQ(range(45, 45), (std::vector<double>{0, 360}));
    EXPECT_EQ(range(0, 360), (std::vector<double>{0, 360}));
    EXPECT_EQ(range(10, 370), (std::vector<double>{0, 360})); // equal once folded: closed
    // A piece that a cut left across its start: from 240 on to 120.
    EXPECT_EQ(range(240, 120), (std::vector<double>{240, 480}));
}

} // namespace
