// -k on random drawings (lines, polyline blocks, curves with -c; every region kind; erase and
// crop), the whole run in memory, read back as the host reads it and held against the input
// and the region's own geometry: the pieces of each record join into the record, each once;
// a piece away from the edge is in the restyled colour and type exactly when it lies on the
// side that the run without -k drops; every other record is read with the colour and type the
// input gives it; no switch stands inside a polyline block; and what is not restyled is what
// the run without -k writes.
#include <gtest/gtest.h>

#include "clip/region_reference.h"
#include "run_in_memory.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "boundary/boundary.h"
#include "driver/driver.h"
#include "exchange/attributes.h"
#include "exchange/output.h"
#include "exchange/postpass.h"
#include "text/streams.h"

namespace {

using namespace reference;

std::string num(double v, const char* format = "%.13f") {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

LD fold(LD deg) {
    LD r = std::fmod(deg, LD(360));
    return r < 0 ? r + 360 : r;
}

std::vector<std::string> words(const std::string& s) {
    std::vector<std::string> w;
    for (std::size_t at = 0; at < s.size();) {
        std::size_t e = s.find(' ', at);
        if (e == std::string::npos) e = s.size();
        if (e > at) w.push_back(s.substr(at, e - at));
        at = e + 1;
    }
    return w;
}

// A drawing and the options of its run. Its attribute records have a blank after the tag and
// its comments a text, so that neither can be taken for a record the run writes itself.
struct Drawing {
    std::vector<std::string> recs;
    int mode; // as given: 1 to 6
    bool crop, curves;
    int kc, kl, ec, el; // -k pair, -e pair
    Region reg;
    std::vector<std::string> options;
    std::string text() const {
        std::string t;
        for (const auto& r : recs) t += r + "\r\n";
        return t;
    }
};

Drawing random_drawing(Rng& rng) {
    Drawing d{};
    d.mode = 1 + rng.below(6);
    const double cx = rng.uni(-30, 30), cy = rng.uni(-30, 30), r = rng.uni(3, 20);
    const int shape = rng.below(3);
    const double hp = shape == 0 ? 0 : shape == 1 ? 1 : rng.uni(0.3, 2);
    const double jk = rng.below(2) ? rng.uni(-180, 180) : 0;
    bool arc = d.mode > 1;
    if (rng.below(20) == 0) arc = !arc; // refused
    double sk = 0, ek = hp == 1 ? 360 : 0;
    if (arc) sk = rng.uni(-180, 360), ek = sk + rng.uni(10, 350) - (rng.below(3) ? 0 : 360);
    std::string boundary = "ci " + num(cx, "%.6f") + " " + num(cy, "%.6f") + " " + num(r, "%.6f");
    if (arc || shape != 0 || rng.below(2))
        boundary += " " + num(sk, "%.6f") + " " + num(ek, "%.6f") + " " + num(hp, "%.6f") + " " +
                    num(jk, "%.6f");
    double v[8] = {}; // the boundary as the run reads it
    std::vector<std::string> w = words(boundary);
    for (std::size_t i = 1; i < w.size(); ++i) v[i] = std::atof(w[i].c_str());
    d.reg = Region::of(d.mode <= 1   ? 1
                       : d.mode <= 3 ? 2
                                     : 3,
                       v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
    const int c0 = rng.below(4), t0 = rng.below(3);
    d.recs = {"hs 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "lg0",    "ly1",    "lc " + std::to_string(c0),
              "lt " + std::to_string(t0),           "hhp1ci", boundary, "# start"};
    const double e = r * (hp > 1 ? hp : 1) * 1.6;
    auto coord = [&](double c) { return num(c + rng.uni(-e, e), "%.6f"); };
    auto point = [&] { return coord(cx) + " " + coord(cy); };
    auto prefixes = [&] {
        static const int values[] = {1, 2, 3, 4, 6};
        for (int n = rng.below(5) == 0 ? 1 + rng.below(2) : 0; n > 0; --n)
            d.recs.push_back("z" + std::to_string(values[rng.below(5)]));
    };
    for (int items = 10 + rng.below(30); items > 0; --items) {
        int k = rng.below(100);
        if (k < 30) {
            prefixes();
            d.recs.push_back(" " + point() + " " + point());
        } else if (k < 45) { // a chain that goes in and out of the region
            d.recs.push_back("pl");
            std::string at = point();
            for (int n = 2 + rng.below(5); n > 0; --n) {
                std::string to = rng.below(8) == 0 ? at : point();
                prefixes();
                d.recs.push_back(" " + at + " " + to);
                at = to;
            }
            int end = rng.below(7); // left open only at the end of the drawing
            if (end < 5 || (end == 6 && items > 1)) d.recs.push_back("# end");
            if (end == 5) d.recs.push_back("lc " + std::to_string(rng.below(4)));
        } else if (k < 55) {
            prefixes();
            d.recs.push_back("pt " + point());
        } else if (k < 60) {
            prefixes();
            d.recs.push_back("ch " + point() + " 2 1 TEXT");
        } else if (k < 75) {
            prefixes();
            double radius = rng.uni(0.5, 1.5) * r * (rng.below(8) ? 1 : -1);
            std::string c = "ci " + point() + " " + num(radius, "%.6f");
            int form = rng.below(5);
            if (form == 1) c += " 0 360 1 0";
            if (form == 2) c += " 0 0 " + num(rng.uni(0.3, 2), "%.6f") + " " + num(jk, "%.6f");
            if (form == 3) {
                double s = rng.uni(-360, 360);
                c += " " + num(s, "%.6f") + " " + num(s + rng.uni(20, 340), "%.6f") + " " +
                     (rng.below(2) ? "1" : num(rng.uni(0.3, 2), "%.6f")) + " " +
                     num(rng.uni(-90, 90), "%.6f");
            }
            d.recs.push_back(form == 4 ? boundary : c);
        } else if (k < 85) {
            static const char* const tags[] = {"lc ", "lt ", "ly "};
            d.recs.push_back(tags[rng.below(3)] + std::to_string(rng.below(4)));
        } else if (k < 90) {
            d.recs.push_back("# c");
        } else if (k < 95) { // of length 0, or far shorter than the duplicate tolerance
            std::string p = point();
            double dx = rng.below(2) ? 1e-9 : 0;
            d.recs.push_back(" " + p + " " + num(std::atof(words(p)[0].c_str()) + dx, "%.9f") +
                             " " + words(p)[1]);
        }
    }
    d.crop = rng.below(2), d.curves = rng.below(2);
    d.kc = rng.below(13), d.kl = rng.below(10);
    d.options = {"-m" + std::to_string(d.mode), "-k" + std::to_string(d.kc * 10 + d.kl)};
    if (d.kc == 0 && d.kl == 0) d.options.back() = "-k";
    if (d.crop) d.options.push_back("-i");
    if (d.curves) d.options.push_back("-c");
    if (rng.below(4) == 0) {
        d.ec = rng.below(4), d.el = rng.below(3);
        d.options.push_back("-e" + std::to_string(d.ec * 10 + d.el));
    }
    return d;
}

const int UNKNOWN = -999;

// Reads the output of the -k run along the input, record by record.
class Reading {
  public:
    Reading(const Drawing& d, const std::string& out) : d(d), out(lines_of(out)) {}

    std::vector<std::string> not_restyled; // segment and circle records, in order
    int restyled = 0, kept = 0, whole_curves = 0, curve_pieces = 0, switches = 0, blocks = 0;
    int slivers = 0;

    void check() {
        for (const std::string& r : d.recs) {
            where = "record \"" + r + "\" at output line " + std::to_string(j);
            zz();
            record(r);
            if (::testing::Test::HasFailure()) return;
        }
        where = "the end";
        skip_inserted();
        EXPECT_FALSE(switched) << where;
        in_force();
        const std::vector<std::string> trailer = {"lg0", "ly1", "lt" + words(d.recs[4])[1],
                                                  "lc" + words(d.recs[3])[1]};
        EXPECT_EQ(std::vector<std::string>(out.begin() + std::min(j, out.size()), out.end()),
                  trailer);
        // The post-pass has taken the marker from every block of a single segment.
        for (std::size_t p = 0; p < out.size(); ++p) {
            if (out[p] != "pl") continue;
            std::size_t q = p + 1;
            while (q < out.size() && q < p + 3 && out[q][0] == 'z') ++q;
            bool single = q + 1 < out.size() && out[q][0] == ' ' && out[q + 1][0] == '#';
            EXPECT_FALSE(single) << "line " << p;
        }
    }

  private:
    const Drawing& d;
    std::vector<std::string> out;
    std::size_t j = 0;
    std::string where;
    int hc = UNKNOWN, ht = UNKNOWN; // colour and type as the host reads them
    bool in_block = false, switched = false;
    bool chained = false; // the open block has a segment; its end is at
    LD at_x = 0, at_y = 0;
    int ic = UNKNOWN, it = UNKNOWN; // colour and type the input gives
    int zoku = 0, za0 = 0, za1 = 0, n = 0;
    bool in_pl = false, body = false;

    const std::string& line() { return j < out.size() ? out[j] : EMPTY; }
    static inline const std::string EMPTY;

    static bool is_switch(const std::string& l, char c) {
        if (l.size() < 3 || l[0] != 'l' || l[1] != c) return false;
        for (std::size_t i = 2; i < l.size(); ++i)
            if (!std::isdigit(static_cast<unsigned char>(l[i])) && !(i == 2 && l[i] == '-'))
                return false;
        return true;
    }

    void close_block() { in_block = chained = false; }

    // Block markers and switches, which the run writes between the records.
    void skip_inserted() {
        for (;;) {
            const std::string& l = line();
            if (l == "#" || l == "#pl") {
                close_block();
            } else if (l == "pl") {
                EXPECT_FALSE(in_block) << where << ": a block opened inside a block";
                in_block = true, chained = false;
                ++blocks;
            } else if (is_switch(l, 'c')) {
                ASSERT_LT(j + 1, out.size());
                ASSERT_TRUE(is_switch(out[j + 1], 't')) << where;
                EXPECT_FALSE(in_block) << where << ": a switch inside a polyline block";
                hc = std::atoi(l.c_str() + 2), ht = std::atoi(out[j + 1].c_str() + 2);
                // The switch to the pair, then the restore of what is in force.
                EXPECT_EQ(hc, switched ? ic : d.kc) << where;
                EXPECT_EQ(ht, switched ? it : d.kl) << where;
                switched = !switched;
                switches += switched;
                ++j;
            } else {
                return;
            }
            ++j;
        }
    }

    void zz() { // the pending prefixes, as the main pass moves them
        if (n++ > 0 && zoku != 0)
            za1 = za0, za0 = zoku, zoku = 0;
        else
            za0 = za1 = 0;
    }
    bool is_protected() const { return za0 == 3 || za0 == 4 || za0 == 5; }
    bool excluded() const { return (ic == d.ec && it == d.el) || (ic == 0 && it == 0); }

    void in_force() {
        EXPECT_EQ(hc, ic) << where;
        EXPECT_EQ(ht, it) << where;
    }

    void prefixes() {
        for (int z : {za1, za0}) {
            if (z == 0) continue;
            EXPECT_EQ(line(), "z" + std::to_string(z)) << where;
            ++j;
        }
    }

    // The record at the cursor as it was read, after its prefixes, not restyled.
    void written_back(const std::string& r) {
        skip_inserted();
        prefixes();
        EXPECT_EQ(line(), r) << where;
        ++j;
        EXPECT_FALSE(switched) << where;
        in_force();
    }

    void echo(const std::string& r) {
        skip_inserted();
        EXPECT_EQ(line(), r) << where;
        ++j;
        EXPECT_FALSE(switched) << where;
        in_force();
        if (r[0] == '#' || r[0] == 'l') close_block();
    }

    // A sample of a piece: where it keeps clear of the edge, its side agrees with the piece's
    // colour and type. Returns 1 on the restyled side, 0 on the other, -1 near the edge.
    int side(LD x, LD y) {
        P2 p = d.reg.frame({x, y});
        if (d.mode <= 5 && d.reg.edge_distance(p) < 1e-3L) return -1;
        bool inside = d.mode > 5 || d.reg.inside(p);
        return inside != d.crop;
    }
    void attributes_of_piece(int sides) { // sides: bit 0 kept side seen, bit 1 restyled side
        if (switched) {
            EXPECT_EQ(hc, d.kc) << where;
            EXPECT_EQ(ht, d.kl) << where;
            EXPECT_EQ(sides & 1, 0) << where << ": restyled on the kept side";
            ++restyled;
        } else {
            in_force();
            EXPECT_EQ(sides & 2, 0) << where << ": not restyled on the restyled side";
            ++kept;
        }
    }

    void segment_line_in_block(LD x1, LD y1, LD x2, LD y2) {
        if (!in_block) return;
        if (chained) {
            EXPECT_NEAR(double(x1), double(at_x), 1e-9) << where << ": a block that jumps";
            EXPECT_NEAR(double(y1), double(at_y), 1e-9) << where << ": a block that jumps";
        }
        chained = true, at_x = x2, at_y = y2;
    }

    // A crossing found within the tolerance beyond an end of the record leaves a piece of less
    // than the tolerance there, on the record's line beyond that end, beside the piece that runs
    // to it; the run without -k writes it too.
    static bool sliver(const LD* a, const LD* r) {
        const LD dx = r[2] - r[0], dy = r[3] - r[1], len = std::sqrt(dx * dx + dy * dy);
        const LD reach = 2 * 0.00025L / len, eps = 1e-9L;
        int before = 0, after = 0;
        for (int e : {0, 2}) {
            LD ox = a[e] - r[0], oy = a[e + 1] - r[1];
            if (std::fabs(ox * dy - oy * dx) / len > 1e-9L) return false;
            LD t = (ox * dx + oy * dy) / (len * len);
            before += t <= eps && t > -reach;
            after += t >= 1 - eps && t < 1 + reach;
        }
        return before == 2 || after == 2;
    }

  public:
    static bool piece_of(const std::string& l, LD* a) {
        std::vector<std::string> p = words(l);
        if (l.empty() || l[0] != ' ' || p.size() != 4) return false;
        for (int i = 0; i < 4; ++i) a[i] = std::atof(p[i].c_str());
        return true;
    }

  private:
    // A sliver of the record follows, after what the run writes between pieces.
    bool sliver_next(const LD* r) {
        std::size_t k = j;
        while (k < out.size() &&
               (out[k] == "#" || out[k] == "#pl" || out[k] == "pl" || is_switch(out[k], 'c')))
            k += is_switch(out[k], 'c') ? 2 : 1;
        for (int z : {za1, za0}) {
            if (z == 0) continue;
            if (!(k < out.size() && out[k] == "z" + std::to_string(z))) return false;
            ++k;
        }
        LD a[4];
        return k < out.size() && piece_of(out[k], a) && sliver(a, r);
    }

    void segment(const std::string& r) {
        std::vector<std::string> w = words(r.substr(1));
        LD rec[4];
        for (int i = 0; i < 4; ++i) rec[i] = std::atof(w[i].c_str());
        if (excluded() || is_protected()) {
            written_back(r);
            segment_line_in_block(rec[0], rec[1], rec[2], rec[3]);
            not_restyled.push_back(r);
            return;
        }
        // Ends within the duplicate tolerance (a hundredth of 0.00025) make no line either.
        if (std::fabs(rec[0] - rec[2]) < 0.0000025L && std::fabs(rec[1] - rec[3]) < 0.0000025L)
            return;
        // The pieces, from the record's start to its end, one after another.
        std::string from = num(double(rec[0])) + " " + num(double(rec[1]));
        const std::string to = num(double(rec[2])) + " " + num(double(rec[3]));
        for (int pieces = 0; from != to || sliver_next(rec); ++pieces) {
            ASSERT_LT(pieces, 10) << where;
            skip_inserted();
            prefixes();
            LD a[4];
            ASSERT_TRUE(piece_of(line(), a)) << where << ": " << line();
            std::vector<std::string> p = words(line());
            if ((from == to || p[0] + " " + p[1] != from) && sliver(a, rec)) {
                if (!switched) not_restyled.push_back(line());
                ++slivers, ++j;
                continue;
            }
            EXPECT_EQ(p[0] + " " + p[1], from) << where;
            EXPECT_GT((a[2] - a[0]) * (rec[2] - rec[0]) + (a[3] - a[1]) * (rec[3] - rec[1]), 0)
                << where;
            int sides = 0;
            for (LD f : {0.1L, 0.3L, 0.5L, 0.7L, 0.9L})
                if (int s = side(a[0] + f * (a[2] - a[0]), a[1] + f * (a[3] - a[1])); s >= 0)
                    sides |= 1 << s;
            attributes_of_piece(sides);
            if (!switched) not_restyled.push_back(line());
            segment_line_in_block(a[0], a[1], a[2], a[3]);
            ++j;
            from = p[2] + " " + p[3];
        }
    }

    void curve(const std::string& r) {
        const bool cut = d.curves && body && !in_pl && !excluded() && !is_protected();
        if (!cut) {
            written_back(r);
            not_restyled.push_back(r);
            return;
        }
        std::vector<std::string> w = words(r);
        const bool short_form = w.size() == 4;
        LD v[8] = {0, 0, 0, 0, 0, 360, 0, 0};
        for (std::size_t i = 1; i < w.size(); ++i) v[i] = std::atof(w[i].c_str());
        const LD h = v[6] == 0 || v[6] == 1 ? 1 : v[6], t = v[7] * PI_L / 180;
        const bool closed = fold(v[4]) == fold(v[5]);
        const LD span = closed ? 360 : fold(v[5] - v[4]);
        auto sides_between = [&](LD s, LD e) {
            int sides = 0;
            for (int i = 1; i < 32; ++i) {
                LD a = (s + (e - s) * i / 32) * PI_L / 180;
                LD u = v[3] * std::cos(a), q = v[3] * h * std::sin(a);
                if (int k = side(v[1] + std::cos(t) * u - std::sin(t) * q,
                                 v[2] + std::sin(t) * u + std::cos(t) * q);
                    k >= 0)
                    sides |= 1 << k;
            }
            return sides;
        };
        skip_inserted();
        prefixes();
        if (line() == r) { // whole; a curve whose crossings cannot be found stays as it is
            int sides = sides_between(v[4], v[4] + span);
            if (sides == 3) { EXPECT_FALSE(switched) << where; }
            attributes_of_piece(sides == 3 ? 0 : sides);
            if (!switched) not_restyled.push_back(r);
            ++whole_curves, ++j;
            return;
        }
        LD total = 0, last_end = 0;
        for (int pieces = 0; total < span - 1e-7L; ++pieces) {
            ASSERT_LT(pieces, 20) << where;
            if (pieces > 0) skip_inserted(), prefixes();
            std::vector<std::string> p = words(line());
            ASSERT_TRUE(p.size() == 8 && p[0] == "ci") << where << ": " << line();
            LD s = std::atof(p[4].c_str()), e = std::atof(p[5].c_str());
            for (int i : {1, 2, 3})
                EXPECT_NEAR(double(std::atof(p[i].c_str())), double(v[i]), 1e-9);
            EXPECT_EQ(p[6], num(short_form ? 1 : double(v[6]))) << where;
            EXPECT_EQ(p[7], num(short_form ? 0 : double(v[7]))) << where;
            // Each piece goes on where the one before it ends; an arc's first starts at its start.
            if (pieces > 0 || !closed) {
                LD gap = fold(s - (pieces > 0 ? last_end : v[4]) + 180) - 180;
                EXPECT_LT(std::fabs(gap), 1e-7L) << where;
            }
            LD piece = e > s ? e - s : e - s + 360;
            attributes_of_piece(sides_between(s, s + piece));
            if (!switched) not_restyled.push_back(line());
            total += piece, last_end = e;
            ++curve_pieces, ++j;
        }
        EXPECT_NEAR(double(total), double(span), 1e-7) << where << ": pieces lost or doubled";
    }

    void record(const std::string& r) {
        const bool attribute = r[0] == 'l';
        if (r[0] == 'z') {
            zoku = std::atoi(r.c_str() + 1);
        } else if (r == "pl") {
            in_pl = true;
        } else if (r[0] == 'h') {
        } else if (r[0] == '#' || attribute) {
            echo(r);
            in_pl = false;
            if (r == "# start" && !body) {
                body = true;
                for (int k = d.mode == 3 ? 2 : d.mode == 5 ? 1 : 0; k > 0; --k) {
                    ASSERT_EQ(line()[0], ' ') << where << ": a border line";
                    not_restyled.push_back(line());
                    ++j;
                }
            }
        } else if (r[0] == ' ') {
            segment(r);
        } else if (r.compare(0, 2, "ci") == 0) {
            curve(r);
        } else {
            written_back(r); // points and texts all stay
        }
        // The host reads the echo as the run read the record.
        if (attribute && r[1] == 'c') ic = hc = std::atoi(r.c_str() + 3);
        if (attribute && r[1] == 't') it = ht = std::atoi(r.c_str() + 3);
    }
};

TEST(RestyleProperty, RecordsComeBackWholeRestyledOnOneSideOnly) {
    Rng rng{0x6B5E57A11Eull};
    int drawings = 0, refused = 0, restyled = 0, kept = 0, slivers = 0, whole_curves = 0;
    int curve_pieces = 0;
    int switches = 0, blocks = 0, modes[7] = {};
    for (int i = 0; i < 1500; ++i) {
        Drawing d = random_drawing(rng);
        const std::string input = d.text();
        std::string with_k = run_in_memory(input, d.options);
        std::vector<std::string> without_options(d.options);
        without_options.erase(without_options.begin() + 1);
        std::string without_k = run_in_memory(input, without_options);
        std::string options;
        for (const std::string& o : d.options) options += " " + o;
        SCOPED_TRACE("drawing " + std::to_string(i) + "," + options + ":\n" + input);
        if (without_k.find("\r\nhe  ") != std::string::npos) {
            EXPECT_EQ(with_k, without_k) << "a refusal";
            ++refused;
            continue;
        }
        Reading reading(d, with_k);
        reading.check();
        // Pieces shorter than the tolerance aside: a sliver beyond a record's end that follows
        // a restyled piece does not get the snapped end it gets as the first piece kept.
        auto whole = [](const std::vector<std::string>& records) {
            std::vector<std::string> kept;
            for (const std::string& l : records) {
                LD a[4];
                if (l[0] == ' ' && words(l).size() == 4 && Reading::piece_of(l, a) &&
                    std::hypot(a[2] - a[0], a[3] - a[1]) < 2 * 0.00025L)
                    continue;
                if (l[0] == ' ' || l.compare(0, 2, "ci") == 0) kept.push_back(l);
            }
            return kept;
        };
        EXPECT_EQ(whole(reading.not_restyled), whole(lines_of(without_k)))
            << "what is not restyled";
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << "output with -k:\n" << with_k;
            return;
        }
        ++drawings, ++modes[d.mode];
        restyled += reading.restyled, kept += reading.kept, switches += reading.switches;
        slivers += reading.slivers;
        whole_curves += reading.whole_curves, curve_pieces += reading.curve_pieces;
        blocks += reading.blocks;
    }
    std::printf("%d drawings (%d refused): %d restyled and %d kept pieces (%d slivers), %d curve "
                "pieces and "
                "%d whole curves, %d switches, %d blocks\n",
                drawings, refused, restyled, kept, slivers, curve_pieces, whole_curves, switches,
                blocks);
    for (int m = 1; m <= 6; ++m) EXPECT_GT(modes[m], 100) << "mode " << m;
    EXPECT_GT(restyled, 5000);
    EXPECT_GT(curve_pieces, 1000);
    EXPECT_GT(blocks, 1000);
}

} // namespace
