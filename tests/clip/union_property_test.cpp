// -a on random drawings of many circles (overlapping, nested, touching, ellipses, arcs that are
// no boundary), with a designated region of every kind or none, the whole run in memory. Erase
// is held against erasing the boundaries one at a time, each as the one designated boundary:
// the same pieces, the same points, and a text goes when both its ends would go. Crop and -k
// are held against the boundaries' own geometry: each piece on its side of the union, the
// pieces of a record tiling it once, and every cut on the union's edge.
#include <gtest/gtest.h>

#include "clip/region_reference.h"
#include "run_in_memory.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "boundary/boundary.h"
#include "boundary/circles.h"
#include "driver/driver.h"
#include "exchange/attributes.h"
#include "exchange/output.h"
#include "exchange/postpass.h"
#include "text/streams.h"

namespace {

using namespace reference;

std::string num(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6f", v);
    return buf;
}

std::vector<double> numbers(const std::string& s, std::size_t from) {
    std::vector<double> v;
    const char* p = s.c_str() + from;
    for (char* e;; p = e) {
        double x = std::strtod(p, &e);
        if (e == p) return v;
        v.push_back(x);
    }
}

struct Boundary {
    std::string record; // its "ci" record
    std::string alone;  // the same boundary as a designation of its mode accepts it
    int mode;           // the -m it is designated with alone
    Region reg;
};

// One item of the body, after its marker "# L<n>": a segment, a point or a text.
struct Item {
    char kind; // 's', 'p', 't'
    double v[4];
    std::string record() const {
        if (kind == 'p') return "pt " + num(v[0]) + " " + num(v[1]);
        std::string r = kind == 's' ? "" : "ch";
        for (double x : v) r.append(" ").append(num(x));
        return kind == 's' ? r : r + " T";
    }
};

struct Drawing {
    int mode = 0;                          // of the designated region; 0 none
    std::vector<Boundary> bounds;          // the designated region first
    std::vector<std::string> body_circles; // boundaries and arcs, as written
    std::vector<Item> items;
    std::string text(const std::string& options_note) const {
        std::string t = "hs 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\nlg0\r\nly1\r\nlc 1\r\nlt 1\r\n";
        if (mode) t += "hhp1ci\r\n" + bounds[0].record + "\r\n";
        t += "# start" + options_note + "\r\n";
        for (const std::string& c : body_circles) t += c + "\r\n";
        for (std::size_t k = 0; k < items.size(); ++k)
            t += "# L" + std::to_string(k) + "\r\n" + items[k].record() + "\r\n";
        return t;
    }
};

Boundary boundary(const std::string& rec, int mode) {
    std::vector<double> v = numbers(rec, 2);
    double a[7] = {0, 0, 0, 0, 360, 0, 0};
    for (std::size_t i = 0; i < v.size(); ++i) a[i] = v[i];
    // A circle of ratio 1 and equal angles is a boundary of -a, but designated it is refused.
    char alone[160];
    std::snprintf(alone, sizeof alone, "ci %.6f %.6f %.6f", a[0], a[1], a[2]);
    return {rec, mode == 1 && a[5] == 1 ? alone : rec, mode,
            Region::of(mode <= 1   ? 1
                       : mode <= 3 ? 2
                                   : 3,
                       a[0], a[1], a[2], a[3], a[4], a[5], a[6])};
}

Drawing random_drawing(Rng& rng) {
    Drawing d;
    auto closed = [&](double cx, double cy, double r, bool designated) {
        std::string c = "ci " + num(cx) + " " + num(cy) + " " + num(r);
        switch (int f = rng.below(5); designated && f == 1 ? 0 : f) {
        case 0:
            return c + " 0 360 1 0";
        case 1: {
            std::string a = num(rng.uni(-90, 400));
            return c + " " + a + " " + a + " 1 0";
        }
        case 2:
            return c + " 0 0 " + num(rng.uni(0.3, 2)) + " " + num(rng.uni(-180, 180));
        default:
            return c;
        }
    };
    d.mode = rng.below(6);
    if (d.mode) {
        const double cx = rng.uni(-20, 20), cy = rng.uni(-20, 20), r = rng.uni(4, 12);
        std::string rec = closed(cx, cy, r, true);
        if (d.mode > 1) {
            const double sk = rng.uni(-180, 360);
            rec = "ci " + num(cx) + " " + num(cy) + " " + num(r) + " " + num(sk) + " " +
                  num(sk + rng.uni(20, 340)) + " " + (rng.below(2) ? "1" : num(rng.uni(0.4, 1.8))) +
                  " " + num(rng.uni(-90, 90));
        }
        d.bounds.push_back(boundary(rec, d.mode));
    }
    struct C {
        double x, y, r;
    };
    std::vector<C> cs;
    for (int n = 3 + rng.below(10); n > 0; --n) {
        C c{rng.uni(-25, 25), rng.uni(-25, 25), rng.uni(1.5, 9)};
        const int how = cs.empty() ? 0 : rng.below(4);
        const C& o = cs.empty() ? c : cs[rng.below(static_cast<int>(cs.size()))];
        if (how == 1) c = {o.x + rng.uni(-1, 1), o.y + rng.uni(-1, 1), o.r * rng.uni(0.2, 0.7)};
        if (how == 2) c.r = std::round(rng.uni(1, 6)), c.x = o.x + o.r + c.r, c.y = o.y; // touching
        if (how == 3) c = {o.x + o.r * rng.uni(-1.5, 1.5), o.y + o.r * rng.uni(-1, 1), c.r};
        c = {std::stod(num(c.x)), std::stod(num(c.y)), std::stod(num(c.r))};
        const std::string rec = closed(c.x, c.y, c.r, false);
        d.body_circles.push_back(rec);
        d.bounds.push_back(boundary(rec, 1));
        cs.push_back(c);
        if (rng.below(4) == 0) // an arc: no boundary
            d.body_circles.push_back("ci " + num(c.x + 2) + " " + num(c.y) + " " + num(c.r) +
                                     " 30 200 1 0");
    }
    auto pick = [&]() -> const C& { return cs[rng.below(static_cast<int>(cs.size()))]; };
    for (int n = 20 + rng.below(30); n > 0; --n) {
        const int k = rng.below(10);
        const double a = rng.uni(0, 2 * 3.14159), len = rng.uni(1, 40);
        Item it{'s', {rng.uni(-35, 35), rng.uni(-35, 35), 0, 0}};
        it.v[2] = it.v[0] + len * std::cos(a), it.v[3] = it.v[1] + len * std::sin(a);
        if (k == 0) { // through a centre
            const C& c = pick();
            const double s = rng.uni(0.2, 2.5), t = rng.uni(0.2, 2.5);
            it.v[0] = c.x - s * c.r * std::cos(a), it.v[1] = c.y - s * c.r * std::sin(a);
            it.v[2] = c.x + t * c.r * std::cos(a), it.v[3] = c.y + t * c.r * std::sin(a);
        } else if (k == 1) { // tangent
            const C& c = pick();
            it.v[1] = it.v[3] = c.y + c.r, it.v[0] = c.x - rng.uni(0.5, 12),
            it.v[2] = c.x + rng.uni(0.5, 12);
        } else if (k == 2 || k == 3) {
            it.kind = 'p';
            if (k == 3) it.v[0] = pick().x, it.v[1] = pick().y;
        } else if (k == 4) { // a text from one centre to another
            const C &c1 = pick(), &c2 = pick();
            it = {'t', {c1.x, c1.y, c2.x - c1.x, c2.y - c1.y}};
        }
        for (double& x : it.v) x = std::stod(num(x));
        d.items.push_back(it);
    }
    return d;
}

// The records of each marker's section of an output, from the body on; "lc"/"lt" switches
// are passed as they are.
std::map<int, std::vector<std::string>> sections(const std::string& out) {
    std::map<int, std::vector<std::string>> s;
    int at = -1;
    for (const std::string& l : lines_of(out)) {
        if (l.rfind("# L", 0) == 0)
            at = std::atoi(l.c_str() + 3);
        else if (l == "lg0")
            at = -1; // the trailer
        else if (at >= 0)
            s[at].push_back(l);
    }
    return s;
}

// Erase one boundary at a time, each designated alone; the items' records after each run.
std::map<int, std::vector<std::string>> one_by_one(const Drawing& d) {
    std::map<int, std::vector<std::string>> now;
    for (std::size_t k = 0; k < d.items.size(); ++k) {
        const Item& it = d.items[k];
        if (it.kind != 't')
            now[static_cast<int>(k)] = {it.record()};
        else // its two ends, as points
            now[static_cast<int>(k)] = {"pt " + num(it.v[0]) + " " + num(it.v[1]),
                                        "pt " + num(it.v[0] + it.v[2]) + " " +
                                            num(it.v[1] + it.v[3])};
    }
    for (const Boundary& b : d.bounds) {
        std::string in = "hs 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\nlg0\r\nly1\r\nlc 1\r\nlt 1\r\n"
                         "hhp1ci\r\n" +
                         b.alone + "\r\n# start\r\n";
        for (const auto& [k, recs] : now) {
            in += "# L" + std::to_string(k) + "\r\n";
            for (const std::string& r : recs) in += r + "\r\n";
        }
        const std::string out = run_in_memory(in, {"-m" + std::to_string(b.mode)});
        EXPECT_EQ(out.find("\r\nhe  "), std::string::npos) << b.alone;
        std::map<int, std::vector<std::string>> next = sections(out);
        for (auto& [k, recs] : now) recs = next[k];
    }
    return now;
}

LD union_margin(const Drawing& d, P2 p, int* inside_count) {
    LD edge = 1e9L;
    *inside_count = 0;
    for (const Boundary& b : d.bounds) {
        P2 q = b.reg.frame(p);
        edge = std::min(edge, b.reg.edge_distance(q));
        *inside_count += b.reg.inside(q) && b.reg.edge_distance(q) > 1e-5L;
    }
    return edge;
}

struct Piece {
    double v[4];
    bool restyled;
};

std::vector<Piece> pieces_of(const std::vector<std::string>& recs) {
    std::vector<Piece> p;
    bool switched = false;
    for (const std::string& r : recs) {
        if (r.rfind("lc", 0) == 0) switched = r != "lc1";
        if (r.empty() || r[0] != ' ') continue;
        std::vector<double> v = numbers(r, 1);
        p.push_back({{v[0], v[1], v[2], v[3]}, switched});
    }
    return p;
}

// Each piece's side by samples away from every edge; its cut ends on the union's edge.
void check_pieces(const Drawing& d, const Item& it, const std::vector<Piece>& ps, bool crop,
                  bool restyle, const std::string& what) {
    for (const Piece& p : ps) {
        for (LD f : {0.1L, 0.3L, 0.5L, 0.7L, 0.9L}) {
            P2 s{p.v[0] + f * (p.v[2] - p.v[0]), p.v[1] + f * (p.v[3] - p.v[1])};
            int in = 0;
            if (union_margin(d, s, &in) < 5e-4L) continue; // the tolerance decides there
            const bool want_inside = restyle ? p.restyled != crop : crop;
            EXPECT_EQ(in > 0, want_inside)
                << what << " piece " << num(p.v[0]) << " " << num(p.v[1]) << " " << num(p.v[2])
                << " " << num(p.v[3]) << " at " << double(f);
        }
        for (int e : {0, 2}) {
            P2 c{p.v[e], p.v[e + 1]};
            if (std::hypot(c.x - it.v[e], c.y - it.v[e + 1]) < 1e-9 ||
                std::hypot(c.x - it.v[2 - e], c.y - it.v[3 - e]) < 1e-9)
                continue;
            int in = 0;
            EXPECT_LT(union_margin(d, c, &in), 1e-5L) << what << ": a cut off every edge";
            EXPECT_EQ(in, 0) << what << ": a cut inside a boundary at " << num(c.x) << " "
                             << num(c.y);
        }
    }
}

// The pieces of both runs, in order along the record, join from its start to its end once.
void check_tiling(const Item& it, std::vector<Piece> ps, const std::string& what) {
    const LD dx = it.v[2] - it.v[0], dy = it.v[3] - it.v[1];
    auto along = [&](double x, double y) {
        return ((x - it.v[0]) * dx + (y - it.v[1]) * dy) / (dx * dx + dy * dy);
    };
    std::sort(ps.begin(), ps.end(), [&](const Piece& a, const Piece& b) {
        return along(a.v[0], a.v[1]) < along(b.v[0], b.v[1]);
    });
    double x = it.v[0], y = it.v[1];
    for (const Piece& p : ps) {
        // A crossing within the tolerance beyond an end leaves a sliver there, as without -a.
        const LD a = along(p.v[0], p.v[1]), b = along(p.v[2], p.v[3]);
        if ((a < 1e-9L && b < 1e-9L) || (a > 1 - 1e-9L && b > 1 - 1e-9L)) continue;
        EXPECT_LT(std::hypot(p.v[0] - x, p.v[1] - y), 1e-6) << what << ": a gap or overlap";
        x = p.v[2], y = p.v[3];
    }
    EXPECT_LT(std::hypot(it.v[2] - x, it.v[3] - y), 1e-6) << what << ": the end not reached";
}

TEST(UnionProperty, EraseIsOneAtATimeCropAndRestyleSplitByTheUnion) {
    Rng rng{0xA11C12C1E5ull};
    int drawings = 0, pieces = 0, dropped_points = 0, texts_by_union = 0, kinds[6] = {};
    for (int i = 0; i < 1000; ++i) {
        Drawing d = random_drawing(rng);
        const std::string input = d.text("");
        SCOPED_TRACE("drawing " + std::to_string(i) + ":\n" + input);
        const std::string erased = run_in_memory(input, {"-a", "-m" + std::to_string(d.mode)});
        const std::string cropped =
            run_in_memory(input, {"-a", "-i", "-m" + std::to_string(d.mode)});
        const bool keep_crop = rng.below(2);
        std::vector<std::string> k_opts = {"-a", "-k37", "-m" + std::to_string(d.mode)};
        if (keep_crop) k_opts.push_back("-i");
        const std::string restyled = run_in_memory(input, k_opts);
        auto e = sections(erased), c = sections(cropped), k = sections(restyled);
        auto ref = one_by_one(d);
        for (std::size_t n = 0; n < d.items.size(); ++n) {
            const Item& it = d.items[n];
            const int key = static_cast<int>(n);
            const std::string what = "item " + it.record();
            if (it.kind == 'p') {
                EXPECT_EQ(e[key], ref[key]) << what;
                EXPECT_EQ(c[key].empty(), !ref[key].empty()) << what << " in crop";
                EXPECT_EQ(k[key], std::vector<std::string>{it.record()}) << what << " with -k";
                dropped_points += ref[key].empty();
                continue;
            }
            if (it.kind == 't') {
                // Both ends go one at a time only when each lies inside some boundary.
                const bool both_in = ref[key].empty(), both_out = ref[key].size() == 2;
                EXPECT_EQ(e[key].empty(), both_in) << what;
                EXPECT_EQ(c[key].empty(), both_out) << what << " in crop";
                // No one boundary holds both ends: only the union drops it.
                bool one_holds = false;
                for (const Boundary& b : d.bounds)
                    one_holds = one_holds ||
                                (b.reg.inside(b.reg.frame({it.v[0], it.v[1]})) &&
                                 b.reg.inside(b.reg.frame({it.v[0] + it.v[2], it.v[1] + it.v[3]})));
                texts_by_union += both_in && !one_holds;
                continue;
            }
            // Erase: the pieces of one boundary at a time, slivers aside.
            std::vector<Piece> got = pieces_of(e[key]), want = pieces_of(ref[key]);
            auto solid = [](std::vector<Piece> v) {
                std::erase_if(v, [](const Piece& p) {
                    return std::hypot(p.v[2] - p.v[0], p.v[3] - p.v[1]) < 5e-4;
                });
                return v;
            };
            got = solid(got), want = solid(want);
            EXPECT_EQ(got.size(), want.size())
                << what << "\n got:\n"
                << ::testing::PrintToString(e[key]) << "\n one at a time:\n"
                << ::testing::PrintToString(ref[key]);
            for (std::size_t j = 0; j < std::min(got.size(), want.size()); ++j)
                for (int q = 0; q < 4; ++q)
                    EXPECT_NEAR(got[j].v[q], want[j].v[q], 1e-6) << what << " piece " << j;
            pieces += static_cast<int>(got.size());
            std::vector<Piece> cp = pieces_of(c[key]), kp = pieces_of(k[key]);
            check_pieces(d, it, pieces_of(e[key]), false, false, what + " erase");
            check_pieces(d, it, cp, true, false, what + " crop");
            check_pieces(d, it, kp, keep_crop, true, what + " -k");
            std::vector<Piece> both = pieces_of(e[key]);
            both.insert(both.end(), cp.begin(), cp.end());
            check_tiling(it, both, what + " erase and crop");
            check_tiling(it, kp, what + " -k");
        }
        if (::testing::Test::HasFailure()) return;
        ++drawings, ++kinds[d.mode];
    }
    std::printf(
        "%d drawings, %d erased pieces, %d points dropped, %d texts dropped by the union only\n",
        drawings, pieces, dropped_points, texts_by_union);
    for (int m = 0; m < 6; ++m) EXPECT_GT(kinds[m], 20) << "designation " << m;
    EXPECT_GT(texts_by_union, 20);
}

} // namespace
