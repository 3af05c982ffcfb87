#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/textio.h"

static std::vector<std::string> records_of(std::string_view bytes) {
    Reader r;
    reader_open_memory(r, bytes);
    std::vector<std::string> out;
    std::string_view rec;
    while (read_record(r, rec)) out.emplace_back(rec);
    reader_close(r);
    return out;
}

TEST(TextIo, ReadsAsWindowsTextMode) {
    using V = std::vector<std::string>;
    EXPECT_EQ(records_of("a\r\nb\nc"), (V{"a\n", "b\n", "c"}));
    EXPECT_EQ(records_of("x\ry\r\n"), (V{"x\ry\n"})); // a lone CR is an ordinary byte
    EXPECT_EQ(records_of("x\r\r\n"), (V{"x\r\n"}));   // only the CR before LF goes
    EXPECT_EQ(records_of("a\r\n\x1A"
                         "b\r\n"),
              (V{"a\n"})); // 0x1A ends the input
    EXPECT_EQ(records_of("ab\x1A"), (V{"ab"}));
    EXPECT_EQ(records_of(std::string("a\0b\n", 4)), (V{std::string("a\0b\n", 4)}));
    EXPECT_EQ(records_of(""), V{});
    EXPECT_EQ(records_of("\r\n\n"), (V{"\n", "\n"}));
}

TEST(TextIo, WritesEveryLineFeedAsCrLf) {
    std::string sink;
    Writer w;
    writer_open_memory(w, sink);
    put_text(w, "a\nb");
    put_record(w, "c\n");
    put_record(w, "last");
    put_record(w, "x\r\n");
    EXPECT_TRUE(writer_close(w));
    EXPECT_EQ(sink, "a\r\nbc\r\nlast\r\nx\r\r\n");
}
