// The game's bounded printer: the format is parsed one conversion at a time into an argFormat
// record, and every write goes through EmitString, which never passes the end of the output. It is
// also the formatter of PrintError, registered with the host's error log at start-up.
#include "lib/printing.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

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

// Writes the decimal digits of magnitude to out, most significant first; returns how many (<= 20).
static int UnsignedDigits(uint64_t magnitude, char* out)
{
    char reversed[20];
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

// An integer field: its sign (negative or not) and its magnitude.
static void FormatInt(argFormat* fmt, int negative, uint64_t magnitude)
{
    char sign = 0;
    if (negative) {
        sign = '-';
    } else if (magnitude > 0 && fmt->numberLeadChar) {
        sign = char(fmt->numberLeadChar);
    }
    int signLen = sign ? 1 : 0;
    char digits[20];
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

// The length modifiers: what size of integer a d, i or u conversion takes.
enum { kLengthInt, kLengthChar, kLengthShort, kLengthLong, kLengthLongLong, kLengthMax, kLengthSize, kLengthPtrdiff };

// Reads a length modifier at *f, if there is one.
static int ReadLength(const unsigned char** f)
{
    const unsigned char* p = *f;
    int length = kLengthInt;
    if (p[0] == 'h' && p[1] == 'h') length = kLengthChar, p += 2;
    else if (p[0] == 'l' && p[1] == 'l') length = kLengthLongLong, p += 2;
    else if (p[0] == 'h') length = kLengthShort, p++;
    else if (p[0] == 'l') length = kLengthLong, p++;
    else if (p[0] == 'j') length = kLengthMax, p++;
    else if (p[0] == 'z') length = kLengthSize, p++;
    else if (p[0] == 't') length = kLengthPtrdiff, p++;
    *f = p;
    return length;
}

// Takes a d or i argument of the given length: whether it is negative, and its magnitude.
static uint64_t SignedArg(va_list* args, int length, int* negative)
{
    int64_t value;
    switch (length) {
    case kLengthChar: value = static_cast<signed char>(va_arg(*args, int)); break;
    case kLengthShort: value = static_cast<short>(va_arg(*args, int)); break;
    case kLengthLong: value = va_arg(*args, long); break;
    case kLengthLongLong: value = va_arg(*args, long long); break;
    case kLengthMax: value = va_arg(*args, intmax_t); break;
    case kLengthSize: value = va_arg(*args, std::make_signed_t<size_t>); break;
    case kLengthPtrdiff: value = va_arg(*args, ptrdiff_t); break;
    default: value = va_arg(*args, int); break;
    }
    *negative = value < 0;
    // Negating in unsigned arithmetic gives the most negative value's magnitude without overflow.
    return value < 0 ? 0u - uint64_t(value) : uint64_t(value);
}

// Takes a u argument of the given length.
static uint64_t UnsignedArg(va_list* args, int length)
{
    switch (length) {
    case kLengthChar: return static_cast<unsigned char>(va_arg(*args, unsigned));
    case kLengthShort: return static_cast<unsigned short>(va_arg(*args, unsigned));
    case kLengthLong: return va_arg(*args, unsigned long);
    case kLengthLongLong: return va_arg(*args, unsigned long long);
    case kLengthMax: return va_arg(*args, uintmax_t);
    case kLengthSize: return va_arg(*args, size_t);
    case kLengthPtrdiff: return uint64_t(va_arg(*args, ptrdiff_t));
    default: return va_arg(*args, unsigned);
    }
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
    // A copy, so that the argument readers can take it by address whatever va_list is.
    va_list ap;
    va_copy(ap, args);
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
        const int length = ReadLength(&f);
        unsigned char conversion = *f;
        if (conversion == '\0') break;  // a lone '%' at the end prints nothing
        f++;
        switch (conversion) {
        case 'c':
            fmt.argType = kArgChar;
            PutChar(&fmt, char(static_cast<unsigned char>(va_arg(ap, int))));
            PutRepeated(&fmt, ' ', fmt.minFieldSize - 1LL);
            break;
        case 'd':
        case 'i': {
            fmt.argType = kArgInt;
            int negative = 0;
            const uint64_t magnitude = SignedArg(&ap, length, &negative);
            FormatInt(&fmt, negative, magnitude);
            break;
        }
        case 'u':
            fmt.argType = kArgInt;
            fmt.numberLeadChar = 0;  // as printf: '+' and ' ' are for signed conversions
            FormatInt(&fmt, 0, UnsignedArg(&ap, length));
            break;
        case 's': {
            fmt.argType = kArgString;
            const char* s = va_arg(ap, const char*);
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
            FormatFloat(&fmt, va_arg(ap, double));
            break;
        case 'g':
        case 'G':
            fmt.argType = kArgFloat;
            fmt.precisionIsSignificantDigits = 1;
            FormatFloat(&fmt, va_arg(ap, double));
            break;
        default:
            break;  // unknown conversion: nothing printed, no argument taken
        }
    }
    va_end(ap);
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
