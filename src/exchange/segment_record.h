// The segment record's common form, " x1 y1 x2 y2" of plain decimals: told and read in one scan
// of the line instead of a byte at a time, since most of a drawing's records have it.
#pragma once
#include <string_view>

#include "exchange/point.h"

// Four plain unsigned decimals (" 12 3. 4.5 6"), blanks between, blanks after, and the line end.
bool plain_segment(std::string_view line);
// A segment record of four plain decimals, each may have a '-', read as fields(rec, 1) reads
// them with lf(); false, s untouched, for any other form (the field readers take it then).
bool read_plain_segment(std::string_view rec, Segment& s);
