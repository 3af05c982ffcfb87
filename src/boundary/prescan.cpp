#include <cstring>
#include <string>

#include "boundary/boundary.h"
#include "boundary/circles.h"
#include "exchange/attributes.h"
#include "exchange/output.h"
#include "exchange/record.h"
#include "exchange/settings.h"
#include "text/fields.h"
#include "text/find_byte.h"
#include "text/segment_record.h"
#include "text/streams.h"

int __SPCNT(std::string_view text) {
    int n = 0;
    std::size_t len = text.size() < 512 ? text.size() : 512;
    for (std::size_t i = 0; i < len; ++i) {
        char c = text[i];
        if (c == '\0' || c == '\r' || c == '\n') break;
        if (c == ' ') ++n;
    }
    return n;
}

bool read_circle(std::string_view line) {
    if (__SPCNT(line.substr(2)) == 3) {
        // A short form is a full circle: it must not inherit an earlier arc's angles.
        SK = EK = HP = JK = 0;
        CIRCLE_WHOLE = fields(line, 2).lf(CX).lf(CY).lf(CR).count == 3;
        return true;
    }
    SK = 0, EK = 360, HP = 0, JK = 0;
    CIRCLE_WHOLE = fields(line, 2).lf(CX).lf(CY).lf(CR).lf(SK).lf(EK).lf(HP).lf(JK).count == 7;
    return false;
}

// The circle record after the marker is the boundary.
static void circle_record(std::string_view line, long long number) {
    if (boundary_circle(read_circle(line))) add_circle();
    if (number == HHP_FIND[1] + 1) {
        K_CX = CX, K_CY = CY, K_CR = CR, K_SK = SK, K_EK = EK, K_HP = HP, K_JK = JK;
        K_CPT = {CX, CY};
    }
    Pole_set({CX - CR, CY - CR});
}

static void first_comment() {
    SHARP = 0;
    // Only sixteen groups have a scale; any other group draws at scale 1.
    scale = GROUP >= 0 && GROUP < 16 ? G_SCALE[GROUP] : 1.0;
    gomi = scale * GOMI_UNIT;
    Pole_set({HN[0], HN[1]});
    Pole_set({HN[2], HN[3]});
}

// The tags are tried in this order; the first byte picks the ones that can match.
int Pre_pro(std::string_view line, long long number) {
    if (read_attribute(line, true)) return 0;
    auto is = [&](std::string_view tag) { return line.substr(0, tag.size()) == tag; };
    switch (line.empty() ? '\0' : line[0]) {
    case 'h':
        if (is("hhp1ci")) {
            HHP_FIND[1] = number;
        } else if (is("hs")) {
            Fields f = fields(line, 3);
            for (double& s : G_SCALE) f.lf(s);
        } else if (is("hn")) {
            fields(line, 3).lf(HN[0]).lf(HN[1]).lf(HN[2]).lf(HN[3]);
        }
        break;
    case 'p':
        if (is("pt")) {
            fields(line, 2).lf(IPOINT.x).lf(IPOINT.y);
            Pole_set(IPOINT);
        }
        break;
    case 'c':
        if (is("ci")) circle_record(line, number);
        break;
    case ' ':
        read_segment(line, ILINE);
        Pole_set({ILINE.x1, ILINE.y1});
        Pole_set({ILINE.x2, ILINE.y2});
        break;
    case '#':
        if (SHARP == 20) first_comment();
        break;
    default:
        break;
    }
    return 0;
}

// A segment line without a '-' holds no negative number, so it cannot lower the extents: they
// start at 0 and only go down, and NaN and what lies beyond the bound leave them. Nor can a
// field that a line fails to read, which keeps a value read before and taken into account then.
// So only lines with a '-' are read as they come. What the others leave, ILINE, is decided at
// the end: by the last segment line where it reads in full, else by every one in turn.
static bool may_lower_extents(std::string_view line) {
    return find_byte(line.data(), line.data() + line.size(), '-') != nullptr;
}

static bool reads_in_full(std::string_view line) { return read_segment(line, ILINE) == 4; }

// ILINE as reading every segment line of source in turn leaves it, from start.
static bool replay_segments(std::FILE* source, const Segment& start) {
    if (!reader_open_stream(fp, source)) return false;
    ILINE = start;
    std::string_view line;
    while (read_record(fp, line))
        if (!line.empty() && line[0] == ' ') reads_in_full(line);
    return reader_close(fp);
}

long long Tcopy(std::FILE* source) {
    if (!reader_open_stream(fp, source)) return -1;
    const Segment start = ILINE;
    // The last segment line, or empty; one too long to keep (memory stays flat) is read
    // again with the rest.
    constexpr std::size_t KEPT_MOST = 4096;
    static std::string last;
    last.clear();
    bool too_long = false;
    long long n = 0;
    std::string_view line;
    for (;;) {
        // Segment lines without a '-', most records, go in bulk: only the last of a run is kept.
        if (std::size_t k = skip_records(fp, ' ', '-', line)) {
            n += static_cast<long long>(k);
            too_long = line.size() > KEPT_MOST;
            last.assign(too_long ? std::string_view() : line);
        }
        if (!read_record(fp, line)) break;
        ++n;
        if (!line.empty() && line[0] == ' ') {
            too_long = line.size() > KEPT_MOST;
            last.assign(too_long ? std::string_view() : line);
            if (!may_lower_extents(line)) continue;
        }
        Pre_pro(line, n);
    }
    bool read_ok = reader_close(fp);
    if (read_ok && (too_long || (!last.empty() && !reads_in_full(last))))
        read_ok = replay_segments(source, start);
    return read_ok ? n : -1;
}
