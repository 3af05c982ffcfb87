#include "text/find_byte.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

// As memchr finds it, at every length about the 16-byte steps and every offset of the start.
TEST(FindByte, FindsWhatMemchrFinds) {
    std::mt19937 g(5);
    std::vector<char> buf(200);
    for (int round = 0; round < 20000; ++round) {
        for (char& c : buf) c = "ab\n\0"[g() % 4 == 0 ? 2 + g() % 2 : g() % 2];
        std::size_t from = g() % 40, n = g() % 100;
        if (g() % 3 == 0)
            for (std::size_t i = from; i < from + n; ++i) buf[i] = buf[i] == '\n' ? 'a' : buf[i];
        char c = "\n\0a"[g() % 3];
        const char* p = buf.data() + from;
        ASSERT_EQ(find_byte(p, p + n, c), static_cast<const char*>(std::memchr(p, c, n)))
            << from << " " << n;
    }
}

} // namespace
