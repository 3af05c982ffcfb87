// The segment record's common form, " x1 y1 x2 y2" of plain decimals, read from one scan of the
// line instead of a byte at a time: most of a drawing's records have it.
#pragma once
#include <string_view>

#include "base/point.h"

// A segment record of four plain decimals, each may have a '-', read as fields(rec, 1) reads
// them with lf(); false, s untouched, for any other form (the field readers take it then).
bool read_plain_segment(std::string_view rec, Segment& s);
// A segment record's four reals into s as fields(rec, 1) reads them with lf(), by whichever
// reader can; the count of fields read (a field that fails leaves it and later ones as were).
int read_segment(std::string_view rec, Segment& s);
