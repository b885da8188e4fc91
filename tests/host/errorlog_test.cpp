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
