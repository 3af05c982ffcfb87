#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

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

} // namespace
