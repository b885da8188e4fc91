// The game's bounded printer: the format is parsed one conversion at a time into an argFormat
// record, and every write goes through EmitString, which never passes the end of the output. It is
// also the formatter of PrintError, registered with the host's error log at start-up.
#include "lib/printing.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "host/errorlog.h"

static const int kMaxIntPrecision = 15;
static const int kMaxFloatPrecision = 30;
static const int kDefaultPrecision = 6;
// Widths and precisions read from a format stop growing here, well clear of int overflow; no
// buffer is that large anyway.
static const int kMaxFormatNumber = 1 << 30;
// Sign, 39 whole digits (FLT_MAX has 39), the point and 30 fraction digits, with room to spare.
static const int kFloatFieldSize = 80;

static void PutChar(argFormat* fmt, char c)
{
    if (fmt->maxOutputLen <= 0) return;
    *fmt->outputPtr++ = c;
    fmt->maxOutputLen--;
}

static void PutChars(argFormat* fmt, const char* s, int len)
{
    for (int i = 0; i < len && fmt->maxOutputLen > 0; i++) PutChar(fmt, s[i]);
}

static void PutRepeated(argFormat* fmt, char c, long long count)
{
    for (; count > 0 && fmt->maxOutputLen > 0; count--) PutChar(fmt, c);
}

// Writes one field: head (a sign), zeros, then body, then spaces to minFieldSize. The zeros are
// written one by one rather than built in a work area, so no width can overrun anything.
static void EmitField(argFormat* fmt, const char* head, int headLen, long long zeros, const char* body,
                      int bodyLen)
{
    PutChars(fmt, head, headLen);
    PutRepeated(fmt, '0', zeros);
    PutChars(fmt, body, bodyLen);
    PutRepeated(fmt, ' ', fmt->minFieldSize - (headLen + zeros + bodyLen));
}

int EmitString(const char* s, int len, argFormat* fmt)
{
    if (!fmt) return 0;
    if (!s || len < 0) len = 0;
    EmitField(fmt, nullptr, 0, 0, s, len);
    return 1;
}

// Writes the decimal digits of magnitude to out, most significant first; returns how many (<= 10).
static int UnsignedDigits(uint32_t magnitude, char* out)
{
    char reversed[10];
    int n = 0;
    do {
        reversed[n++] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    for (int i = 0; i < n; i++) out[i] = reversed[n - 1 - i];
    return n;
}

// Writes the exact decimal digits of a whole, finite, non-negative float; returns how many (<= 39).
// Every such float is below 2^128, so four 32-bit words hold it exactly and repeated division by
// ten gives its digits without the rounding a conversion through double or int would bring.
static int WholeFloatDigits(float whole, char* out)
{
    uint32_t bits;
    std::memcpy(&bits, &whole, sizeof bits);
    int exponent = int((bits >> 23) & 0xFF);
    if (exponent < 127) {  // below 1, and whole, so 0
        out[0] = '0';
        return 1;
    }
    uint32_t mantissa = (bits & 0x7FFFFF) | 0x800000;
    int shift = exponent - 150;  // value = mantissa * 2^shift, shift in [-23, 104]
    uint32_t words[4] = {0, 0, 0, 0};
    if (shift <= 0) {
        words[0] = mantissa >> -shift;
    } else {
        uint64_t placed = uint64_t(mantissa) << (shift % 32);
        words[shift / 32] = uint32_t(placed);
        if (shift / 32 < 3) words[shift / 32 + 1] = uint32_t(placed >> 32);
    }
    char reversed[40];
    int n = 0;
    bool more = true;
    while (more) {
        uint64_t remainder = 0;
        more = false;
        for (int i = 3; i >= 0; i--) {
            uint64_t current = (remainder << 32) | words[i];
            words[i] = uint32_t(current / 10);
            remainder = current % 10;
            if (words[i]) more = true;
        }
        reversed[n++] = char('0' + remainder);
    }
    for (int i = 0; i < n; i++) out[i] = reversed[n - 1 - i];
    return n;
}

static void FormatInt(argFormat* fmt, int value)
{
    char sign = 0;
    if (value < 0) {
        sign = '-';
    } else if (value > 0 && fmt->numberLeadChar) {
        sign = char(fmt->numberLeadChar);
    }
    int signLen = sign ? 1 : 0;
    // Negating in unsigned arithmetic gives INT_MIN's magnitude without overflow.
    uint32_t magnitude = value < 0 ? 0u - uint32_t(value) : uint32_t(value);
    char digits[10];
    int digitCount = UnsignedDigits(magnitude, digits);

    long long zeros = 0;
    if (fmt->padWithZeros && fmt->minFieldSize > signLen + digitCount) {
        zeros = fmt->minFieldSize - signLen - digitCount;
    }
    if (fmt->precisionSpecified) {
        int precision = fmt->precision < kMaxIntPrecision ? fmt->precision : kMaxIntPrecision;
        if (precision > digitCount) zeros += precision - digitCount;
    }
    EmitField(fmt, &sign, signLen, zeros, digits, digitCount);
}

static void FormatFloat(argFormat* fmt, double arg)
{
    float value = float(arg);
    char field[kFloatFieldSize];
    int n = 0;
    if (std::isnan(value)) {
        EmitField(fmt, nullptr, 0, 0, "nan", 3);
        return;
    }
    // -0.0 counts as zero, like any value that is not below zero: no minus sign on screen.
    if (value < 0.0f) {
        field[n++] = '-';
    } else if (fmt->numberLeadChar) {
        field[n++] = char(fmt->numberLeadChar);
    }
    value = std::fabs(value);
    if (std::isinf(value)) {
        std::memcpy(field + n, "inf", 3);
        EmitField(fmt, nullptr, 0, 0, field, n + 3);
        return;
    }

    float whole = std::trunc(value);
    float fraction = value - whole;  // exact in float
    int wholeDigits = WholeFloatDigits(whole, field + n);
    n += wholeDigits;

    bool significant = fmt->precisionIsSignificantDigits != 0;
    int precision = fmt->precision < kMaxFloatPrecision ? fmt->precision : kMaxFloatPrecision;
    if (significant) precision -= wholeDigits;
    bool point = fmt->printDecimal || (precision >= 1 && !(significant && fraction == 0.0f));
    if (point) field[n++] = '.';
    if (point) {
        // One truncated digit per unit of precision, worked in float like the value itself.
        for (int i = 0; i < precision; i++) {
            if (significant && fraction == 0.0f) break;
            float scaled = fraction * 10.0f;
            int digit = int(scaled);
            if (digit > 9) digit = 9;  // a fraction just below 1 can round up to 10 when scaled
            fraction = scaled - float(digit);
            field[n++] = char('0' + digit);
        }
    }
    EmitField(fmt, nullptr, 0, 0, field, n);
}

static void ResetField(argFormat* fmt)
{
    fmt->argType = kArgNone;
    fmt->printDecimal = 0;
    fmt->numberLeadChar = 0;
    fmt->padWithZeros = 0;
    fmt->minFieldSize = 0;
    fmt->fieldRightJustified = 0;
    fmt->precision = kDefaultPrecision;
    fmt->precisionSpecified = 0;
    fmt->precisionIsSignificantDigits = 0;
    fmt->printTrailingZeros = 0;
}

static bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Reads digits at *f into a number that stops growing at kMaxFormatNumber.
static int ReadFormatNumber(const unsigned char** f)
{
    long long number = 0;
    for (; IsDigit(**f); (*f)++) {
        number = number * 10 + (**f - '0');
        if (number > kMaxFormatNumber) number = kMaxFormatNumber;
    }
    return int(number);
}

// Parses flags, zero padding, width and precision after a '%'; returns where the conversion char is.
static const unsigned char* ParseField(const unsigned char* f, argFormat* fmt)
{
    for (;; f++) {
        if (*f == '#') {
            fmt->printDecimal = 1;
        } else if (*f == '+' || *f == ' ') {
            fmt->numberLeadChar = *f;
        } else if (*f != '-') {
            break;
        }
    }
    if (*f == '0') {
        fmt->padWithZeros = 1;
        f++;
    }
    fmt->minFieldSize = ReadFormatNumber(&f);
    if (*f == '.') {
        f++;
        if (IsDigit(*f)) {
            fmt->precision = ReadFormatNumber(&f);
            fmt->precisionSpecified = 1;
        }
    }
    return f;
}

int VPrintString(char* out, int size, const char* format, va_list args)
{
    if (!out || size < 1) return 0;
    argFormat fmt;
    ResetField(&fmt);
    fmt.outputPtr = out;
    fmt.maxOutputLen = size - 1;
    // Read as unsigned so that Latin-1 bytes compare sanely.
    const unsigned char* f = reinterpret_cast<const unsigned char*>(format ? format : "");
    while (*f) {
        if (*f != '%') {
            PutChar(&fmt, char(*f++));
            continue;
        }
        f++;
        if (*f == '%') {
            PutChar(&fmt, '%');
            f++;
            continue;
        }
        ResetField(&fmt);
        f = ParseField(f, &fmt);
        unsigned char conversion = *f;
        if (conversion == '\0') break;  // a lone '%' at the end prints nothing
        f++;
        switch (conversion) {
        case 'c':
            fmt.argType = kArgChar;
            PutChar(&fmt, char(static_cast<unsigned char>(va_arg(args, int))));
            PutRepeated(&fmt, ' ', fmt.minFieldSize - 1LL);
            break;
        case 'd':
        case 'i':
            fmt.argType = kArgInt;
            FormatInt(&fmt, va_arg(args, int));
            break;
        case 's': {
            fmt.argType = kArgString;
            const char* s = va_arg(args, const char*);
            if (!s) s = "(NULL)";
            // With a precision, never read past it: the string need not be terminated there.
            int len = 0;
            while ((!fmt.precisionSpecified || len < fmt.precision) && s[len]) len++;
            EmitString(s, len, &fmt);
            break;
        }
        case 'f':
            fmt.argType = kArgFloat;
            fmt.printTrailingZeros = 1;
            FormatFloat(&fmt, va_arg(args, double));
            break;
        case 'g':
        case 'G':
            fmt.argType = kArgFloat;
            fmt.precisionIsSignificantDigits = 1;
            FormatFloat(&fmt, va_arg(args, double));
            break;
        default:
            break;  // unknown conversion: nothing printed, no argument taken
        }
    }
    *fmt.outputPtr = '\0';
    return int(fmt.outputPtr - out);
}

int PrintString(char* out, int size, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int written = VPrintString(out, size, format, args);
    va_end(args);
    return written;
}
