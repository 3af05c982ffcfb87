// Micro-benchmarks: the field reader, the number writer, and the clipping of one segment by
// the clipper and by GEOS (a prepared polygon of 256 vertices).
#include <benchmark/benchmark.h>
#include <geos_c.h>

#include <cmath>
#include <string>

#include "boundary/boundary.h"
#include "clip/clip.h"
#include "driver/driver.h"
#include "exchange/fields.h"
#include "exchange/textio.h"
#include "geometry/geometry.h"

static void FieldReader(benchmark::State& st) {
    const std::string rec = " 512.125 730.5 498.875 744.25\n";
    double v[4];
    for (auto _ : st) {
        fields(rec, 1).lf(v[0]).lf(v[1]).lf(v[2]).lf(v[3]);
        benchmark::DoNotOptimize(v);
    }
    st.SetItemsProcessed(st.iterations() * 4);
}
BENCHMARK(FieldReader);

static void NumberWriter(benchmark::State& st) {
    char buf[400];
    double v = 512.125;
    for (auto _ : st) {
        benchmark::DoNotOptimize(put_fixed(buf, v, 13));
        v += 0.001;
    }
    st.SetItemsProcessed(st.iterations());
}
BENCHMARK(NumberWriter);

// The segment crosses the circle twice; both ends lie outside.
static const double X1 = 300, Y1 = 520, X2 = 700, Y2 = 480;

static void ClipOneSegment(benchmark::State& st) {
    reset_all();
    PAI = 3.141592653589793;
    K_CX = 500, K_CY = 500, K_CR = 150, K_CPT = {500, 500};
    Pre_del();
    std::string sink;
    for (auto _ : st) {
        writer_open_memory(fpw, sink);
        ILINE = {X1, Y1, X2, Y2};
        Del_c_l();
        writer_close(fpw);
        sink.clear();
    }
    st.SetItemsProcessed(st.iterations());
}
BENCHMARK(ClipOneSegment);

static void GeosOneSegment(benchmark::State& st) {
    GEOSContextHandle_t h = GEOS_init_r();
    GEOSCoordSequence* ring = GEOSCoordSeq_create_r(h, 257, 2);
    for (unsigned i = 0; i <= 256; ++i) {
        double a = 2 * 3.141592653589793 * (i % 256) / 256;
        GEOSCoordSeq_setXY_r(h, ring, i, 500 + 150 * std::cos(a), 500 + 150 * std::sin(a));
    }
    GEOSGeometry* poly =
        GEOSGeom_createPolygon_r(h, GEOSGeom_createLinearRing_r(h, ring), nullptr, 0);
    const GEOSPreparedGeometry* prep = GEOSPrepare_r(h, poly);
    for (auto _ : st) {
        GEOSCoordSequence* cs = GEOSCoordSeq_create_r(h, 2, 2);
        GEOSCoordSeq_setXY_r(h, cs, 0, X1, Y1);
        GEOSCoordSeq_setXY_r(h, cs, 1, X2, Y2);
        GEOSGeometry* line = GEOSGeom_createLineString_r(h, cs);
        if (GEOSPreparedIntersects_r(h, prep, line)) {
            GEOSGeometry* d = GEOSDifference_r(h, line, poly);
            benchmark::DoNotOptimize(d);
            GEOSGeom_destroy_r(h, d);
        }
        GEOSGeom_destroy_r(h, line);
    }
    GEOSPreparedGeom_destroy_r(h, prep);
    GEOSGeom_destroy_r(h, poly);
    GEOS_finish_r(h);
    st.SetItemsProcessed(st.iterations());
}
BENCHMARK(GeosOneSegment);
