// Field readers with the C conversions' rules ("%lf", "%d", "%x", "%2c") and number writers
// with printf's ("%.13f", "%d", "%x"), one implementation for every platform.
#pragma once
#include <cstddef>
#include <string_view>

// Reads fields in order from a byte offset of a record. A NUL byte or the record's end ends
// the input (end is the record's end: the readers stop at a NUL themselves). Once a field
// fails, it and every later field keep their previous values.
struct Fields {
    const char* p;
    const char* end;
    bool ok;
    int count; // fields stored so far

    Fields& lf(double& v); // "%lf": blanks, sign, decimal/hex real, inf, nan
    Fields& d(int& v);     // "%d": saturates to INT_MIN / INT_MAX
    Fields& x(int& v);     // "%x": modulo 2^32 when it fits 32 bits, else 0xFFFFFFFF
    Fields& c2(char* v);   // "%2c": exactly two bytes, no blanks skipped
    Fields& lit(char c);   // a literal byte of the format
    Fields& blanks();      // a blank of the format: any run of white space
};

Fields fields(std::string_view rec, std::size_t offset);

// C's atoi, saturating instead of overflowing.
int atoi_sat(const char* s);

// Number writers: append to out and return the new end. out needs room for FIXED_MOST bytes
// for a fixed real (1e308 has 309 digits), 24 for an integer.
inline constexpr int FIXED_MOST = 350;
char* put_fixed(char* out, double v, int decimals);
char* put_int(char* out, long long v);
char* put_hex(char* out, int v); // the 32-bit pattern, lower case
