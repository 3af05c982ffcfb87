// geos_peer IN OUT: the same job written with GEOS, for comparison. The segment records of IN
// are clipped against the designated circle and their outside pieces written to OUT with
// circle_erase's reader and number code; every other record is copied. One pass over the body.
#include <cstdio>
#include <string_view>

#include "geos_clip.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: geos_peer IN OUT\n", stderr);
        return 2;
    }
    Reader r;
    Writer w;
    if (!reader_open(r, argv[1])) return 1;
    // The boundary is the circle record after the marker, in the header.
    double cx = 0, cy = 0, cr = 0;
    std::string_view rec;
    bool marker = false, found = false;
    while (!found && read_record(r, rec)) {
        if (marker && rec.substr(0, 2) == "ci") found = fields(rec, 2).lf(cx).lf(cy).lf(cr).ok;
        marker = rec.substr(0, 6) == "hhp1ci";
    }
    reader_close(r);
    if (!found || !(cr > 0)) return 1;

    GeosRegion g = geos_region(cx, cy, cr);
    if (!reader_open(r, argv[1]) || !writer_open(w, argv[2])) return 1;
    while (read_record(r, rec)) {
        if (rec.empty() || rec[0] != ' ') {
            put_record(w, rec);
            continue;
        }
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        fields(rec, 1).lf(x1).lf(y1).lf(x2).lf(y2);
        geos_clip(g, &w, x1, y1, x2, y2);
    }
    bool ok = reader_close(r);
    ok = writer_close(w) && ok;
    geos_region_free(g);
    return ok ? 0 : 1;
}
