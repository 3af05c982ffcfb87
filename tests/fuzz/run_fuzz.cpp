// libFuzzer target over a whole run: the input is an exchange file, its first byte picks the
// options (mode, test mode, excluded pair or restyling, curves cut). A next byte with its top bit
// set puts a designated circle in front of the file, of the short form when bit 6 is set too, each
// field picked by a byte after it from values at and beyond the edges. The run works in a private
// temporary directory, so paths given to the fuzzer must be absolute.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "driver/driver.h"

static bool enter_scratch_directory() {
    char dir[] = "/tmp/ce_fuzz_XXXXXX";
    if (!mkdtemp(dir) || chdir(dir) != 0) std::abort();
    // Test mode 2 talks on the console; nobody reads it here.
    if (!std::freopen("/dev/null", "w", stdout)) std::abort();
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = enter_scratch_directory();
    (void)ready;
    static const char* const modes[] = {"-m0", "-m1", "-m2", "-m3", "-m4", "-m5", "-m6", "-m1"};
    static const char* const tests[] = {"x", "-t", "-t2", "-a"}; // -a: every closed circle too
    std::uint8_t pick = size > 0 ? data[0] : 0;
    if (size > 0) ++data, --size;
    static const char* const values[] = {"0",   "100",  "-1",    "90",    "360",   "0.5",   "nan",
                                         "inf", "-inf", "1e308", "1e155", "1e100", "1e-300"};
    std::string boundary;
    if (size > 0 && (data[0] & 0x80)) {
        const int fields = data[0] & 0x40 ? 3 : 7;
        ++data, --size;
        boundary = "hhp1ci\r\nci";
        for (int i = 0; i < fields; ++i) {
            std::uint8_t v = size > 0 ? data[0] : 0;
            if (size > 0) ++data, --size;
            boundary += ' ';
            boundary += values[v % 13];
        }
        boundary += "\r\n";
    }
    if (std::FILE* f = std::fopen("ZOD_UZUD.TXT", "wb")) {
        std::fwrite(boundary.data(), 1, boundary.size(), f);
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    const int pair = (pick >> 5) & 3;
    std::string e = pair == 3 ? "-k42" : "-e" + std::to_string(pair);
    char* argv[] = {const_cast<char*>("circle_erase"),           const_cast<char*>(modes[pick & 7]),
                    const_cast<char*>(tests[(pick >> 3) & 3]),   e.data(),
                    const_cast<char*>(pick & 0x80 ? "-c" : "x"), nullptr};
    run(5, argv);
    std::remove("ZOD_UZUD.$$$");
    return 0;
}
