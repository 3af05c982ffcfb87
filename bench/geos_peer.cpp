// geos_peer IN OUT: what a user would write instead, with GEOS: the segment records of IN
// clipped against the designated circle (a prepared polygon of 256 vertices), the outside
// pieces written to OUT with the same reader and number code as circle_erase.
#include <geos_c.h>

#include <cmath>
#include <cstdio>
#include <string_view>

#include "exchange/fields.h"
#include "exchange/textio.h"

static void write_line(Writer& w, double x1, double y1, double x2, double y2) {
    char buf[1500], *o = buf;
    for (double v : {x1, y1, x2, y2}) *o++ = ' ', o = put_fixed(o, v, 13);
    *o++ = '\n';
    put_text(w, std::string_view(buf, o - buf));
}

static void write_pieces(GEOSContextHandle_t h, Writer& w, const GEOSGeometry* g) {
    int n = GEOSGetNumGeometries_r(h, g);
    for (int i = 0; i < n; ++i) {
        const GEOSGeometry* part = GEOSGetGeometryN_r(h, g, i);
        const GEOSCoordSequence* cs = GEOSGeom_getCoordSeq_r(h, part);
        unsigned size = 0;
        if (!cs || !GEOSCoordSeq_getSize_r(h, cs, &size)) continue;
        for (unsigned k = 0; k + 1 < size; ++k) {
            double x1, y1, x2, y2;
            GEOSCoordSeq_getXY_r(h, cs, k, &x1, &y1);
            GEOSCoordSeq_getXY_r(h, cs, k + 1, &x2, &y2);
            write_line(w, x1, y1, x2, y2);
        }
    }
}

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    Reader r;
    Writer w;
    if (!reader_open(r, argv[1])) return 1;
    // First pass: the designated circle.
    double cx = 0, cy = 0, cr = 1;
    std::string_view rec;
    bool next = false;
    while (read_record(r, rec)) {
        if (next && rec.substr(0, 2) == "ci") fields(rec, 2).lf(cx).lf(cy).lf(cr);
        next = rec.substr(0, 6) == "hhp1ci";
    }
    reader_close(r);
    GEOSContextHandle_t h = GEOS_init_r();
    GEOSCoordSequence* ring = GEOSCoordSeq_create_r(h, 257, 2);
    for (unsigned i = 0; i <= 256; ++i) {
        double a = 2 * 3.141592653589793 * (i % 256) / 256;
        GEOSCoordSeq_setXY_r(h, ring, i, cx + cr * std::cos(a), cy + cr * std::sin(a));
    }
    GEOSGeometry* poly =
        GEOSGeom_createPolygon_r(h, GEOSGeom_createLinearRing_r(h, ring), nullptr, 0);
    const GEOSPreparedGeometry* prep = GEOSPrepare_r(h, poly);
    if (!reader_open(r, argv[1]) || !writer_open(w, argv[2])) return 1;
    while (read_record(r, rec)) {
        if (rec.substr(0, 1) != " ") {
            put_record(w, rec);
            continue;
        }
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        fields(rec, 1).lf(x1).lf(y1).lf(x2).lf(y2);
        GEOSCoordSequence* cs = GEOSCoordSeq_create_r(h, 2, 2);
        GEOSCoordSeq_setXY_r(h, cs, 0, x1, y1);
        GEOSCoordSeq_setXY_r(h, cs, 1, x2, y2);
        GEOSGeometry* line = GEOSGeom_createLineString_r(h, cs);
        if (GEOSPreparedContains_r(h, prep, line)) {
        } else if (!GEOSPreparedIntersects_r(h, prep, line)) {
            write_line(w, x1, y1, x2, y2);
        } else if (GEOSGeometry* d = GEOSDifference_r(h, line, poly)) {
            write_pieces(h, w, d);
            GEOSGeom_destroy_r(h, d);
        }
        GEOSGeom_destroy_r(h, line);
    }
    reader_close(r);
    bool ok = writer_close(w);
    GEOSPreparedGeom_destroy_r(h, prep);
    GEOSGeom_destroy_r(h, poly);
    GEOS_finish_r(h);
    return ok ? 0 : 1;
}
