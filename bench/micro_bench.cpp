// Micro-benchmarks: the segment reader and the number writer on the numbers of the drawing that
// CE_DRAWING names, in file order, and segments clipped by circle_erase's clipper and by GEOS
// (a prepared polygon of 256 vertices): one that crosses, one outside, and the drawing's.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "boundary/boundary.h"
#include "clip/clip.h"
#include "driver/driver.h"
#include "exchange/output.h"
#include "geometry/geometry.h"
#include "geos_clip.h"
#include "text/fields.h"
#include "text/segment_record.h"
#include "text/streams.h"

namespace {

// The boundary of the generated drawings.
constexpr double CX = 1000.25, CY = 700.5, R = 200;

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

// The segment records of the drawing named by CE_DRAWING, in file order: their text, one
// after another, and their numbers, read as the main pass reads them.
struct Drawing {
    std::string text;              // the records, each with its LF
    std::vector<std::size_t> ends; // where each ends in text
    std::vector<Seg> segs;
};

const Drawing& drawing() {
    static Drawing d;
    static bool read = false;
    if (read) return d;
    read = true;
    Reader r;
    const char* name = std::getenv("CE_DRAWING");
    if (!name || !reader_open(r, name)) return d;
    std::string_view rec;
    while (read_record(r, rec)) {
        if (rec.empty() || rec[0] != ' ') continue;
        Segment s{};
        read_segment(rec, s);
        d.segs.push_back({s.x1, s.y1, s.x2, s.y2});
        d.text.append(rec);
        d.ends.push_back(d.text.size());
    }
    reader_close(r);
    return d;
}
const std::vector<Seg>& drawing_segments() { return drawing().segs; }

// Each iteration reads the next record of the drawing, in file order, so that its branches
// meet the drawing's own lengths and forms: with the main pass's reader, or a field at a time.
template <bool FAST> void read_drawing(benchmark::State& st) {
    const Drawing& d = drawing();
    if (d.ends.empty()) return st.SkipWithError("no segments: set CE_DRAWING");
    std::size_t i = 0, from = 0;
    for (auto _ : st) {
        std::string_view rec(d.text.data() + from, d.ends[i] - from);
        Segment s;
        if (FAST)
            read_segment(rec, s);
        else
            fields(rec, 1).lf(s.x1).lf(s.y1).lf(s.x2).lf(s.y2);
        benchmark::DoNotOptimize(s);
        from = d.ends[i];
        if (++i == d.ends.size()) i = from = 0;
    }
    st.SetItemsProcessed(st.iterations() * 4); // numbers
}
void ReadSegment(benchmark::State& st) { read_drawing<true>(st); }
void FieldsLf(benchmark::State& st) { read_drawing<false>(st); }
BENCHMARK(ReadSegment);
BENCHMARK(FieldsLf);

// The drawing's numbers at 13 decimals, in file order: those of the records kept whole, the
// most that a run writes.
void PutFixed13(benchmark::State& st) {
    const std::vector<Seg>& segs = drawing_segments();
    if (segs.empty()) return st.SkipWithError("no segments: set CE_DRAWING");
    char buf[400];
    std::size_t i = 0;
    for (auto _ : st) {
        const Seg& s = segs[i >> 2];
        double v = (i & 3) == 0 ? s.x1 : (i & 3) == 1 ? s.y1 : (i & 3) == 2 ? s.x2 : s.y2;
        benchmark::DoNotOptimize(put_fixed(buf, v, 13));
        benchmark::ClobberMemory();
        if (++i == segs.size() * 4) i = 0;
    }
    st.SetItemsProcessed(st.iterations()); // numbers
}
BENCHMARK(PutFixed13);

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
