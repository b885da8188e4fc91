#include "support/device_heap.h"
#include "lib/strings.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "host/arena.h"
#include "lib/memory.h"

namespace {

// Upper-cases a copy of text in a buffer with room to grow.
std::string Upper(const std::string& text)
{
    std::string buffer = text + std::string(16, '\0');
    UpperCase(&buffer[0]);
    return buffer.c_str();
}

// Runs ReadInt on a copy of text; *rest gets what follows the number.
int ReadFrom(const char* text, int* value, std::string* rest)
{
    std::string buffer = text;
    char* p = &buffer[0];
    int ok = ReadInt(&p, value);
    *rest = p;
    return ok;
}

TEST(StringBasics, CopyAppendEqualDup)
{
    char buffer[32];
    std::memset(buffer, 'x', sizeof buffer);
    ASSERT_EQ(CopyString("spare", buffer), 1);
    ASSERT_EQ(AppendString(" frame", buffer), 1);
    EXPECT_STREQ(buffer, "spare frame");
    EXPECT_EQ(buffer[12], 'x');  // nothing written past the NUL
    EXPECT_EQ(CopyString(nullptr, buffer), 0);

    EXPECT_EQ(EqualString("lane", "Lane"), 0);
    EXPECT_EQ(EqualString("lane", "lanes"), 0);
    EXPECT_EQ(EqualString("lanes", "lane"), 0);
    EXPECT_EQ(EqualString("", nullptr), 0);

    ASSERT_TRUE(UseFreshDeviceHeap(256 * 1024, 256));
    char* copy = DupString("gutter");
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy, "gutter");
    EXPECT_TRUE(ArenaContains(copy, 7));
    EXPECT_EQ(DupString(nullptr), nullptr);
    FreeManagedMemory(copy, 0);
    DisposeMemoryHeap(&deviceHeap);
    HostArenaDispose();
}

TEST(StringUpperCase, AsciiAndLatin1)
{
    // y diaeresis loses 32 to become 223 and must not then be taken for a sharp s.
    EXPECT_EQ(Upper("Pin 10, \xe9t\xe9 \xf7 \xff!"), "PIN 10, \xc9T\xc9 \xd7 \xdf!");
    EXPECT_EQ(Upper("\xc0\xde{}@[`"), "\xc0\xde{}@[`");  // already upper, or not letters
}

TEST(StringUpperCase, SharpSGrowsTheStringAndDropsTrailingBlanks)
{
    EXPECT_EQ(Upper("stra\xdf" "e"), "STRASSE");
    EXPECT_EQ(Upper("gro\xdf" " ball \t\r\n  "), "GROSS BALL");
    EXPECT_EQ(Upper("\xdf\xdf" "a"), "SSSSA");
    // Longer than any fixed working area: the move must work in place.
    EXPECT_EQ(Upper("\xdf" + std::string(1000, 'b') + "   "), "SS" + std::string(1000, 'B'));

    char last[8] = "a\xdf";
    std::memset(last + 3, 'x', 5);
    UpperCase(last);
    EXPECT_STREQ(last, "ASS");
    EXPECT_EQ(last[4], 'x');  // exactly one byte of growth
}

TEST(StringFindSubstring, StartPositionsAndEndOfTextRule)
{
    const char* text = "ten pin bowling";
    int textLen = StringLength(text);
    int index = -1;
    EXPECT_EQ(FindSubstring(text, textLen, "pin", &index), 1);
    EXPECT_EQ(index, 4);
    // A match that ends exactly at textLen is out of reach; one char more of textLen finds it.
    EXPECT_EQ(FindSubstring(text, textLen, "bowling", &index), 0);
    EXPECT_EQ(FindSubstring(text, textLen + 1, "bowling", &index), 1);
    EXPECT_EQ(index, 8);
    // The NUL stops the search even when textLen says there is more.
    EXPECT_EQ(FindSubstring("ab\0cd", 6, "cd", nullptr), 0);
    EXPECT_EQ(FindSubstring("ab", 2, "abc", nullptr), 0);
    EXPECT_EQ(FindSubstring("", 0, "", &index), 1);
    EXPECT_EQ(FindSubstring(text, textLen, "", nullptr), 0);
}

TEST(StringTokenizer, SkipBlankSpaceAndComments)
{
    char blanks[] = " \t\r\n";
    char* p = blanks;
    EXPECT_EQ(SkipBlankSpace(&p), 0);
    EXPECT_EQ(p, blanks + 4);

    char commented[] = "  // first\r\n\t// second\n  value // trailing";
    p = commented;
    EXPECT_EQ(SkipComments(&p), 1);
    EXPECT_EQ(std::strncmp(p, "value", 5), 0);
    p += 5;
    char* before = p;
    EXPECT_EQ(SkipComments(&p), 0);
    EXPECT_EQ(p, before);  // only a comment remains: not moved

    char single[] = "/b";  // one slash is not a comment
    p = single;
    EXPECT_EQ(SkipComments(&p), 1);
    EXPECT_EQ(p, single);
}

TEST(StringTokenizer, EndOfLine)
{
    auto endOfLine = [](std::string text) {
        char* p = &text[0];
        char* start = p;
        int result = EndOfLine(&p);
        EXPECT_EQ(p, start);
        return result;
    };
    EXPECT_EQ(endOfLine("  12"), 0);
    EXPECT_EQ(endOfLine("  \r\n12"), 1);
    EXPECT_EQ(endOfLine(" // note\n 12"), 1);
    EXPECT_EQ(endOfLine(" \t "), 1);
    EXPECT_EQ(endOfLine(" // note"), 1);
}

TEST(StringTokenizer, GetWord)
{
    char text[] = "// header\n  alley\tlane,7\r\nchampionship";
    char* p = text;
    char word[32];
    ASSERT_EQ(GetWord2(word, &p), 1);
    EXPECT_STREQ(word, "alley");
    EXPECT_EQ(*p, '\t');
    ASSERT_EQ(GetWord2(word, &p), 1);
    EXPECT_STREQ(word, "lane,7");  // only blanks end a word

    // The bounded form truncates but still moves past the whole word.
    std::memset(word, 'x', sizeof word);
    ASSERT_EQ(GetWordBounded(word, 5, &p), 1);
    EXPECT_STREQ(word, "cham");
    EXPECT_EQ(word[5], 'x');
    EXPECT_EQ(*p, '\0');
    EXPECT_EQ(GetWord2(word, &p), 0);
}

TEST(StringReadInt, NumbersAndTheirTerminators)
{
    int value = 0;
    std::string rest;
    ASSERT_EQ(ReadFrom("  -17)", &value, &rest), 1);
    EXPECT_EQ(value, -17);
    EXPECT_EQ(rest, ")");
    ASSERT_EQ(ReadFrom("12a", &value, &rest), 1);
    EXPECT_EQ(value, 12);
    EXPECT_EQ(rest, "a");
    ASSERT_EQ(ReadFrom("\r\n+300, 4>", &value, &rest), 1);
    EXPECT_EQ(value, 300);
    EXPECT_EQ(rest, ", 4>");
    ASSERT_EQ(ReadFrom("+-8>", &value, &rest), 1);  // '+' then '-' is allowed in that order only
    EXPECT_EQ(value, -8);
    EXPECT_EQ(rest, ">");
}

TEST(StringReadInt, FailuresAndEmptyNumbers)
{
    int value = 99;
    std::string rest;
    EXPECT_EQ(ReadFrom("a", &value, &rest), 0);
    EXPECT_EQ(rest, "a");
    EXPECT_EQ(value, 99);
    EXPECT_EQ(ReadFrom("-+8", &value, &rest), 0);
    ASSERT_EQ(ReadFrom("- 5", &value, &rest), 1);  // no digits before a terminator: 0
    EXPECT_EQ(value, 0);
    EXPECT_EQ(rest, " 5");
}

TEST(StringReadInt, ValuesBeyondIntSaturate)
{
    char text[] = "2147483647 -2147483648 2147483648 -2147483649 99999999999999999999999,";
    char* p = text;
    int value = 0;
    const int expected[] = {INT_MAX, INT_MIN, INT_MAX, INT_MIN, INT_MAX};
    for (int want : expected) {
        ASSERT_EQ(ReadInt(&p, &value), 1);
        EXPECT_EQ(value, want);
    }
    EXPECT_EQ(*p, ',');  // all the digits were consumed
}

}  // namespace
