#include "text/streams.h"

#include <bit>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

#include "os/os.h"
#include "text/fields.h"
#include "text/find_byte.h"

struct Block {
    char raw[BLOCK];
    PendingLine lines[BLOCK_LINES];
    std::size_t len, nlines;
    Writer* owner; // for the writer thread, which is handed the block alone
};

// Two blocks, so that one is gathered while the writer thread drains the other, and the stage
// of drained bytes on their way to the filter or the file, which is the thread's that drains.
// Allocated once at open, left uninitialised: pages that a writer never fills (the second
// block of one that is not handed off) cost no memory.
struct WriterBlocks {
    Block block[2];
    int gathering; // the block the writer fills
    char stage[IO_CHUNK];
    std::size_t staged;
};

static void reader_reset(Reader& r) {
    delete[] r.chunk;
    r.chunk = nullptr;
    r.f = nullptr;
    r.mem = nullptr;
    r.memlen = 0;
    r.buf = nullptr;
    r.pos = r.len = 0;
    r.line.clear();
    r.at_end = false;
    r.err = false;
    r.owned = false;
}

Reader::~Reader() { reader_close(*this); }

// Onto f from its start, in a chunk taken before: out of memory leaves no file open.
static bool start_reading(Reader& r, std::FILE* f) {
    if (std::fseek(f, 0, SEEK_SET) != 0) return false;
    std::clearerr(f);
    std::setvbuf(f, nullptr, _IONBF, 0); // we buffer ourselves
    r.f = f;
    r.buf = r.chunk;
    return true;
}

bool reader_open(Reader& r, const char* name) {
    reader_close(r);
    r.chunk = new char[IO_CHUNK];
    std::FILE* f = std::fopen(name, "rb");
    if (!f || !start_reading(r, f)) {
        if (f) std::fclose(f);
        reader_reset(r);
        return false;
    }
    r.owned = true;
    return true;
}

bool reader_open_stream(Reader& r, std::FILE* f) {
    reader_close(r);
    r.chunk = new char[IO_CHUNK];
    if (start_reading(r, f)) return true;
    reader_reset(r);
    return false;
}

void reader_open_memory(Reader& r, std::string_view bytes) {
    reader_close(r);
    r.mem = bytes.data();
    r.memlen = bytes.size();
}

// Refills the chunk; a 0x1A byte cuts the input short for good.
static bool refill(Reader& r) {
    if (r.at_end) return false;
    if (r.f) {
        r.len = std::fread(r.buf, 1, IO_CHUNK, r.f);
        if (r.len < IO_CHUNK) {
            if (std::ferror(r.f)) r.err = true;
            r.at_end = true;
        }
    } else {
        r.buf = const_cast<char*>(r.mem);
        r.len = r.memlen;
        r.at_end = true;
    }
    r.pos = 0;
    if (const char* z = find_byte(r.buf, r.buf + r.len, 0x1A)) {
        r.len = z - r.buf;
        r.at_end = true;
    }
    return r.len > 0;
}

// The line of n bytes at start, the chunk's up to r.pos, as a record: CR LF reads as LF, turned
// where it is in our own chunk, in r.line where the chunk is the caller's memory.
static std::string_view whole_line(Reader& r, const char* start, std::size_t n) {
    if (n < 2 || start[n - 2] != '\r') return std::string_view(start, n);
    if (r.f) {
        r.buf[r.pos - 2] = '\n';
        return std::string_view(start, n - 1);
    }
    r.line.assign(start, n - 2);
    r.line += '\n';
    return r.line;
}

bool read_record(Reader& r, std::string_view& rec) {
    r.line.clear();
    for (;;) {
        if (r.pos == r.len && !refill(r)) break;
        const char* start = r.buf + r.pos;
        std::size_t avail = r.len - r.pos;
        const char* nl = find_byte(start, start + avail, '\n');
        if (!nl) {
            r.line.append(start, avail);
            r.pos = r.len;
            continue;
        }
        std::size_t n = nl - start + 1;
        r.pos += n;
        if (r.line.empty()) {
            rec = whole_line(r, start, n);
            return true;
        }
        // CR LF reads as LF; a CR that is not followed by LF stays as it is.
        bool crlf = n >= 2 ? start[n - 2] == '\r' : r.line.back() == '\r';
        r.line.append(start, n);
        if (crlf) r.line.erase(r.line.size() - 2, 1);
        rec = r.line;
        return true;
    }
    if (r.line.empty()) return false;
    rec = r.line; // the last line, without a line end
    return true;
}

// Bit i of each mask for byte i of the 64 at p (zeros past end): line ends, the byte wanted
// first, the byte not wanted. Whole lines are passed over by counting bits, where a loop over
// each line would mispredict its end at every other length.
struct SkipMasks {
    std::uint64_t nl, first, absent;
};

static SkipMasks skip_masks(const char* p, const char* end, char first, char absent) {
    char tail[64];
    if (end - p < 64) {
        std::memset(tail, 0, sizeof tail); // neither LF nor, as the callers ask, a wanted byte
        std::memcpy(tail, p, static_cast<std::size_t>(end - p));
        p = tail;
    }
    SkipMasks k{0, 0, 0};
#if defined(__SSE2__) || defined(_M_X64)
    for (int at = 0; at < 64; at += 16) {
        __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
        auto bits = [&](char c) {
            int m = _mm_movemask_epi8(_mm_cmpeq_epi8(x, _mm_set1_epi8(c)));
            return static_cast<std::uint64_t>(static_cast<unsigned>(m)) << at;
        };
        k.nl |= bits('\n');
        k.first |= bits(first);
        k.absent |= bits(absent);
    }
#else
    for (int i = 0; i < 64; ++i) {
        k.nl |= std::uint64_t{p[i] == '\n'} << i;
        k.first |= std::uint64_t{p[i] == first} << i;
        k.absent |= std::uint64_t{p[i] == absent} << i;
    }
#endif
    return k;
}

static int highest(std::uint64_t v) { return 63 - std::countl_zero(v); }

std::size_t skip_records(Reader& r, char first, char absent, std::string_view& last) {
    const char* const from = r.buf + r.pos;
    const char* const end = r.buf + r.len;
    const char *p = from, *last_nl = nullptr, *before = nullptr; // the last two line ends
    std::size_t count = 0;
    std::uint64_t starts_line = 1; // the byte at p begins a line
    for (; p < end; p += 64) {
        SkipMasks k = skip_masks(p, end, first, absent);
        // A line that begins with another byte, or a byte not wanted: the lines before it go.
        std::uint64_t stop = ((k.nl << 1 | starts_line) & ~k.first) | k.absent;
        std::uint64_t nl = stop ? k.nl & ((stop & -stop) - 1) : k.nl;
        if (nl) {
            count += static_cast<std::size_t>(std::popcount(nl));
            before = nl & (nl - 1) ? p + highest(nl & ~(std::uint64_t{1} << highest(nl))) : last_nl;
            last_nl = p + highest(nl);
        }
        if (stop) break;
        starts_line = k.nl >> 63;
    }
    if (count == 0) return 0;
    const char* start = before ? before + 1 : from;
    std::size_t n = static_cast<std::size_t>(last_nl - start) + 1;
    r.pos = static_cast<std::size_t>(last_nl + 1 - r.buf);
    last = whole_line(r, start, n);
    return count;
}

bool reader_close(Reader& r) {
    bool ok = !r.err;
    if (r.f && r.owned) std::fclose(r.f);
    reader_reset(r);
    return ok;
}

static void gather_into(Writer& w, int block) {
    w.blocks->gathering = block;
    w.buf = w.blocks->block[block].raw;
    w.lines = w.blocks->block[block].lines;
    w.len = w.nlines = 0;
}

// Closed: nothing open, nothing owned, nothing put.
static void writer_reset(Writer& w) {
    w.f = nullptr;
    w.mem = nullptr;
    w.err = false;
    w.filter.reset();
    w.durable = false;
    w.written = w.synced = 0;
    w.handed_off = false;
    delete w.blocks;
    w.blocks = nullptr;
    w.buf = nullptr;
    w.lines = nullptr;
    w.len = w.nlines = 0;
}

// Blocks taken before the file is created: out of memory leaves no file open.
static void writer_start(Writer& w) {
    writer_abandon(w);
    w.blocks = new WriterBlocks;
    w.blocks->block[0].owner = w.blocks->block[1].owner = &w;
    w.blocks->staged = 0;
    gather_into(w, 0);
}

Writer::~Writer() { writer_abandon(*this); }

bool writer_open(Writer& w, const char* name) {
    writer_start(w);
    w.f = create_new(name);
    if (!w.f) {
        writer_reset(w);
        return false;
    }
    std::setvbuf(w.f, nullptr, _IONBF, 0);
    return true;
}

void writer_open_memory(Writer& w, std::string& sink) {
    writer_start(w);
    w.mem = &sink;
}

void write_through(Writer& w, std::string_view bytes) {
    if (bytes.empty()) return;
    if (w.f) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), w.f) != bytes.size()) w.err = true;
        w.written += bytes.size();
        // The disk works while the pass goes on, instead of all of it at the final sync.
        constexpr unsigned long long STEP = 8ull << 20;
        if (w.durable && w.written - w.synced >= STEP) {
            sync_in_background(w.f);
            w.synced = w.written;
        }
    } else if (w.mem) {
        w.mem->append(bytes);
    }
}

static void emit_stage(Writer& w) {
    WriterBlocks& k = *w.blocks;
    if (k.staged == 0) return;
    std::string_view bytes(k.stage, k.staged);
    if (w.filter)
        w.filter->pass(w, bytes, false);
    else
        write_through(w, bytes);
    k.staged = 0;
}

// k is w's blocks, taken once by the caller's loop.
static void stage_bytes(Writer& w, WriterBlocks& k, const char* p, std::size_t n) {
    while (n > 0) {
        if (k.staged == IO_CHUNK) emit_stage(w);
        std::size_t m = IO_CHUNK - k.staged < n ? IO_CHUNK - k.staged : n;
        std::memcpy(k.stage + k.staged, p, m);
        k.staged += m;
        p += m;
        n -= m;
    }
}

static void stage_line(Writer& w, WriterBlocks& k, const PendingLine& line) {
    constexpr std::size_t MOST = 4 * (1 + FIXED_MOST) + 2;
    if (IO_CHUNK - k.staged < MOST) emit_stage(w);
    char* o = k.stage + k.staged;
    for (double v : line.v) {
        *o++ = ' ';
        o = put_fixed(o, v, 13);
    }
    *o++ = '\r';
    *o++ = '\n';
    k.staged = o - k.stage;
}

// A block's bytes in order, with its segment lines written where they stand.
static void drain(Writer& w, const Block& b) {
    WriterBlocks& s = *w.blocks;
    std::size_t from = 0;
    for (std::size_t k = 0; k < b.nlines; ++k) {
        stage_bytes(w, s, b.raw + from, b.lines[k].at - from);
        stage_line(w, s, b.lines[k]);
        from = b.lines[k].at;
    }
    stage_bytes(w, s, b.raw + from, b.len - from);
}

// On the writer thread, while the writer gathers the other block. Out of memory in the filter
// must not end the process from this thread: the writer fails, and what it drains from then on
// is dropped.
static void drain_handed(const void* block) {
    const Block& b = *static_cast<const Block*>(block);
    Writer& w = *b.owner;
    if (w.err) return;
    try {
        drain(w, b);
    } catch (...) { w.err = true; }
}

#ifdef CE_INLINE_WRITER
constexpr bool WRITER_THREAD = false; // a benchmark's twin: every block is drained in line
#else
constexpr bool WRITER_THREAD = true;
#endif

void hand_off(Writer& w) {
    if (!WRITER_THREAD || !w.f || w.handed_off) return;
    // Without the thread the blocks are drained here, as without threads.
    w.handed_off = start_worker(drain_handed);
}

static void flush(Writer& w) {
    if (w.len == 0 && w.nlines == 0) return;
    Block& b = w.blocks->block[w.blocks->gathering];
    b.len = w.len;
    b.nlines = w.nlines;
    if (w.handed_off) {
        hand_to_worker(&b);
        gather_into(w, w.blocks->gathering ^ 1);
        return;
    }
    drain(w, b);
    gather_into(w, w.blocks->gathering);
}

static void put_bytes(Writer& w, const char* p, std::size_t n) {
    if (n <= BLOCK - w.len) {
        std::memcpy(w.buf + w.len, p, n);
        w.len += n;
        return;
    }
    while (n > 0) {
        if (w.len == BLOCK) flush(w);
        std::size_t k = BLOCK - w.len < n ? BLOCK - w.len : n;
        std::memcpy(w.buf + w.len, p, k);
        w.len += k;
        p += k;
        n -= k;
    }
}

void put_text(Writer& w, std::string_view text) {
    if (!w.buf) return;
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const char* nl = find_byte(p, end, '\n');
        if (!nl) {
            put_bytes(w, p, end - p);
            return;
        }
        put_bytes(w, p, nl - p);
        put_bytes(w, "\r\n", 2);
        p = nl + 1;
    }
}

// A record holds no LF before its end, so only its end needs turning into CR LF.
void put_record(Writer& w, std::string_view rec) {
    if (!w.buf) return;
    if (!rec.empty() && rec.back() == '\n') rec.remove_suffix(1);
    put_bytes(w, rec.data(), rec.size());
    put_bytes(w, "\r\n", 2);
}

void put_segment_line(Writer& w, double x1, double y1, double x2, double y2) {
    if (!w.buf) return;
    if (w.nlines == BLOCK_LINES) flush(w);
    w.lines[w.nlines++] = {{x1, y1, x2, y2}, w.len};
}

bool writer_close(Writer& w, bool sync) {
    if (w.buf) {
        flush(w);
        if (w.handed_off) {
            end_worker();
            w.handed_off = false;
        }
        if (!w.err) emit_stage(w);
    }
    if (w.filter && !w.err) w.filter->pass(w, {}, true);
    if (w.durable && !end_background_sync(w.f)) w.err = true;
    w.durable = false;
    if (w.f) {
        if (std::fflush(w.f) != 0) w.err = true;
        if (sync && !w.err && !sync_file(w.f)) w.err = true;
        if (std::fclose(w.f) != 0) w.err = true;
        w.f = nullptr;
    }
    bool ok = !w.err;
    writer_abandon(w);
    return ok;
}

void writer_abandon(Writer& w) {
    if (w.handed_off) end_worker(); // before its blocks go
    if (w.durable) end_background_sync(w.f);
    if (w.f) std::fclose(w.f);
    writer_reset(w);
}
