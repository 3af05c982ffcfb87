// Attribute and prefix state, and the writers that put records into the running pass's output.
#pragma once
#include <string_view>

#include "base/point.h"

// Current attributes, set by the attribute records in both passes.
extern int COLOR;        // line colour ("lc")
extern int TYPE;         // line type ("lt")
extern int LAYER;        // layer ("ly", hexadecimal)
extern int GROUP;        // layer group ("lg", hexadecimal)
extern int TENS;         // point attribute ("pn")
extern int MOJIS;        // text attribute ("cn"; 0 after "cn0")
extern double MOJI_W[1]; // custom text size ("cn0"): its first real
extern double MOJI_H[1]; //   its second real
extern double MOJI_D[1]; //   its third real
extern int MOJI_C[1];    //   and its integer

// First value the input gave each attribute; 20 means not captured yet.
extern int COLORi;    // of COLOR
extern int TYPEi;     // of TYPE
extern int LAYERi;    // of LAYER
extern int GROUPi;    // of GROUP
extern int TENSi;     // of TENS
extern int MOJISi;    // of MOJIS
extern double MOJIWi; // of MOJI_W[0] (-20 until captured)
extern double MOJIHi; // of MOJI_H[0]
extern double MOJIDi; // of MOJI_D[0]
extern int MOJICi;    // of MOJI_C[0]

// The line colour and type in force for the host where the output of the main pass stands:
// set by its "lc" and "lt" records, and before them the first values, which the trailer takes
// for those in force at the start. The restore after restyled pieces (-k) writes them.
extern int COLORo;   // colour
extern int TYPEo;    // line type
extern int RESTYLED; // 1 while the output is switched to the restyled colour and type (-k)

// Prefix records: ZOKU is the value just read, ZOKU_A the pending pair of the record at hand.
extern int ZOKU;      // the value of the "z" record just read, 0 when none
extern int ZOKU_A[2]; // [0] newer (line directly before), [1] older

void reset_attributes();
// At the start of the main pass: COLORo and TYPEo from the first values.
void start_in_force();

void capture(int& initial, int current); // initial takes current while it holds 20
void capture_cn0();                      // "cn0": the four sizes, tested on MOJISi
// An attribute record ("lg", "ly", "lt", "lc", "pn", "cn", "cn0") into the current attributes;
// in the first pass, the first value of each is captured too. False for any other record.
bool read_attribute(std::string_view rec, bool first);

// The pending prefix value of the newer line decides protection: 3, 4 or 5.
bool is_protected();

// Before record n of the pass (from 0): the "z" value just read becomes the pending pair.
void ZZ_ZOKUSEI(long long n);
// The pending prefix records, older first, each when not 0, then rec as it was read: after the
// restyle switch when restyled, else after the restore (-k).
void WR_BACK(std::string_view rec, bool restyled = false);
// The pending prefix records alone, before a record the clipping writes itself.
void WR_Z_BACK();
void __TEN(const Point& p);                      // "pt x y", 13 decimals
void __LINE(const Segment& s);                   // " x1 y1 x2 y2", 13 decimals
void __TEN_LINE(const Point& p, const Point& q); // the segment from p to q, as __LINE
// -k: the switch to the restyled colour and type, and the restore of those in force, each
// written only where the output is not already so. Neither goes inside an open polyline block
// (a record beginning with 'l' would end it there): the block is closed with "#" first.
void restyle_begin();
void restyle_end();
// The trailer: the attributes in force at the start of the input, restored for the host.
void IniZokusei();
