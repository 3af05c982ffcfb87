// Micro-benchmarks: the field reader and the number writer on typical coordinates, and
// segments clipped by circle_erase's clipper and by GEOS (a prepared polygon of 256 vertices):
// one that crosses, one outside, and those of the drawing that CE_DRAWING names.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "boundary/boundary.h"
#include "clip/clip.h"
#include "driver/driver.h"
#include "exchange/fields.h"
#include "exchange/textio.h"
#include "geometry/geometry.h"
#include "geos_clip.h"

namespace {

// The boundary of the generated drawings.
constexpr double CX = 1000.25, CY = 700.5, R = 200;

// Coordinates as the host writes them: up to three decimals.
std::vector<std::string> typical_records() {
    std::vector<std::string> recs;
    unsigned s = 12345;
    auto next = [&] { return (s = s * 1103515245u + 12345u) >> 8; };
    for (int i = 0; i < 256; ++i) {
        char b[128];
        std::snprintf(b, sizeof b, " %u.%03u %u.%u %u.%02u %u\n", next() % 2000, next() % 1000,
                      next() % 1400, next() % 10, next() % 2000, next() % 100, next() % 1400);
        recs.emplace_back(b);
    }
    return recs;
}

void FieldsLf(benchmark::State& st) {
    const std::vector<std::string> recs = typical_records();
    double v[4];
    std::size_t i = 0;
    for (auto _ : st) {
        fields(recs[i++ & 255], 1).lf(v[0]).lf(v[1]).lf(v[2]).lf(v[3]);
        benchmark::DoNotOptimize(v);
    }
    st.SetItemsProcessed(st.iterations() * 4); // numbers
}
BENCHMARK(FieldsLf);

// Half read from three-decimal text, half cut points with every bit in use.
void PutFixed13(benchmark::State& st) {
    std::vector<double> values;
    for (const std::string& r : typical_records()) {
        double a = 0, b = 0;
        fields(r, 1).lf(a).lf(b);
        values.push_back(a);
        values.push_back(a / 3.7 + b / 11.3);
    }
    char buf[400];
    std::size_t i = 0;
    for (auto _ : st) {
        benchmark::DoNotOptimize(put_fixed(buf, values[i++ & 511], 13));
        benchmark::ClobberMemory();
    }
    st.SetItemsProcessed(st.iterations()); // numbers
}
BENCHMARK(PutFixed13);

struct Seg {
    double x1, y1, x2, y2;
};
const Seg CROSSING = {700.125, 720.5, 1300.75, 690.25}; // enters and leaves: two pieces kept
const Seg OUTSIDE = {100.5, 100.25, 130.125, 112.875};  // most of a drawing: kept whole

// The boundary designated and set up as the pre-scan and the first comment record leave it.
void designate_boundary() {
    reset_all();
    gomi = 0.00025;
    K_CX = CX, K_CY = CY, K_CR = R, K_SK = 0, K_EK = 0, K_HP = 0, K_JK = 0;
    K_CPT = {CX, CY};
    ::CX = CX, ::CY = CY, CR = R;
    Pole_set({CX - R, CY - R});
    iMode = 1;
    if (Pre_del() != 0) std::abort();
}

// The segment records of the drawing named by CE_DRAWING, read as the main pass reads them.
const std::vector<Seg>& drawing_segments() {
    static std::vector<Seg> segs;
    static bool read = false;
    if (read) return segs;
    read = true;
    Reader r;
    const char* name = std::getenv("CE_DRAWING");
    if (!name || !reader_open(r, name)) return segs;
    std::string_view rec;
    while (read_record(r, rec)) {
        if (rec.empty() || rec[0] != ' ') continue;
        Seg s{};
        fields(rec, 1).lf(s.x1).lf(s.y1).lf(s.x2).lf(s.y2);
        segs.push_back(s);
    }
    reader_close(r);
    return segs;
}

// Each iteration clips the next of the segments.
void clip_ours(benchmark::State& st, const std::vector<Seg>& segs) {
    if (segs.empty()) return st.SkipWithError("no segments: set CE_DRAWING");
    designate_boundary();
    for (const Seg& s : segs) {
        Pole_set({s.x1, s.y1});
        Pole_set({s.x2, s.y2});
    }
    std::string sink;
    writer_open_memory(fpw, sink);
    std::size_t i = 0;
    for (auto _ : st) {
        const Seg& s = segs[i++ % segs.size()];
        ILINE = {s.x1, s.y1, s.x2, s.y2};
        Del_c_l();
        if (sink.size() > (8u << 20)) sink.clear(); // the writer hands over a block at a time
    }
    writer_close(fpw);
    st.SetItemsProcessed(st.iterations()); // segments
}

// write: the pieces formatted into a memory sink as ours are, else only computed.
void clip_geos(benchmark::State& st, const std::vector<Seg>& segs, bool write) {
    if (segs.empty()) return st.SkipWithError("no segments: set CE_DRAWING");
    GeosRegion g = geos_region(CX, CY, R);
    std::string sink;
    Writer w;
    writer_open_memory(w, sink);
    std::size_t i = 0;
    for (auto _ : st) {
        const Seg& s = segs[i++ % segs.size()];
        benchmark::DoNotOptimize(geos_clip(g, write ? &w : nullptr, s.x1, s.y1, s.x2, s.y2));
        if (sink.size() > (8u << 20)) sink.clear();
    }
    writer_close(w);
    geos_region_free(g);
    st.SetItemsProcessed(st.iterations());
}

const std::vector<Seg> CROSSINGS = {CROSSING}, OUTSIDES = {OUTSIDE};
void ClipCrossing_circle_erase(benchmark::State& st) { clip_ours(st, CROSSINGS); }
void ClipCrossing_GEOS_written(benchmark::State& st) { clip_geos(st, CROSSINGS, true); }
void ClipCrossing_GEOS_computed(benchmark::State& st) { clip_geos(st, CROSSINGS, false); }
void ClipOutside_circle_erase(benchmark::State& st) { clip_ours(st, OUTSIDES); }
void ClipOutside_GEOS_written(benchmark::State& st) { clip_geos(st, OUTSIDES, true); }
void ClipDrawing_circle_erase(benchmark::State& st) { clip_ours(st, drawing_segments()); }
void ClipDrawing_GEOS_written(benchmark::State& st) { clip_geos(st, drawing_segments(), true); }
void ClipDrawing_GEOS_computed(benchmark::State& st) { clip_geos(st, drawing_segments(), false); }
BENCHMARK(ClipCrossing_circle_erase);
BENCHMARK(ClipCrossing_GEOS_written);
BENCHMARK(ClipCrossing_GEOS_computed);
BENCHMARK(ClipOutside_circle_erase);
BENCHMARK(ClipOutside_GEOS_written);
BENCHMARK(ClipDrawing_circle_erase);
BENCHMARK(ClipDrawing_GEOS_written);
BENCHMARK(ClipDrawing_GEOS_computed);

} // namespace
