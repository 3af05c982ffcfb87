#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <new>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "exchange/postpass.h"
#include "os/os.h"
#include "text/streams.h"

static std::vector<std::string> records_of(std::string_view bytes) {
    Reader r;
    reader_open_memory(r, bytes);
    std::vector<std::string> out;
    std::string_view rec;
    while (read_record(r, rec)) out.emplace_back(rec);
    reader_close(r);
    return out;
}

// The same through a file, read in chunks; a file that cannot be written or read fails.
static std::vector<std::string> records_of_file(const std::string& bytes) {
    char name[] = "/tmp/ce_reader_XXXXXX";
    int fd = mkstemp(name);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<long>(bytes.size()));
    close(fd);
    std::vector<std::string> out;
    Reader r;
    EXPECT_TRUE(reader_open(r, name));
    std::string_view rec;
    while (read_record(r, rec)) out.emplace_back(rec);
    EXPECT_TRUE(reader_close(r));
    std::remove(name);
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

// A file is read in chunks, and its CR LF may become LF in the chunk itself: records must
// be the same as from memory wherever the chunks end, through lines longer than a chunk.
TEST(TextIo, FileReadsAsMemoryAcrossChunks) {
    std::mt19937_64 g(3);
    std::string bytes;
    while (bytes.size() < 4 * IO_CHUNK) {
        std::size_t n = g() % 5000 == 0 ? IO_CHUNK + g() % 100 : g() % 90;
        for (std::size_t i = 0; i < n; ++i) bytes += "ab\r 1."[g() % 6];
        bytes += g() % 3 ? "\r\n" : "\n";
    }
    bytes += "last\r";
    std::vector<std::string> from_file = records_of_file(bytes);
    std::vector<std::string> want = records_of(bytes);
    EXPECT_GT(want.size(), 10000u);
    EXPECT_TRUE(from_file == want);
}

// The CR of a CR LF is the last byte of the first chunk and its LF the first of the next: the
// two still read as one LF.
TEST(TextIo, CrLfSplitAcrossChunksReadsAsLf) {
    const std::string middle(IO_CHUNK - 4, 'b'); // its CR at offset IO_CHUNK - 1
    const std::string bytes = "a\r\n" + middle + "\r\nc\r\n";
    ASSERT_EQ(bytes[IO_CHUNK - 1], '\r');
    ASSERT_EQ(bytes[IO_CHUNK], '\n');
    std::vector<std::string> got = records_of_file(bytes);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[1].size(), middle.size() + 1); // no stray CR
    EXPECT_TRUE(got == (std::vector<std::string>{"a\n", middle + "\n", "c\n"}));
}

// Records passed over in bulk are the ones read_record would have read, in the same forms:
// the last of each run as it reads it (its CR LF turned), wherever chunks end and in memory.
TEST(TextIo, SkippedRecordsAreThoseReadOneByOne) {
    std::mt19937_64 g(7);
    std::string bytes;
    while (bytes.size() < 3 * IO_CHUNK) {
        static const char* const LINES[] = {
            " 1.5 2 3 4", " 1 -2 3 4", "pt 1 2", "",
            " ",          "-",         " 1\r2",  " 12345678901234567890 1 2 3"};
        bytes +=
            g() % 4000 == 0 ? " " + std::string(IO_CHUNK / 2 + g() % 100, '7') : LINES[g() % 8];
        bytes += g() % 3 ? "\n" : "\r\n";
    }
    bytes += " 1 2 3 4\r"; // the last line has no line end
    char name[] = "/tmp/ce_skip_XXXXXX";
    int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<long>(bytes.size()));
    close(fd);
    const std::vector<std::string> all = records_of(bytes);
    for (bool file : {true, false}) {
        Reader r;
        if (file) {
            ASSERT_TRUE(reader_open(r, name));
        } else {
            reader_open_memory(r, bytes);
        }
        std::size_t i = 0, skipped = 0;
        std::string_view rec;
        for (;;) {
            if (g() % 4) {
                std::size_t k = skip_records(r, ' ', '-', rec);
                ASSERT_LE(i + k, all.size());
                for (std::size_t j = i; j < i + k; ++j)
                    ASSERT_TRUE(all[j][0] == ' ' && all[j].find('-') == std::string::npos) << j;
                if (k) { ASSERT_EQ(rec, all[i + k - 1]); }
                i += k;
                skipped += k;
            }
            if (!read_record(r, rec)) break;
            ASSERT_LT(i, all.size());
            ASSERT_EQ(rec, all[i]) << i;
            ++i;
        }
        EXPECT_EQ(i, all.size());
        EXPECT_GT(skipped, all.size() / 4);
        EXPECT_TRUE(reader_close(r));
    }
    std::remove(name);
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

// Runs of records, texts and segment lines that fill blocks with bytes, with segment lines
// and with records longer than a block: drained here or on the writer thread, each comes
// out as it would by itself, in order.
TEST(TextIo, BlocksKeepTheirOrderWhereverTheyAreDrained) {
    char name[] = "/tmp/ce_writer_XXXXXX";
    int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    auto play = [](Writer& w, unsigned seed, std::string* want) {
        std::mt19937_64 g(seed);
        static const char* const SHORT[] = {"pl", "z1", "#", "lc1", "", "pt 1 2", " 1 2 3 4"};
        for (int i = 0; i < 12000; ++i) {
            switch (g() % 8) {
            case 0: { // a record longer than a block now and then
                std::string r(g() % 50 == 0 ? BLOCK + g() % 1000 : g() % 80, 'a');
                for (char& c : r) {
                    c = static_cast<char>(g() % 256);
                    if (c == '\n') c = 'n'; // a record holds no LF before its end
                }
                put_record(w, r);
                if (want) *want += r + "\r\n";
                break;
            }
            case 1: {
                std::string t = "x\ny\n";
                put_text(w, t);
                if (want) *want += "x\r\ny\r\n";
                break;
            }
            case 2:
            case 3: {
                std::string r = SHORT[g() % std::size(SHORT)];
                put_record(w, r + "\n");
                if (want) *want += r + "\r\n";
                break;
            }
            default: {
                double v[4];
                for (double& x : v) {
                    x = std::uniform_real_distribution<double>(-1e6, 1e6)(g);
                    if (g() % 500 == 0) x = -1.7e308; // the longest a number gets
                }
                put_segment_line(w, v[0], v[1], v[2], v[3]);
                if (want) {
                    std::vector<char> buf(1500);
                    int n = std::snprintf(buf.data(), buf.size(), " %.13f %.13f %.13f %.13f\r\n",
                                          v[0], v[1], v[2], v[3]);
                    *want += std::string(buf.data(), n);
                }
            }
            }
        }
    };
    auto file_bytes = [&] {
        std::ifstream in(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    for (unsigned seed = 1; seed <= 4; ++seed) {
        for (bool filtered : {false, true}) {
            std::string want, here;
            Writer w;
            writer_open_memory(w, here);
            if (filtered) check_markers(w);
            play(w, seed, filtered ? nullptr : &want);
            ASSERT_TRUE(writer_close(w));
            EXPECT_TRUE(filtered || here == want) << "seed " << seed;

            ASSERT_TRUE(writer_open(w, name));
            if (filtered) check_markers(w);
            hand_off(w);
            play(w, seed, nullptr);
            ASSERT_TRUE(writer_close(w));
            EXPECT_TRUE(file_bytes() == here) << "seed " << seed << " filtered " << filtered;
        }
    }
    std::remove(name);
}

// Memory running out in the writer's filter, on either thread, fails the writer; the process
// goes on to clean up.
TEST(TextIo, FilterOutOfMemoryFailsTheWriter) {
    char name[] = "/tmp/ce_writer_XXXXXX";
    int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    for (bool threaded : {false, true}) {
        Writer w;
        ASSERT_TRUE(writer_open(w, name));
        struct OutOfMemory : Filter {
            void pass(Writer&, std::string_view, bool) override { throw std::bad_alloc(); }
        };
        w.filter = std::make_unique<OutOfMemory>();
        if (threaded) hand_off(w);
        auto play = [&w] {
            for (int i = 0; i < 100000; ++i) put_segment_line(w, i, 1, 2, 3);
            return writer_close(w);
        };
        if (threaded) {
            EXPECT_TRUE(w.handed_off);
            EXPECT_FALSE(play());
        } else {
            EXPECT_THROW(play(), std::bad_alloc); // for the run to catch
            writer_abandon(w);
        }
    }
    std::remove(name);
}

// A file in /tmp holding the bytes; its name.
static std::string temp_file(const std::string& bytes) {
    char name[] = "/tmp/ce_streams_XXXXXX";
    int fd = mkstemp(name);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<long>(bytes.size()));
    close(fd);
    return name;
}

static std::string file_contents(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Streams open at once, used in turns: two readers of files and one of memory, two writers to
// memory and two to files (one of them on the writer thread, where it can be had). Each reads
// and writes its own bytes, through chunks and blocks running out at different times.
TEST(TextIo, StreamsOpenAtOnceKeepTheirOwnBytes) {
    std::mt19937_64 g(5);
    // Records of every length up to past a chunk, each stream's beginning with its own letter.
    auto record = [&g](char tag) {
        std::string r(g() % 3000 == 0 ? IO_CHUNK + g() % 100 : 1 + g() % 120, ' ');
        r[0] = tag;
        for (std::size_t i = 1; i < r.size(); ++i) r[i] = "0123456789 .-e"[g() % 14];
        return r;
    };

    std::vector<std::string> want[3]; // what each reader reads
    std::string bytes[3];
    for (int i = 0; i < 3; ++i)
        while (bytes[i].size() < 2 * IO_CHUNK + 5000) {
            std::string r = record(static_cast<char>('a' + i));
            bytes[i] += r + (g() % 2 ? "\r\n" : "\n");
            want[i].push_back(r + "\n");
        }
    const std::string names[2] = {temp_file(bytes[0]), temp_file(bytes[1])};
    Reader in[3];
    ASSERT_TRUE(reader_open(in[0], names[0].c_str()));
    ASSERT_TRUE(reader_open(in[1], names[1].c_str()));
    reader_open_memory(in[2], bytes[2]);
    std::size_t at[3] = {0, 0, 0};
    std::string_view rec;
    for (int left = 3; left > 0;) {
        int i = static_cast<int>(g() % 3);
        if (at[i] > want[i].size()) continue;
        if (read_record(in[i], rec)) {
            ASSERT_LT(at[i], want[i].size()) << "reader " << i;
            ASSERT_EQ(rec, want[i][at[i]]) << "reader " << i << " record " << at[i];
        } else {
            ASSERT_EQ(at[i], want[i].size()) << "reader " << i << " ends early";
            --left;
        }
        ++at[i];
    }
    for (Reader& r : in) EXPECT_TRUE(reader_close(r));
    for (const std::string& n : names) std::remove(n.c_str());

    std::string sink[2], expect[4];
    const std::string out_names[2] = {temp_file(""), temp_file("")};
    Writer out[4];
    writer_open_memory(out[0], sink[0]);
    writer_open_memory(out[1], sink[1]);
    ASSERT_TRUE(writer_open(out[2], out_names[0].c_str()));
    ASSERT_TRUE(writer_open(out[3], out_names[1].c_str()));
    hand_off(out[2]);
    hand_off(out[3]); // the thread is taken: this one drains its own blocks
    EXPECT_TRUE(out[2].handed_off);
    for (int step = 0; step < 80000; ++step) {
        int i = static_cast<int>(g() % 4);
        if (g() % 2) {
            std::string r = record(static_cast<char>('w' + i));
            put_record(out[i], r);
            expect[i] += r + "\r\n";
        } else {
            double v[4];
            for (double& x : v) x = std::uniform_real_distribution<double>(-1e5, 1e5)(g);
            put_segment_line(out[i], v[0], v[1], v[2], v[3]);
            char line[200];
            int n = std::snprintf(line, sizeof line, " %.13f %.13f %.13f %.13f\r\n", v[0], v[1],
                                  v[2], v[3]);
            expect[i].append(line, n);
        }
    }
    for (Writer& w : out) EXPECT_TRUE(writer_close(w));
    EXPECT_GT(expect[3].size(), 2 * BLOCK);
    EXPECT_TRUE(sink[0] == expect[0]);
    EXPECT_TRUE(sink[1] == expect[1]);
    EXPECT_TRUE(file_contents(out_names[0]) == expect[2]);
    EXPECT_TRUE(file_contents(out_names[1]) == expect[3]);
    for (const std::string& n : out_names) std::remove(n.c_str());
}
