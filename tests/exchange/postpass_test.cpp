// The copy of the work file into the exchange file, in a directory of its own.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "exchange/postpass.h"

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

} // namespace
