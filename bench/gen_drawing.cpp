// gen_drawing N SEED: an exchange file of N segment records as a host writes it, with points,
// texts, polyline blocks and attribute records mixed in, and a detail circle that cuts about a
// tenth of the segments. Deterministic from the seed.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

static std::uint64_t state;
static double uniform(double lo, double hi) { // splitmix64
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return lo + (hi - lo) * static_cast<double>(z >> 11) / 9007199254740992.0;
}

int main(int argc, char** argv) {
    long long n = argc > 1 ? std::atoll(argv[1]) : 1000000;
    state = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    std::FILE* o = stdout;
    std::fputs("hq\r\nhs 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\nlg0\r\nly1\r\nlc2\r\nlt1\r\n", o);
    // Segments of up to 40 units in a 1000 x 1000 sheet: a circle of radius 150 cuts ~10 %.
    std::fputs("hhp1ci\r\nci 500 500 150\r\n# generated drawing\r\n", o);
    for (long long i = 0; i < n; ++i) {
        if (i % 50 == 0) std::fprintf(o, "pt %.3f %.3f\r\n", uniform(0, 1000), uniform(0, 1000));
        if (i % 97 == 0)
            std::fprintf(o, "ch %.3f %.3f 12.5 2.5 ROOM %lld\r\n", uniform(0, 1000),
                         uniform(0, 1000), i);
        if (i % 500 == 0) std::fprintf(o, "lc%d\r\n", static_cast<int>(uniform(1, 8)));
        if (i % 200 == 0) {
            std::fputs("pl\r\n", o);
            double x = uniform(0, 1000), y = uniform(0, 1000);
            for (int k = 0; k < 5 && i < n; ++k, ++i) {
                double x2 = x + uniform(-20, 20), y2 = y + uniform(-20, 20);
                std::fprintf(o, " %.3f %.3f %.3f %.3f\r\n", x, y, x2, y2);
                x = x2, y = y2;
            }
            std::fputs("#\r\n", o);
            continue;
        }
        double x = uniform(0, 1000), y = uniform(0, 1000);
        std::fprintf(o, " %.3f %.3f %.3f %.3f\r\n", x, y, x + uniform(-20, 20),
                     y + uniform(-20, 20));
    }
    return 0;
}
