#include "exchange/textio.h"

#include <cstring>

#include "exchange/platform.h"

Reader fp;
Writer fpw;

// One buffer each: a pass has one input and one output open at a time.
static char in_chunk[IO_CHUNK];
static char out_chunk[IO_CHUNK];

static void reader_reset(Reader& r) {
    r.f = nullptr;
    r.mem = nullptr;
    r.memlen = 0;
    r.buf = nullptr;
    r.pos = r.len = 0;
    r.line.clear();
    r.at_end = false;
    r.err = false;
}

bool reader_open(Reader& r, const char* name) {
    reader_reset(r);
    r.f = std::fopen(name, "rb");
    if (!r.f) return false;
    std::setvbuf(r.f, nullptr, _IONBF, 0); // we buffer ourselves
    r.buf = in_chunk;
    return true;
}

void reader_open_memory(Reader& r, std::string_view bytes) {
    reader_reset(r);
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
    if (const void* z = std::memchr(r.buf, 0x1A, r.len)) {
        r.len = static_cast<const char*>(z) - r.buf;
        r.at_end = true;
    }
    return r.len > 0;
}

bool read_record(Reader& r, std::string_view& rec) {
    r.line.clear();
    for (;;) {
        if (r.pos == r.len && !refill(r)) break;
        const char* start = r.buf + r.pos;
        std::size_t avail = r.len - r.pos;
        const char* nl = static_cast<const char*>(std::memchr(start, '\n', avail));
        if (!nl) {
            r.line.append(start, avail);
            r.pos = r.len;
            continue;
        }
        std::size_t n = nl - start + 1;
        r.pos += n;
        // CR LF reads as LF; a CR that is not followed by LF stays as it is.
        bool crlf = n >= 2 ? start[n - 2] == '\r' : (!r.line.empty() && r.line.back() == '\r');
        if (r.line.empty() && !crlf) {
            rec = std::string_view(start, n);
            return true;
        }
        r.line.append(start, n);
        if (crlf) r.line.erase(r.line.size() - 2, 1);
        rec = r.line;
        return true;
    }
    if (r.line.empty()) return false;
    rec = r.line; // the last line, without a line end
    return true;
}

bool reader_close(Reader& r) {
    bool ok = !r.err;
    if (r.f) std::fclose(r.f);
    reader_reset(r);
    return ok;
}

bool writer_open(Writer& w, const char* name) {
    w.mem = nullptr;
    w.len = 0;
    w.err = false;
    w.filter = nullptr;
    w.durable = false;
    w.written = w.synced = 0;
    w.f = std::fopen(name, "wb");
    if (!w.f) return false;
    std::setvbuf(w.f, nullptr, _IONBF, 0);
    w.buf = out_chunk;
    return true;
}

void writer_open_memory(Writer& w, std::string& sink) {
    w.f = nullptr;
    w.mem = &sink;
    w.len = 0;
    w.err = false;
    w.filter = nullptr;
    w.buf = out_chunk;
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

static void flush(Writer& w) {
    if (w.len == 0) return;
    std::string_view bytes(w.buf, w.len);
    if (w.filter)
        w.filter(w, bytes, false);
    else
        write_through(w, bytes);
    w.len = 0;
}

static void put_bytes(Writer& w, const char* p, std::size_t n) {
    if (n <= IO_CHUNK - w.len) {
        std::memcpy(w.buf + w.len, p, n);
        w.len += n;
        return;
    }
    while (n > 0) {
        if (w.len == IO_CHUNK) flush(w);
        std::size_t k = IO_CHUNK - w.len < n ? IO_CHUNK - w.len : n;
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
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', end - p));
        if (!nl) {
            put_bytes(w, p, end - p);
            return;
        }
        put_bytes(w, p, nl - p);
        put_bytes(w, "\r\n", 2);
        p = nl + 1;
    }
}

void put_raw(Writer& w, std::string_view bytes) {
    if (w.buf) put_bytes(w, bytes.data(), bytes.size());
}

// A record holds no LF before its end, so only its end needs turning into CR LF.
void put_record(Writer& w, std::string_view rec) {
    if (!w.buf) return;
    if (!rec.empty() && rec.back() == '\n') rec.remove_suffix(1);
    put_bytes(w, rec.data(), rec.size());
    put_bytes(w, "\r\n", 2);
}

bool writer_close(Writer& w, bool sync) {
    if (w.buf) flush(w);
    if (w.filter) w.filter(w, {}, true);
    if (w.durable && !end_background_sync(w.f)) w.err = true;
    if (w.f) {
        if (std::fflush(w.f) != 0) w.err = true;
        if (sync && !w.err && !sync_file(w.f)) w.err = true;
        if (std::fclose(w.f) != 0) w.err = true;
    }
    bool ok = !w.err;
    w.f = nullptr;
    w.mem = nullptr;
    w.buf = nullptr;
    w.len = 0;
    w.filter = nullptr;
    w.durable = false;
    return ok;
}
