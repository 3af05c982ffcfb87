// gen_drawing N SEED [survey] > ZOD_UZUD.TXT: a large drawing as the host writes it, the same
// bytes for the same arguments on every platform. N counts segment records, polyline members
// included. About a tenth of the segments cross the boundary circle; the rest lie wholly
// outside it or, a few, wholly inside. Coordinates have up to three decimals on a 2000 x 1400
// sheet; with "survey", four decimals over +-1000 about the origin, around a circle of 100.
// With "circles K", K closed circles more are spread through the body over the sheet (grid
// bubbles of radius 2.5 drawn short, round columns of radius 0.8 drawn long), about a tenth of
// the segments cross one of them and the others keep clear of them where they can; the count
// of segments that come near a circle, and of the pairs of a segment and a circle near it, go
// to stderr.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// The sheet and the boundary, in drawing units, and the decimals written.
double SHEET_X = 0, SHEET_Y = 0, SHEET_W = 2000, SHEET_H = 1400;
double CX = 1000.25, CY = 700.5, R = 200;
int DECIMALS = 3;
double UNIT = 1000; // 10^DECIMALS

std::uint64_t rng_state;

std::uint64_t next_u64() { // splitmix64: no library distribution, so no platform drift
    std::uint64_t z = (rng_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}
double uniform(double lo, double hi) {
    return lo + (hi - lo) * static_cast<double>(next_u64() >> 11) * 0x1.0p-53;
}
int below(int n) { return static_cast<int>(next_u64() % static_cast<std::uint64_t>(n)); }

char out[1 << 20];
std::size_t used;

void flush() {
    if (std::fwrite(out, 1, used, stdout) != used) {
        std::perror("gen_drawing");
        std::exit(1);
    }
    used = 0;
}
void put(const char* s, std::size_t n) {
    if (used + n > sizeof out) flush();
    std::memcpy(out + used, s, n);
    used += n;
}
void puts_(const char* s) { put(s, std::strlen(s)); }
void line(const char* s) {
    puts_(s);
    put("\r\n", 2);
}

// A coordinate as a CAD program writes it: up to DECIMALS decimals, trailing zeros dropped.
void number(double v) {
    char b[48];
    int n = std::snprintf(b, sizeof b, " %.*f", DECIMALS, v);
    while (b[n - 1] == '0') --n;
    if (b[n - 1] == '.') --n;
    if (n == 3 && b[1] == '-' && b[2] == '0') b[1] = '0', n = 2; // no "-0"
    put(b, static_cast<std::size_t>(n));
}

struct Seg {
    double x1, y1, x2, y2;
};

// Rounded as written, so the class is decided on the bytes the tool will read.
double rounded(double v) { return std::round(v * UNIT) / UNIT; }

double dist_to_centre(double x1, double y1, double x2, double y2) {
    double dx = x2 - x1, dy = y2 - y1;
    double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((CX - x1) * dx + (CY - y1) * dy) / len2 : 0;
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    return std::hypot(x1 + t * dx - CX, y1 + t * dy - CY);
}

// 1: crosses the circle clearly, 0: clearly does not, -1: too close to call (tangent, on it).
int crossing(const Seg& s) {
    double d1 = std::hypot(s.x1 - CX, s.y1 - CY), d2 = std::hypot(s.x2 - CX, s.y2 - CY);
    double far = d1 > d2 ? d1 : d2, near = dist_to_centre(s.x1, s.y1, s.x2, s.y2);
    if (far < R - 0.5 || near > R + 0.5) return 0;
    if (far > R + 0.5 && near < R - 0.5) return 1;
    return -1;
}

Seg snap(Seg s) { return {rounded(s.x1), rounded(s.y1), rounded(s.x2), rounded(s.y2)}; }

struct Round {
    double x, y, r;
    bool column;
};
std::vector<Round> rounds;
std::vector<std::vector<int>> cells; // the circles whose box meets each cell
constexpr double CELL = 20;
int cols_, rows_;

int cell_of(double v, double origin, int n) {
    int c = static_cast<int>(std::floor((v - origin) / CELL));
    return c < 0 ? 0 : c >= n ? n - 1 : c;
}

// How many circles lie within their radius and half a unit of s; with first, 1 at the first.
int rounds_near(const Seg& s, bool first) {
    static std::vector<int> met;
    met.clear();
    int c0 = cell_of(std::fmin(s.x1, s.x2) - 3.5, SHEET_X, cols_);
    int c1 = cell_of(std::fmax(s.x1, s.x2) + 3.5, SHEET_X, cols_);
    int r0 = cell_of(std::fmin(s.y1, s.y2) - 3.5, SHEET_Y, rows_);
    int r1 = cell_of(std::fmax(s.y1, s.y2) + 3.5, SHEET_Y, rows_);
    double dx = s.x2 - s.x1, dy = s.y2 - s.y1, len2 = dx * dx + dy * dy;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            for (int i : cells[static_cast<std::size_t>(r * cols_ + c)]) {
                const Round& o = rounds[static_cast<std::size_t>(i)];
                double t = len2 > 0 ? ((o.x - s.x1) * dx + (o.y - s.y1) * dy) / len2 : 0;
                t = t < 0 ? 0 : t > 1 ? 1 : t;
                if (std::hypot(s.x1 + t * dx - o.x, s.y1 + t * dy - o.y) >= o.r + 0.5) continue;
                if (first) return 1;
                met.push_back(i); // a circle is listed in each cell its box meets
            }
    std::sort(met.begin(), met.end());
    return static_cast<int>(std::unique(met.begin(), met.end()) - met.begin());
}

bool near_round(const Seg& s) { return rounds_near(s, true) > 0; }

void make_rounds(long long k) {
    cols_ = static_cast<int>(std::ceil(SHEET_W / CELL)),
    rows_ = static_cast<int>(std::ceil(SHEET_H / CELL));
    cells.assign(static_cast<std::size_t>(cols_ * rows_), {});
    for (long long i = 0; i < k; ++i) {
        bool column = below(5) < 2;
        Round o{rounded(SHEET_X + uniform(5, SHEET_W - 5)),
                rounded(SHEET_Y + uniform(5, SHEET_H - 5)), column ? 0.8 : 2.5, column};
        rounds.push_back(o);
        for (int r = cell_of(o.y - o.r, SHEET_Y, rows_); r <= cell_of(o.y + o.r, SHEET_Y, rows_);
             ++r)
            for (int c = cell_of(o.x - o.r, SHEET_X, cols_);
                 c <= cell_of(o.x + o.r, SHEET_X, cols_); ++c)
                cells[static_cast<std::size_t>(r * cols_ + c)].push_back(static_cast<int>(i));
    }
}

// A grid line ending at a bubble's centre, or a line across a column.
Seg round_segment() {
    const Round& o = rounds[static_cast<std::size_t>(below(static_cast<int>(rounds.size())))];
    double a = uniform(0, 2 * M_PI), len = uniform(5, 60);
    if (!o.column) return snap({o.x, o.y, o.x + len * std::cos(a), o.y + len * std::sin(a)});
    double back = uniform(1.5, 10);
    return snap({o.x - back * std::cos(a), o.y - back * std::sin(a), o.x + len * std::cos(a),
                 o.y + len * std::sin(a)});
}

Seg cut_segment() {
    for (;;) {
        Seg s;
        double a = uniform(0, 2 * M_PI);
        if (below(2) == 0) { // from inside to outside
            double ri = R * std::sqrt(uniform(0, 0.64)), ro = R * uniform(1.05, 2.5);
            double b = a + uniform(-1.5, 1.5);
            s = {CX + ri * std::cos(a), CY + ri * std::sin(a), CX + ro * std::cos(b),
                 CY + ro * std::sin(b)};
        } else { // a chord through
            double r1 = R * uniform(1.05, 2), r2 = R * uniform(1.05, 2);
            double b = a + M_PI + uniform(-0.8, 0.8);
            s = {CX + r1 * std::cos(a), CY + r1 * std::sin(a), CX + r2 * std::cos(b),
                 CY + r2 * std::sin(b)};
        }
        s = snap(s);
        if (crossing(s) == 1) return s;
    }
}

Seg plain_segment() {
    for (int tries = 0;;) {
        double x = SHEET_X + uniform(0, SHEET_W), y = SHEET_Y + uniform(0, SHEET_H);
        double len = below(4) == 0 ? uniform(30, 300) : uniform(1, 30);
        double a = below(3) == 0 ? below(4) * (M_PI / 2) : uniform(0, 2 * M_PI); // many square
        Seg s = snap({x, y, x + len * std::cos(a), y + len * std::sin(a)});
        if (s.x1 == s.x2 && s.y1 == s.y2) continue;
        if (crossing(s) != 0) continue;
        if (rounds.empty() || ++tries > 30 || !near_round(s)) return s;
    }
}

void segment(const Seg& s) {
    number(s.x1);
    number(s.y1);
    number(s.x2);
    number(s.y2);
    put("\r\n", 2);
}

void attribute() {
    char b[32];
    switch (below(6)) {
    case 0:
        std::snprintf(b, sizeof b, "lc%d", 1 + below(7));
        break;
    case 1:
        std::snprintf(b, sizeof b, "lt%d", 1 + below(5));
        break;
    case 2:
        std::snprintf(b, sizeof b, "ly%x", below(32));
        break;
    case 3:
        std::snprintf(b, sizeof b, "pn%d", 1 + below(4));
        break;
    case 4:
        std::snprintf(b, sizeof b, "cn%d", 1 + below(5));
        break;
    default:
        std::snprintf(b, sizeof b, "z%d", 1 + below(2));
        break; // a prefix of the next
    }
    line(b);
}

} // namespace

int main(int argc, char** argv) {
    bool survey = argc == 4 && std::strcmp(argv[3], "survey") == 0;
    long long k = argc == 5 && std::strcmp(argv[3], "circles") == 0 ? std::atoll(argv[4]) : 0;
    if (argc != 3 && !survey && k <= 0) {
        std::fputs("usage: gen_drawing N SEED [survey | circles K] > ZOD_UZUD.TXT\n", stderr);
        return 2;
    }
    if (survey) {
        SHEET_X = SHEET_Y = -1000, SHEET_W = SHEET_H = 2000;
        CX = 0.5, CY = -0.25, R = 100;
        DECIMALS = 4, UNIT = 10000;
    }
    long long n = std::atoll(argv[1]);
    rng_state = std::strtoull(argv[2], nullptr, 10) * 0x2545F4914F6CDD1Dull + 1;

    line("hq");
    puts_("hs");
    for (int i = 0; i < 16; ++i) puts_(" 1");
    put("\r\n", 2);
    line("lg0");
    line("ly1");
    line("lc2");
    line("lt1");
    line("hhp1ci");
    puts_("ci");
    number(CX);
    number(CY);
    number(R);
    put("\r\n", 2);
    line("#");

    make_rounds(k);
    // The circles are written through the body, each before a segment, at an even rate.
    std::size_t next_round = 0;
    long long written = 0, near = 0, pairs = 0;
    auto put_rounds = [&] {
        while (next_round < rounds.size() &&
               static_cast<double>(next_round) * static_cast<double>(n) <=
                   static_cast<double>(written) * static_cast<double>(rounds.size())) {
            const Round& o = rounds[next_round++];
            puts_("ci");
            number(o.x);
            number(o.y);
            number(o.r);
            puts_(o.column ? " 0 360 1 0\r\n" : "\r\n");
        }
    };
    auto seg_ = [&](const Seg& s) {
        put_rounds();
        const int k = rounds.empty() ? 0 : rounds_near(s, false);
        near += k > 0, pairs += k;
        segment(s);
    };
    while (written < n) {
        int k = below(100);
        if (k < 2) { // a polyline block: a chain of segments, closed by "#"
            int members = 3 + below(10);
            line("pl");
            double x = SHEET_X + uniform(100, SHEET_W - 100);
            double y = SHEET_Y + uniform(100, SHEET_H - 100);
            for (int i = 0; i < members && written < n; ++i, ++written) {
                double a = uniform(0, 2 * M_PI), len = uniform(5, 60);
                Seg s = snap({x, y, x + len * std::cos(a), y + len * std::sin(a)});
                for (int tries = 0; !rounds.empty() && tries < 30 && near_round(s); ++tries) {
                    a = uniform(0, 2 * M_PI);
                    s = snap({x, y, x + len * std::cos(a), y + len * std::sin(a)});
                }
                seg_(s);
                x = s.x2, y = s.y2;
            }
            line("#");
        } else if (k < 6) {
            puts_("pt");
            number(SHEET_X + uniform(0, SHEET_W));
            number(SHEET_Y + uniform(0, SHEET_H));
            put("\r\n", 2);
        } else if (k < 8) {
            char b[32];
            puts_("ch");
            number(SHEET_X + uniform(0, SHEET_W));
            number(SHEET_Y + uniform(0, SHEET_H));
            number(uniform(5, 40));
            number(0);
            std::snprintf(b, sizeof b, " A-%d\r\n", below(1000));
            puts_(b);
        } else if (k < 10) {
            attribute();
        } else {
            if (!rounds.empty() && below(9) == 0)
                seg_(round_segment());
            else
                seg_(below(9) == 0 ? cut_segment() : plain_segment());
            ++written;
        }
    }
    put_rounds();
    flush();
    if (!rounds.empty())
        std::fprintf(stderr, "%lld of %lld segments near one of %zu circles, %lld pairs\n", near,
                     written, rounds.size(), pairs);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
