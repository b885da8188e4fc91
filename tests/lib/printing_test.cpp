#include "lib/printing.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "host/errorlog.h"

namespace {

// Formats into a roomy buffer and returns the text, checking the returned count against it.
template <class... Args>
std::string Format(const char* format, Args... args)
{
    char buffer[512];
    int written = PrintString(buffer, sizeof buffer, format, args...);
    EXPECT_EQ(written, int(std::strlen(buffer))) << format;
    return buffer;
}

// Formats into size bytes followed by guard bytes that must survive.
template <class... Args>
std::string FormatGuarded(int size, int* written, const char* format, Args... args)
{
    const int kGuard = 16;
    std::vector<char> buffer(size_t(size + kGuard), '#');
    *written = PrintString(buffer.data(), size, format, args...);
    for (int i = size; i < size + kGuard; i++) EXPECT_EQ(buffer[size_t(i)], '#') << "guard byte " << i - size;
    if (size == 0) return std::string();
    return std::string(buffer.data());
}

TEST(PrintBasics, PercentAndUnknownConversions)
{
    EXPECT_EQ(Format("100%% strike"), "100% strike");
    EXPECT_EQ(Format("end%"), "end");  // a lone '%' at the end prints nothing
    EXPECT_EQ(Format("%5"), "");
    char buffer[8] = "xxxxxxx";
    EXPECT_EQ(PrintString(buffer, sizeof buffer, nullptr), 0);
    EXPECT_STREQ(buffer, "");
    // An unknown conversion prints nothing and takes no argument, with a length modifier too.
    EXPECT_EQ(Format("%x%d", 7), "7");
    EXPECT_EQ(Format("%5lx|%s", "pin"), "|pin");
}

// u, and every length modifier before d, i and u, take the argument of their type whole.
TEST(PrintInt, UnsignedAndLengthModifiers)
{
    EXPECT_EQ(Format("%u|%5u|%05u", 3000000000u, 7u, 42u), "3000000000|7    |00042");
    EXPECT_EQ(Format("%llu bytes, %u read, %d", 3221225472ull, 80108u, 80108), "3221225472 bytes, 80108 read, 80108");
    EXPECT_EQ(Format("%lld %ld %li", LLONG_MIN, -5000000000L, LONG_MAX), "-9223372036854775808 -5000000000 9223372036854775807");
    EXPECT_EQ(Format("%llu", ULLONG_MAX), "18446744073709551615");
    EXPECT_EQ(Format("%zu %zd %td %jd %ju", size_t(1) << 40, ptrdiff_t(-3), ptrdiff_t(-4), intmax_t(-5), uintmax_t(6)),
              "1099511627776 -3 -4 -5 6");
    // hh and h read an int and keep its low byte or half, as printf does.
    EXPECT_EQ(Format("%hhd %hhu %hd %hu", 0x1ff, 0x1ff, 0x18000, 0x18000), "-1 255 -32768 32768");
    EXPECT_EQ(Format("%+u % u %.3lu", 5u, 6u, 7ul), "5 6 007");
}

TEST(PrintInt, SignsPaddingPrecisionAndExtremes)
{
    EXPECT_EQ(Format("%i", -42), "-42");
    EXPECT_EQ(Format("%5d|", 42), "42   |");
    EXPECT_EQ(Format("%-5d|", 42), "42   |");  // '-' changes nothing
    EXPECT_EQ(Format("%05d", -42), "-0042");
    EXPECT_EQ(Format("%+d", 0), "0");
    EXPECT_EQ(Format("%+d", 5), "+5");
    EXPECT_EQ(Format("%+ d", 5), " 5");  // the later flag wins
    EXPECT_EQ(Format("% +d", 5), "+5");
    EXPECT_EQ(Format("%+05d", 5), "+0005");
    EXPECT_EQ(Format("%.3d", -7), "-007");
    EXPECT_EQ(Format("%.20d", 1), "000000000000001");  // precision capped at 15
    EXPECT_EQ(Format("%05.3d", 7), "0000007");          // both kinds of zeros add up
    EXPECT_EQ(Format("%6.3d|", 7), "007   |");
    EXPECT_EQ(Format("%d", INT_MIN), "-2147483648");
    EXPECT_EQ(Format("%+d", INT_MAX), "+2147483647");
    EXPECT_EQ(Format("%012d", INT_MIN), "-02147483648");
}

TEST(PrintString, StringsCharsAndLatin1)
{
    EXPECT_EQ(Format("%s", static_cast<const char*>(nullptr)), "(NULL)");
    EXPECT_EQ(Format("%.3s", "abcdef"), "abc");
    EXPECT_EQ(Format("%6s|", "ab"), "ab    |");
    EXPECT_EQ(Format("%.2s|", static_cast<const char*>(nullptr)), "(N|");
    EXPECT_EQ(Format("[%3c]", 'X'), "[X  ]");
    // A precision bounds the read: the chars need no terminator past it.
    const char unterminated[3] = {'a', 'b', 'c'};
    EXPECT_EQ(Format("%.3s", unterminated), "abc");
    // Latin-1 bytes pass through text, strings and chars alike.
    EXPECT_EQ(Format("%s", "gr\xfc\xdf"), "gr\xfc\xdf");
    EXPECT_EQ(Format("%c", 0xe9), "\xe9");
    EXPECT_EQ(Format("%c", -23), "\xe9");  // a negative char value is the same byte
    EXPECT_EQ(Format("\xb0%d\xe9", 5), "\xb0" "5\xe9");
    // A high byte where a width digit might be is text after an unknown conversion, not a digit.
    EXPECT_EQ(Format("%\xb9" "d", 5), "d");
}

TEST(PrintFloat, FixedPoint)
{
    EXPECT_EQ(Format("%.2f", 1.999), "1.99");  // truncated, not rounded
    EXPECT_EQ(Format("%+.1f", 0.0), "+0.0");
    EXPECT_EQ(Format("%.1f", -2.25), "-2.2");
    EXPECT_EQ(Format("%.0f", 3.75), "3");
    EXPECT_EQ(Format("%#.0f", 3.75), "3.");
    EXPECT_EQ(Format("%.f", 0.5), "0.500000");  // '.' without digits keeps the default
    EXPECT_EQ(Format("%8.2f|", 3.5), "3.50    |");
    EXPECT_EQ(Format("%08.2f|", 3.5), "3.50    |");  // zero padding is for integers only
    EXPECT_EQ(Format("%.40f", 0.5), "0.500000000000000000000000000000");  // capped at 30
}

TEST(PrintFloat, SignificantDigits)
{
    EXPECT_EQ(Format("%g", 2.5), "2.5");
    EXPECT_EQ(Format("%g", 3.0), "3");
    EXPECT_EQ(Format("%#g", 3.0), "3.");
    EXPECT_EQ(Format("%g", 0.0), "0");
    EXPECT_EQ(Format("%g", 123.25), "123.25");
    EXPECT_EQ(Format("%.3g", 123.25), "123");
    EXPECT_EQ(Format("%#.3g", 123.25), "123.");
    EXPECT_EQ(Format("%g", 1234567.0), "1234567");
}

TEST(PrintFloat, ValuesBeyondInt)
{
    EXPECT_EQ(Format("%.1f", 1e10), "10000000000.0");
    EXPECT_EQ(Format("%.0f", -1e20), "-100000002004087734272");  // the float's exact value
    EXPECT_EQ(Format("%.0f", double(std::numeric_limits<float>::max())),
              "340282346638528859811704183484516925440");
    EXPECT_EQ(Format("%g", 4294967296.0), "4294967296");
    EXPECT_EQ(Format("%.0f", 1e40), "inf");  // beyond float range
}

TEST(PrintFloat, SpecialValues)
{
    double inf = std::numeric_limits<double>::infinity();
    double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(Format("%f", inf), "inf");
    EXPECT_EQ(Format("%+f", inf), "+inf");
    EXPECT_EQ(Format("%f", nan), "nan");
    EXPECT_EQ(Format("%+f", -nan), "nan");
    EXPECT_EQ(Format("%5g|", nan), "nan  |");
    // Negative zero is zero; a value just below zero keeps its sign.
    EXPECT_EQ(Format("%.1f", -0.0), "0.0");
    EXPECT_EQ(Format("%+.1f", -0.0), "+0.0");
    EXPECT_EQ(Format("%g", -0.0), "0");
    EXPECT_EQ(Format("%.1f", -0.01), "-0.0");
}

TEST(PrintBounds, SmallBuffers)
{
    int written = -1;
    EXPECT_EQ(FormatGuarded(4, &written, "%d", 12345), "123");
    EXPECT_EQ(written, 3);
    EXPECT_EQ(FormatGuarded(1, &written, "%d", 12345), "");
    EXPECT_EQ(written, 0);
    FormatGuarded(0, &written, "%d", 12345);  // the guard check covers byte 0
    EXPECT_EQ(written, 0);
    EXPECT_EQ(PrintString(nullptr, 10, "%d", 1), 0);
    EXPECT_EQ(FormatGuarded(3, &written, "%5c", 'Z'), "Z ");
    EXPECT_EQ(FormatGuarded(6, &written, "%s and more", "a long string"), "a lon");
}

TEST(PrintBounds, WideAndLongFields)
{
    int written = 0;
    EXPECT_EQ(FormatGuarded(8, &written, "%1000d", 7), "7      ");
    EXPECT_EQ(FormatGuarded(8, &written, "%01000d", -7), "-000000");
    std::string wide = FormatGuarded(2000, &written, "%1000d|", 7);
    EXPECT_EQ(written, 1001);
    EXPECT_EQ(wide, "7" + std::string(999, ' ') + "|");
    std::string zeros = FormatGuarded(2000, &written, "%01000d", 7);
    EXPECT_EQ(zeros, std::string(999, '0') + "7");
    EXPECT_EQ(FormatGuarded(8, &written, "%.30f", 3.0e38), "3000000");
    std::string huge = FormatGuarded(200, &written, "%#.30f", -3.0e38);
    EXPECT_EQ(written, 1 + 39 + 1 + 30);
    EXPECT_EQ(huge.substr(0, 3), "-30");
    EXPECT_EQ(huge[40], '.');
    EXPECT_EQ(FormatGuarded(16, &written, "%99999999999999d", 1), "1              ");
    EXPECT_EQ(FormatGuarded(4, &written, "%.99999999999s", "abcdef"), "abc");
    std::string longText(5000, 'q');
    EXPECT_EQ(FormatGuarded(10, &written, "%s", longText.c_str()), std::string(9, 'q'));
}

TEST(PrintEmitString, PadsToTheFieldWidth)
{
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    argFormat fmt{};
    fmt.minFieldSize = 5;
    fmt.outputPtr = buffer;
    fmt.maxOutputLen = 4;
    ASSERT_EQ(EmitString("ab", 2, &fmt), 1);
    EXPECT_EQ(std::string(buffer, 5), "ab  #");  // padding stops when room runs out
    EXPECT_EQ(fmt.outputPtr, buffer + 4);
    EXPECT_EQ(fmt.maxOutputLen, 0);
}

TEST(PrintError, ReportsToTheHostAndReturnsZero)
{
    HostClearErrorLog();
    EXPECT_EQ(PrintError("lane %d: %s", 3, "no pins"), 0);
    EXPECT_EQ(HostErrorLog(), "lane 3: no pins\n");
    HostClearErrorLog();
    std::string longText(kErrorMessageSize + 100, 'e');
    PrintError("%s", longText.c_str());
    EXPECT_EQ(HostErrorLog(), std::string(kErrorMessageSize - 1, 'e') + "\n");
    HostClearErrorLog();
}

}  // namespace
