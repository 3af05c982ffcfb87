// The whole run of a drawing as the tool makes it, in memory: the pre-scan, the main pass and
// the post-pass's check.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "boundary/boundary.h"
#include "boundary/circles.h"
#include "driver/driver.h"
#include "exchange/attributes.h"
#include "exchange/output.h"
#include "exchange/postpass.h"
#include "text/streams.h"

inline std::string run_in_memory(const std::string& input,
                                 const std::vector<std::string>& options) {
    reset_all();
    for (const std::string& o : options) OPT(o.c_str());
    Reader scan;
    reader_open_memory(scan, input);
    std::string_view rec;
    for (long long n = 1; read_record(scan, rec); ++n) Pre_pro(rec, n);
    index_circles();
    std::string out;
    writer_open_memory(fpw, out);
    check_markers(fpw);
    reader_open_memory(fp, input);
    SHARP = 20;
    main_pass();
    IniZokusei();
    writer_close(fpw);
    return out;
}

// The records of a file written with CR LF, without them.
inline std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> v;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t e = text.find("\r\n", at);
        v.push_back(text.substr(at, e - at));
        at = e + 2;
    }
    return v;
}
