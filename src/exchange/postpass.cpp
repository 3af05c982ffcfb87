#include "exchange/postpass.h"
#include "exchange/output.h"

#include <cstring>
#include <memory>
#include <string>

#include "os/os.h"
#include "text/find_byte.h"

// A "pl" line loses its marker when its block is a single segment: the line, at most two "z"
// lines, one " " line, then "#". Lines are held back only while that may still come; the
// rest goes out in runs as it came. Each writer's check has its state of its own, used by the
// thread that drains the writer.
namespace {
struct MarkerCheck final : Filter {
    std::string held;        // the "pl" line and the lines after it
    std::size_t pl_end = 0;  // where the "pl" line ends in held; 0 while it is not complete
    int zs = 0;              // "z" lines held
    bool segment = false;    // the " " line is held
    bool to_held = false;    // the current line goes to held, else out
    std::size_t in_line = 0; // bytes of the current line seen
    bool lone_p = false;     // the current line's first byte, 'p', is kept back for its second
    std::string out;         // small pieces gathered into one write

    MarkerCheck() { out.reserve(IO_CHUNK); } // its most, so that it never grows on the way
    void pass(Writer& w, std::string_view bytes, bool last) override;
};
} // namespace

// Pieces go out in order; only large ones are written straight from where they are.
static void send(MarkerCheck& mc, Writer& w, std::string_view bytes) {
    constexpr std::size_t BIG = 1 << 16;
    if (mc.out.size() + bytes.size() > IO_CHUNK || (bytes.size() >= BIG && !mc.out.empty())) {
        write_through(w, mc.out);
        mc.out.clear();
    }
    if (bytes.size() >= BIG)
        write_through(w, bytes);
    else
        mc.out.append(bytes);
}

static void release(MarkerCheck& mc, Writer& w) {
    send(mc, w, mc.held);
    mc.held.clear();
}

// Decides where the line that starts with c0 c1 goes; c1 is '\0' for a line of one byte.
static void line_starts(MarkerCheck& mc, Writer& w, char c0, char c1) {
    if (!mc.held.empty()) {
        if (mc.segment && c0 == '#') {
            send(mc, w, "#pl\r\n");
            send(mc, w, std::string_view(mc.held).substr(mc.pl_end));
            mc.held.clear();
            mc.to_held = false;
            return;
        }
        if (!mc.segment && (c0 == ' ' || (c0 == 'z' && mc.zs < 2))) {
            if (c0 == ' ')
                mc.segment = true;
            else
                ++mc.zs;
            mc.to_held = true;
            return;
        }
        release(mc, w);
    }
    mc.to_held = c0 == 'p' && c1 == 'l';
    if (mc.to_held) mc.pl_end = 0, mc.zs = 0, mc.segment = false;
}

// While nothing is held only a line that starts with 'p' matters: the next such line start at
// or after p, or end, keeping count of the bytes into the current line.
static const char* next_p_line(MarkerCheck& mc, const char* p, const char* end) {
    for (const char* q = p;; ++q) {
        q = find_byte(q, end, 'p');
        if (!q) break;
        if (q == p ? mc.in_line == 0 : q[-1] == '\n') {
            mc.in_line = 0;
            return q;
        }
    }
    const char* e = end;
    while (e > p && e[-1] != '\n') --e;
    mc.in_line = e > p ? end - e : mc.in_line + (end - p);
    return end;
}

void MarkerCheck::pass(Writer& w, std::string_view bytes, bool last) {
    MarkerCheck& mc = *this;
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    const char* run = p; // start of the bytes going out as they are
    auto end_run = [&] {
        send(mc, w, std::string_view(run, p - run));
        run = p;
    };
    if (mc.lone_p && (p < end || last)) {
        mc.lone_p = false;
        line_starts(mc, w, 'p', p < end ? *p : '\0');
        if (mc.to_held)
            mc.held.push_back('p');
        else
            send(mc, w, "p");
    }
    while (p < end) {
        if (mc.held.empty() && (mc.in_line > 0 || *p != 'p')) {
            p = next_p_line(mc, p, end);
            if (p == end) break;
        }
        if (mc.in_line == 0) {
            if (end - p == 1 && *p == 'p' && !last) { // its second byte comes later
                end_run();
                mc.lone_p = true;
                mc.in_line = 1;
                run = ++p;
                break;
            }
            line_starts(mc, w, *p, end - p > 1 ? p[1] : '\0');
            if (mc.to_held) end_run(); // what went out before it
        }
        const char* nl = find_byte(p, end, '\n');
        const char* stop = nl ? nl + 1 : end;
        if (mc.to_held) {
            mc.held.append(p, stop - p);
            run = stop;
        }
        mc.in_line = nl ? 0 : mc.in_line + (stop - p);
        if (nl && mc.to_held && mc.pl_end == 0) mc.pl_end = mc.held.size();
        p = stop;
    }
    end_run();
    if (!last) return;
    release(mc, w);
    if (mc.in_line > 0) send(mc, w, "\r\n"); // the last line lacked its line end
    write_through(w, mc.out);
    mc.out.clear();
    mc.in_line = 0;
}

void check_markers(Writer& w) { w.filter = std::make_unique<MarkerCheck>(); }

bool open_new_exchange() {
    // The host's file is replaced only by a complete copy that has reached the disk.
    if (!writer_open(fpw, NEW_NAME)) return false;
    copy_mode(EXCHANGE_NAME, fpw.f);
    check_markers(fpw);
    fpw.durable = true;
    hand_off(fpw);
    return true;
}

bool close_new_exchange(bool ok) {
    ok = writer_close(fpw, true) && ok;
    if (ok && rename_replace(NEW_NAME, EXCHANGE_NAME)) return true;
    remove_file(NEW_NAME);
    return false;
}

bool ChkPL() {
    if (!reader_open(fp, WORK_NAME)) return false;
    if (!open_new_exchange()) {
        reader_close(fp);
        return false;
    }
    std::string_view rec;
    while (read_record(fp, rec)) put_record(fpw, rec);
    return close_new_exchange(reader_close(fp));
}
