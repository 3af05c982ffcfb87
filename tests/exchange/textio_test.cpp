#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "exchange/platform.h"
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

// The final sync may not hear again of a failure that a sync in the background met, so the
// background's own failure must come back.
TEST(BackgroundSync, ReportsWhetherItsSyncsSucceeded) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    std::fputs("data", file);
    std::fflush(file);
    sync_in_background(file);
    sync_in_background(file);
    EXPECT_TRUE(end_background_sync(file));

    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::FILE* pipe_end = fdopen(fds[1], "wb"); // a pipe cannot be synced
    ASSERT_NE(pipe_end, nullptr);
    sync_in_background(pipe_end);
    EXPECT_FALSE(end_background_sync(pipe_end));
    EXPECT_TRUE(end_background_sync(pipe_end)); // nothing running: nothing failed
    // A failure belongs to the file synced: another file's close does not hear of it.
    sync_in_background(pipe_end);
    EXPECT_TRUE(end_background_sync(file));
    // The thread has its own descriptor, so the file may be closed while it syncs.
    sync_in_background(file);
    std::fclose(file);
    EXPECT_TRUE(end_background_sync(nullptr));
    std::fclose(pipe_end);
    close(fds[0]);
}
