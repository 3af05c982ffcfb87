// Scenes as an SVG picture: side by side on one scale, y up, the erased region shaded.
#pragma once
#include <string>
#include <vector>

#include "preview/scene.h"

struct View {
    double scale;       // SVG units per drawing unit
    double minx, maxy;  // drawing point at the top-left corner of each panel
    double panel_width; // width of one panel, margins included
    double margin;
};

View fit(const std::vector<const Scene*>& scenes, double width);
double svg_x(const View& v, int panel, double x);
double svg_y(const View& v, double y);
// mode: the clipping mode whose region is shaded (1 whole, 2 and 3 sector, 4 and 5 segment).
std::string render_svg(const std::vector<const Scene*>& scenes, int mode, double width = 600);
