// The game's own bounded formatted printer. It knows a small printf-like language:
//   %%            a '%'
//   %[flags][0][width][.precision]conversion
//   flags         '#' always print the decimal point of a float; '+' or ' ' before numbers that
//                 are not negative (the later of the two wins); '-' is accepted and ignored, as
//                 every field is left-justified and padded with spaces after it to the width
//   0             integers are padded with zeros between the sign and the digits to the width
//   length        hh, h, l, ll, j, z or t before d, i or u: the argument's integer type, as printf
//   conversions   c (int arg), d and i (signed), u (unsigned), s (string, "(NULL)" for null),
//                 f, g and G (double)
// Any other conversion letter (x, o, e, p...) prints nothing and takes no argument; there is no
// exponent form. The printing functions are declared with the compiler's printf format check,
// which cannot tell which of printf's conversions this printer lacks: the code uses none of them.
//
// Integers: a specified precision (at most 15) adds zeros before the digits until those zeros
// plus the digits reach it; the sign of zero is never printed.
// Floats: converted to float first; the whole part is printed in full, then up to precision
// (default 6, at most 30) fraction digits, truncated, never rounded. For g and G the whole-part
// digits count against the precision and the fraction stops at the first exact zero remainder,
// with no point at all for a whole number unless '#' is given. The sign follows the sign bit, so
// -0.0 prints as "-0.000000". Infinities print as "inf" and "-inf", NaN as "nan".
#pragma once

#include <cstdarg>

// PrintError, the game's diagnostic message, is the host's error log's; it formats with
// VPrintString once start-up has registered that as the formatter.
#include "host/errorlog.h"

enum { kArgNone = 0, kArgChar = 1, kArgInt = 2, kArgFloat = 3, kArgString = 4 };

// One conversion, as parsed from the format, and where its output goes.
struct argFormat {
    int argType;                       // kArgNone..kArgString
    int printDecimal;                  // '#'
    int numberLeadChar;                // '+', ' ' or 0
    int padWithZeros;
    int minFieldSize;
    int fieldRightJustified;           // never set: fields are always left-justified
    int precision;                     // 6 unless given
    int precisionSpecified;
    int precisionIsSignificantDigits;  // g, G
    int printTrailingZeros;            // f
    char* outputPtr;                   // where the next char goes
    int maxOutputLen;                  // chars that may still be written, not counting the NUL
};

// Formats into out, writing at most size - 1 chars and always the NUL after them, and returns
// the number of chars written. Output that does not fit is dropped. A null format prints an
// empty string; a null out or a size below 1 writes nothing and returns 0.
int PrintString(char* out, int size, const char* format, ...) __attribute__((format(printf, 3, 4)));
int VPrintString(char* out, int size, const char* format, va_list args) __attribute__((format(printf, 3, 0)));

// Writes len chars of s at fmt->outputPtr while room is left, then spaces until the field is
// fmt->minFieldSize wide, moving outputPtr and maxOutputLen on. Returns 1 (0 for a null fmt).
int EmitString(const char* s, int len, argFormat* fmt);

