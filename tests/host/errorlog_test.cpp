// The error log: a step that takes the count of messages before it begins can always name the first
// fault it met, however many messages came after.
#include "host/errorlog.h"

#include <gtest/gtest.h>

#include <string>

TEST(ErrorLog, TheFirstFaultAfterAStepBeganOutlastsAFloodOfLaterOnes)
{
    const long before = HostErrorsReported();
    PrintError("the first fault");
    // Far more than the log keeps: a badly damaged file reports a fault a line.
    const std::string filler(200, 'x');
    for (int i = 0; i < 1000; ++i) PrintError("a later fault %s", filler.c_str());
    EXPECT_EQ(HostErrorLog().find("the first fault"), std::string::npos) << "the flood did not push it out of the log";
    EXPECT_EQ(HostErrorReported(before), "the first fault");
    HostClearErrorLog();
}

// Names are written by one rule wherever the game prints them: nothing in a name can end its
// quotes, break its line or steer a terminal, while the letters of any language stay as they are;
// a name too long for a line keeps its beginning and its end. Messages are kept whole.
TEST(ErrorLog, NamesAreQuotedByOneRuleAndMessagesKeptWhole)
{
    EXPECT_EQ(HostQuoted("rom:/Video/a\" is fine; \"b.mkv"), "\"rom:/Video/a\\\" is fine; \\\"b.mkv\"");
    EXPECT_EQ(HostQuoted("a\\b"), "\"a\\\\b\"");
    EXPECT_EQ(HostQuoted("\x1b[2J\r\nx\x7f"), "\"\\x1b[2J\\x0d\\x0ax\\x7f\"");
    // Not UTF-8: a lone continuation byte, a sequence cut short, an overlong form, a C1 control.
    EXPECT_EQ(HostQuoted("\x80|\xc3|\xc0\xaf|\xc2\x9b"), "\"\\x80|\\xc3|\\xc0\\xaf|\\xc2\\x9b\"");
    EXPECT_EQ(HostQuoted("Kegelbahn \xc3\xa9\xe2\x82\xac\xf0\x9f\x8e\xb3"),
              "\"Kegelbahn \xc3\xa9\xe2\x82\xac\xf0\x9f\x8e\xb3\"");

    const std::string longName = "start" + std::string(400, '\x01') + "end";
    const std::string quoted = HostQuoted(longName.c_str());
    EXPECT_LE(quoted.size(), size_t(kMaxEscapedName) + 2);
    EXPECT_EQ(quoted.compare(0, 10, "\"start\\x01"), 0) << quoted;
    EXPECT_EQ(quoted.substr(quoted.size() - 8), "\\x01end\"") << quoted;
    EXPECT_NE(quoted.find("..."), std::string::npos) << quoted;

    // A message of the longest listed path is kept whole, and a raw byte in it is written escaped.
    HostClearErrorLog();
    const std::string path(255, 'p');
    PrintError("%s is missing\n; the remedy", HostQuoted(path.c_str()).c_str());
    EXPECT_EQ(HostErrorLog(), "\"" + path + "\" is missing\\x0a; the remedy\n");
    HostClearErrorLog();
}
