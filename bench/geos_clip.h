// The GEOS side of the comparison, shared by the peer program and the micro-benchmarks: the
// boundary circle as a prepared polygon, and one segment clipped against it the way a careful
// GEOS user would (prepared predicates first, the overlay only for segments that cross).
#pragma once
#include <geos_c.h>

#include <cmath>
#include <string_view>

#include "text/fields.h"
#include "text/streams.h"

constexpr unsigned GEOS_CIRCLE_VERTICES = 256;

struct GeosRegion {
    GEOSContextHandle_t h = nullptr;
    GEOSGeometry* poly = nullptr;
    const GEOSPreparedGeometry* prep = nullptr;
};

// The circle as a polygon of GEOS_CIRCLE_VERTICES vertices.
inline GEOSGeometry* geos_disc(GEOSContextHandle_t h, double cx, double cy, double r) {
    GEOSCoordSequence* ring = GEOSCoordSeq_create_r(h, GEOS_CIRCLE_VERTICES + 1, 2);
    for (unsigned i = 0; i <= GEOS_CIRCLE_VERTICES; ++i) {
        // The last vertex repeats the first bit for bit, or GEOS refuses the ring.
        double a = 2 * 3.141592653589793 * (i % GEOS_CIRCLE_VERTICES) / GEOS_CIRCLE_VERTICES;
        GEOSCoordSeq_setXY_r(h, ring, i, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    return GEOSGeom_createPolygon_r(h, GEOSGeom_createLinearRing_r(h, ring), nullptr, 0);
}

inline GeosRegion geos_region(double cx, double cy, double r) {
    GeosRegion g;
    g.h = GEOS_init_r();
    g.poly = geos_disc(g.h, cx, cy, r);
    g.prep = GEOSPrepare_r(g.h, g.poly);
    return g;
}

inline void geos_region_free(GeosRegion& g) {
    GEOSPreparedGeom_destroy_r(g.h, g.prep);
    GEOSGeom_destroy_r(g.h, g.poly);
    GEOS_finish_r(g.h);
    g = {};
}

// A segment record with circle_erase's number code: " %.13f %.13f %.13f %.13f".
inline void geos_put_segment(Writer& w, double x1, double y1, double x2, double y2) {
    char buf[4 * 352 + 8];
    char* o = buf;
    for (double v : {x1, y1, x2, y2}) {
        *o++ = ' ';
        o = put_fixed(o, v, 13);
    }
    *o++ = '\n';
    put_text(w, std::string_view(buf, static_cast<std::size_t>(o - buf)));
}

// The pieces of the segment outside the region into w (w null: computed, not written).
// Returns the number of pieces.
inline int geos_clip(const GeosRegion& g, Writer* w, double x1, double y1, double x2, double y2) {
    GEOSCoordSequence* cs = GEOSCoordSeq_create_r(g.h, 2, 2);
    GEOSCoordSeq_setXY_r(g.h, cs, 0, x1, y1);
    GEOSCoordSeq_setXY_r(g.h, cs, 1, x2, y2);
    GEOSGeometry* line = GEOSGeom_createLineString_r(g.h, cs);
    int pieces = 0;
    if (GEOSPreparedContains_r(g.h, g.prep, line) == 1) {
        // wholly inside: erased
    } else if (GEOSPreparedIntersects_r(g.h, g.prep, line) != 1) {
        if (w) geos_put_segment(*w, x1, y1, x2, y2);
        pieces = 1;
    } else if (GEOSGeometry* d = GEOSDifference_r(g.h, line, g.poly)) {
        int n = GEOSGetNumGeometries_r(g.h, d);
        for (int i = 0; i < n; ++i) {
            const GEOSGeometry* part = GEOSGetGeometryN_r(g.h, d, i);
            const GEOSCoordSequence* ps = GEOSGeom_getCoordSeq_r(g.h, part);
            unsigned size = 0;
            if (!ps || !GEOSCoordSeq_getSize_r(g.h, ps, &size)) continue;
            for (unsigned k = 0; k + 1 < size; ++k, ++pieces) {
                double a, b, c, e;
                GEOSCoordSeq_getXY_r(g.h, ps, k, &a, &b);
                GEOSCoordSeq_getXY_r(g.h, ps, k + 1, &c, &e);
                if (w) geos_put_segment(*w, a, b, c, e);
            }
        }
        GEOSGeom_destroy_r(g.h, d);
    }
    GEOSGeom_destroy_r(g.h, line);
    return pieces;
}
