// geos_peer IN OUT [all]: the same job written with GEOS, for comparison. The segment records of
// IN are clipped against the designated circle and their outside pieces written to OUT with
// circle_erase's reader and number code; every other record is copied. One pass over the body.
// With "all", the job of -a: the closed circles of the body are boundaries too, in an STRtree;
// each segment is cut by the union of the circles whose box it meets.
#include <array>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "geos_clip.h"

namespace {

struct Disc {
    GEOSGeometry* poly;
    const GEOSPreparedGeometry* prep;
};

void collect(void* item, void* found) {
    static_cast<std::vector<Disc*>*>(found)->push_back(static_cast<Disc*>(item));
}

// Every body circle the tool takes as a boundary in this drawing: short form, or the long form
// closed with ratio 1.
bool closed_circle(std::string_view rec, double& x, double& y, double& r) {
    double sk = 0, ek = 360, hp = 0, jk = 0;
    if (!fields(rec, 2).lf(x).lf(y).lf(r).ok) return false;
    fields(rec, 2).lf(x).lf(y).lf(r).lf(sk).lf(ek).lf(hp).lf(jk);
    return r >= 0.00025 && (hp == 0 || hp == 1) && (sk == ek || (sk == 0 && ek == 360));
}

int run_all(const char* in, const char* out) {
    GEOSContextHandle_t h = GEOS_init_r();
    std::vector<Disc> discs;
    Reader r;
    std::string_view rec;
    if (!reader_open(r, in)) return 1;
    bool body = false, marker = false;
    std::vector<std::array<double, 3>> found;
    while (read_record(r, rec)) {
        double x = 0, y = 0, cr = 0;
        if (rec.substr(0, 2) == "ci" && (marker || body) && closed_circle(rec, x, y, cr))
            found.push_back({x, y, cr});
        marker = rec.substr(0, 6) == "hhp1ci";
        body = body || rec.substr(0, 1) == "#";
    }
    reader_close(r);
    discs.reserve(found.size());
    GEOSSTRtree* tree = GEOSSTRtree_create_r(h, 10);
    for (const auto& c : found) {
        GEOSGeometry* poly = geos_disc(h, c[0], c[1], c[2]);
        discs.push_back({poly, GEOSPrepare_r(h, poly)});
    }
    for (Disc& d : discs) GEOSSTRtree_insert_r(h, tree, d.poly, &d);

    Writer w;
    if (!reader_open(r, in) || !writer_open(w, out)) return 1;
    std::vector<Disc*> hits;
    std::vector<GEOSGeometry*> parts;
    while (read_record(r, rec)) {
        if (rec.empty() || rec[0] != ' ') {
            put_record(w, rec);
            continue;
        }
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        fields(rec, 1).lf(x1).lf(y1).lf(x2).lf(y2);
        GEOSCoordSequence* cs = GEOSCoordSeq_create_r(h, 2, 2);
        GEOSCoordSeq_setXY_r(h, cs, 0, x1, y1);
        GEOSCoordSeq_setXY_r(h, cs, 1, x2, y2);
        GEOSGeometry* line = GEOSGeom_createLineString_r(h, cs);
        hits.clear();
        GEOSSTRtree_query_r(h, tree, line, collect, &hits);
        // Only the circles the line meets, not those whose box it meets, go into the union.
        std::erase_if(hits,
                      [&](Disc* d) { return GEOSPreparedIntersects_r(h, d->prep, line) != 1; });
        if (hits.empty()) {
            geos_put_segment(w, x1, y1, x2, y2);
        } else if (hits.size() == 1) {
            GeosRegion one{h, hits[0]->poly, hits[0]->prep};
            geos_clip(one, &w, x1, y1, x2, y2);
        } else {
            parts.clear();
            for (Disc* d : hits) parts.push_back(GEOSGeom_clone_r(h, d->poly));
            GEOSGeometry* all = GEOSGeom_createCollection_r(
                h, GEOS_GEOMETRYCOLLECTION, parts.data(), static_cast<unsigned>(parts.size()));
            GEOSGeometry* u = GEOSUnaryUnion_r(h, all);
            if (GEOSGeometry* d = u ? GEOSDifference_r(h, line, u) : nullptr) {
                int n = GEOSGetNumGeometries_r(h, d);
                for (int i = 0; i < n; ++i) {
                    const GEOSCoordSequence* ps =
                        GEOSGeom_getCoordSeq_r(h, GEOSGetGeometryN_r(h, d, i));
                    unsigned size = 0;
                    if (!ps || !GEOSCoordSeq_getSize_r(h, ps, &size)) continue;
                    for (unsigned k = 0; k + 1 < size; ++k) {
                        double a, b, c, e;
                        GEOSCoordSeq_getXY_r(h, ps, k, &a, &b);
                        GEOSCoordSeq_getXY_r(h, ps, k + 1, &c, &e);
                        geos_put_segment(w, a, b, c, e);
                    }
                }
                GEOSGeom_destroy_r(h, d);
            }
            if (u) GEOSGeom_destroy_r(h, u);
            GEOSGeom_destroy_r(h, all);
        }
        GEOSGeom_destroy_r(h, line);
    }
    bool ok = reader_close(r);
    ok = writer_close(w) && ok;
    GEOSSTRtree_destroy_r(h, tree);
    for (Disc& d : discs) {
        GEOSPreparedGeom_destroy_r(h, d.prep);
        GEOSGeom_destroy_r(h, d.poly);
    }
    GEOS_finish_r(h);
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[3], "all") == 0) return run_all(argv[1], argv[2]);
    if (argc != 3) {
        std::fputs("usage: geos_peer IN OUT [all]\n", stderr);
        return 2;
    }
    Reader r;
    Writer w;
    if (!reader_open(r, argv[1])) return 1;
    // The boundary is the circle record after the marker, in the header.
    double cx = 0, cy = 0, cr = 0;
    std::string_view rec;
    bool marker = false, found = false;
    while (!found && read_record(r, rec)) {
        if (marker && rec.substr(0, 2) == "ci") found = fields(rec, 2).lf(cx).lf(cy).lf(cr).ok;
        marker = rec.substr(0, 6) == "hhp1ci";
    }
    reader_close(r);
    if (!found || !(cr > 0)) return 1;

    GeosRegion g = geos_region(cx, cy, cr);
    if (!reader_open(r, argv[1]) || !writer_open(w, argv[2])) return 1;
    while (read_record(r, rec)) {
        if (rec.empty() || rec[0] != ' ') {
            put_record(w, rec);
            continue;
        }
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        fields(rec, 1).lf(x1).lf(y1).lf(x2).lf(y2);
        geos_clip(g, &w, x1, y1, x2, y2);
    }
    bool ok = reader_close(r);
    ok = writer_close(w) && ok;
    geos_region_free(g);
    return ok ? 0 : 1;
}
