// Attribute and prefix state, and the writers that put records into the running pass's output.
#pragma once
#include <string_view>

#include "exchange/point.h"

// Current attributes, set by the attribute records in both passes.
extern int COLOR;                              // line colour ("lc")
extern int TYPE;                               // line type ("lt")
extern int LAYER;                              // layer ("ly", hexadecimal)
extern int GROUP;                              // layer group ("lg", hexadecimal)
extern int TENS;                               // point attribute ("pn")
extern int MOJIS;                              // text attribute ("cn"; 0 after "cn0")
extern double MOJI_W[1], MOJI_H[1], MOJI_D[1]; // custom text size ("cn0")
extern int MOJI_C[1];

// First value the input gave each attribute; 20 means not captured yet.
extern int COLORi, TYPEi, LAYERi, GROUPi, TENSi, MOJISi;
extern double MOJIWi, MOJIHi, MOJIDi;
extern int MOJICi;

// Prefix records: ZOKU is the value just read, ZOKU_A the pending pair of the record at hand.
extern int ZOKU;
extern int ZOKU_A[2]; // [0] newer (line directly before), [1] older

void reset_attributes();

void capture(int& initial, int current); // initial takes current while it holds 20
void capture_cn0();                      // "cn0": the four sizes, tested on MOJISi
// An attribute record ("lg", "ly", "lt", "lc", "pn", "cn", "cn0") into the current attributes;
// in the first pass, the first value of each is captured too. False for any other record.
bool read_attribute(std::string_view rec, bool first);

// The pending prefix value of the newer line decides protection: 3, 4 or 5.
bool is_protected();

void ZZ_ZOKUSEI(long long n);
void WR_BACK(std::string_view rec);
void WR_Z_BACK();
void __TEN(const Point& p);
void __LINE(const Segment& s);
void __TEN_LINE(const Point& p, const Point& q);
void IniZokusei();
