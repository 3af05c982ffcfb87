// The copy of the work file into the exchange file, in a directory of its own.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <unistd.h>

#include "exchange/postpass.h"
#include "text/streams.h"

namespace {

class PostPass : public ::testing::Test {
  protected:
    std::string home, dir;

    void SetUp() override {
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        home = cwd;
        char tmpl[] = "/tmp/ce_postpass_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        ASSERT_EQ(chdir(dir.c_str()), 0);
    }
    void TearDown() override {
        for (const char* f : {"ZOD_UZUD.TXT", "ZOD_UZUD.$$$", "ZOD_UZUD.$$N"}) std::remove(f);
        EXPECT_EQ(chdir(home.c_str()), 0);
        EXPECT_EQ(rmdir(dir.c_str()), 0) << "files left in " << dir;
    }
    static void put(const char* name, const std::string& bytes) {
        std::ofstream(name, std::ios::binary) << bytes;
    }
    static std::string get(const char* name) {
        std::ifstream in(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The exchange file after the post-pass over the given work file.
    static std::string run(const std::string& work) {
        put("ZOD_UZUD.$$$", work);
        EXPECT_TRUE(ChkPL());
        return get("ZOD_UZUD.TXT");
    }
};

const std::string SEG = " 1.0000000000000 2.0000000000000 3.0000000000000 4.0000000000000\r\n";

TEST_F(PostPass, SingleSegmentBlocksLoseTheirMarker) {
    struct Case {
        std::string work, exchange;
    } cases[] = {
        {"pl\r\n" + SEG + "#\r\n", "#pl\r\n" + SEG + "#\r\n"},
        {"pl\r\nz3\r\n" + SEG + "#\r\n", "#pl\r\nz3\r\n" + SEG + "#\r\n"},
        {"pl\r\nz3\r\nz4\r\n" + SEG + "#\r\n", "#pl\r\nz3\r\nz4\r\n" + SEG + "#\r\n"},
        // only the first two bytes of each record count
        {"plx\r\n" + SEG + "# end\r\n", "#pl\r\n" + SEG + "# end\r\n"},
        // a block closed by "#\npl\n" and the next one
        {"lc1\r\npl\r\n" + SEG + "#\r\npl\r\n" + SEG + "#\r\n" + "lg0\r\n",
         "lc1\r\n#pl\r\n" + SEG + "#\r\n#pl\r\n" + SEG + "#\r\nlg0\r\n"},
        {"pl\r\n" + SEG + SEG + "#\r\npl\r\n" + SEG + "#\r\n",
         "pl\r\n" + SEG + SEG + "#\r\n#pl\r\n" + SEG + "#\r\n"},
        // the work file's last line without a line end, or with a lone LF
        {"pl\r\n" + SEG + "#", "#pl\r\n" + SEG + "#\r\n"},
        {"pl\n 1 2 3 4\n#\n", "#pl\r\n 1 2 3 4\r\n#\r\n"},
    };
    for (auto& c : cases) EXPECT_EQ(run(c.work), c.exchange) << c.work;
}

TEST_F(PostPass, OtherBlocksPassUnchanged) {
    for (const std::string& work : {
             "pl\r\n" + SEG + SEG + "#\r\n",             // two segments
             "pl\r\n" + SEG + "lc1\r\n",                 // ends at an "l" record
             "pl\r\n" + SEG,                             // ends with the file
             "pl\r\nz1\r\nz2\r\nz3\r\n" + SEG + "#\r\n", // three prefixes
             "pl\r\n\r\n" + SEG + "#\r\n",               // an empty record between
             std::string("pl\r\n#\r\n"),                 // no segment
             "p\r\n" + SEG + "#\r\n",
             std::string("a\r\nb\r\n"),
             std::string("x\r\n"),
             std::string("\r\n\r\n"),
         })
        EXPECT_EQ(run(work), work) << work;
}

TEST_F(PostPass, EmptyWorkFileGivesEmptyExchangeFile) {
    put("ZOD_UZUD.TXT", "old contents\r\n");
    EXPECT_EQ(run(""), "");
}

TEST_F(PostPass, LongRecordsAreWholeRecords) {
    // 600 bytes: a single record, so the block holds one segment.
    std::string seg = " 1 2 3 4" + std::string(592, ' ') + "\r\n";
    std::string text = "ch 0 0 1 1 " + std::string(2000, 'A') + "\r\n";
    EXPECT_EQ(run(text + "pl\r\n" + seg + "#\r\n"), text + "#pl\r\n" + seg + "#\r\n");
}

TEST_F(PostPass, ReplacesAnExistingExchangeFileWhole) {
    put("ZOD_UZUD.TXT", std::string(5000, 'x') + "\r\n");
    EXPECT_EQ(run("a\r\n"), "a\r\n");
}

TEST_F(PostPass, MissingWorkFileLeavesTheExchangeFile) {
    put("ZOD_UZUD.TXT", "keep\r\n");
    EXPECT_FALSE(ChkPL());
    EXPECT_EQ(get("ZOD_UZUD.TXT"), "keep\r\n");
}

// The check as a five-record window over the records of a work file, each record tested when
// it enters: the independent statement of the rule that the writer's filter must match.
std::string window_reference(const std::string& work) {
    std::vector<std::string> recs;
    for (std::size_t at = 0; at < work.size();) {
        std::size_t nl = work.find('\n', at);
        std::size_t stop = nl == std::string::npos ? work.size() : nl + 1;
        std::string r = work.substr(at, stop - at);
        if (r.size() >= 2 && r.compare(r.size() - 2, 2, "\r\n") == 0) r.erase(r.size() - 2, 1);
        recs.push_back(r);
        at = stop;
    }
    auto starts = [](const std::string& r, const char* tag) { return r.rfind(tag, 0) == 0; };
    std::string B[5], out;
    auto put = [&](const std::string& r) {
        if (r.empty()) return;
        out += r.back() == '\n' ? r.substr(0, r.size() - 1) : r;
        out += "\r\n";
    };
    for (const std::string& r : recs) {
        B[0] = r;
        if (starts(B[2], "pl") && starts(B[1], " ") && starts(B[0], "#"))
            B[2] = "#pl\n";
        else if (starts(B[3], "pl") && starts(B[2], "z") && starts(B[1], " ") && starts(B[0], "#"))
            B[3] = "#pl\n";
        else if (starts(B[4], "pl") && starts(B[3], "z") && starts(B[2], "z") &&
                 starts(B[1], " ") && starts(B[0], "#"))
            B[4] = "#pl\n";
        put(B[4]);
        for (int i = 4; i > 0; --i) B[i] = B[i - 1];
    }
    for (int i = 4; i >= 1; --i) put(B[i]);
    return out;
}

// Streams of the lines that matter, cut into pieces anywhere (one byte at a time included):
// the filter gives what the window gives.
TEST(MarkerFilter, MatchesTheWindowWhereverTheBytesAreCut) {
    static const char* const LINES[] = {
        "pl",  "plx", "p",      "z1", "z",   " 1 2 3 4",      " ",  "#",    "# e",
        "lc1", "",    "pt 1 2", "\r", "x\r", "ch 0 0 1 1 pl", "pp", "z pl", " p"};
    std::mt19937_64 g(11);
    int replaced = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string work;
        int n = static_cast<int>(g() % 12);
        for (int i = 0; i < n; ++i) {
            if (g() % 3 == 0) { // a block's start, with up to three prefixes and a segment
                work += "pl\r\n";
                for (int z = static_cast<int>(g() % 4); z > 0; --z) work += "z1\r\n";
                work += " 1 2 3 4\r\n";
            }
            work += std::string(LINES[g() % std::size(LINES)]) + "\r\n";
        }
        if (g() % 4 == 0) work += LINES[g() % std::size(LINES)]; // a last line without its end
        std::string got;
        Writer w;
        writer_open_memory(w, got);
        check_markers(w);
        int step = 1 + static_cast<int>(g() % 6);
        for (std::size_t at = 0; at < work.size();) {
            std::size_t k = std::min<std::size_t>(work.size() - at, 1 + g() % step);
            w.filter->pass(w, std::string_view(work).substr(at, k), false);
            at += k;
        }
        w.filter->pass(w, {}, true);
        std::string want = window_reference(work);
        EXPECT_EQ(got, want) << "work: " << work;
        replaced += want.find("#pl") != std::string::npos;
    }
    EXPECT_GT(replaced, 100); // the streams do reach the rule
}

// Two writers through the check at once, one of them on the writer thread, their records put
// in turns: each check sees its own writer's records only, across many of the writer's chunks.
TEST(MarkerFilter, WritersOpenAtOnceCheckTheirOwnRecords) {
    static const char* const LINES[] = {"pl",  "plx", "p", "z1",     " 1 2 3 4", " ",    "#",
                                        "# e", "lc1", "",  "pt 1 2", "pp",       "z pl", " p"};
    char name[] = "/tmp/ce_marker_XXXXXX";
    int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    std::string sink, work[2];
    Writer w[2];
    ASSERT_TRUE(writer_open(w[0], name));
    check_markers(w[0]);
    hand_off(w[0]);
    writer_open_memory(w[1], sink);
    check_markers(w[1]);
    std::mt19937_64 g(13);
    while (work[0].size() < 3 * IO_CHUNK || work[1].size() < 3 * IO_CHUNK) {
        Writer& to = w[g() % 2];
        std::string& bytes = work[&to - w];
        for (int n = static_cast<int>(g() % 40); n > 0; --n) {
            const char* r = LINES[g() % std::size(LINES)];
            if (g() % 4 == 0) { // a block of one segment, with up to two prefixes
                put_record(to, "pl");
                bytes += "pl\r\n";
                for (int z = static_cast<int>(g() % 3); z > 0; --z) {
                    put_record(to, "z1");
                    bytes += "z1\r\n";
                }
                put_record(to, " 1 2 3 4");
                bytes += " 1 2 3 4\r\n";
                r = "#";
            }
            put_record(to, r);
            bytes += std::string(r) + "\r\n";
        }
    }
    ASSERT_TRUE(writer_close(w[0]));
    ASSERT_TRUE(writer_close(w[1]));
    std::ifstream in(name, std::ios::binary);
    const std::string file{std::istreambuf_iterator<char>(in), {}};
    std::remove(name);
    const std::string want[2] = {window_reference(work[0]), window_reference(work[1])};
    EXPECT_NE(want[0], work[0]); // markers were taken back
    EXPECT_TRUE(file == want[0]);
    EXPECT_TRUE(sink == want[1]);
}

} // namespace
