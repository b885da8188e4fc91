#include "support/table_reads.h"

#include <gtest/gtest.h>

#include <string>

#include "host/errorlog.h"

void WatchTableReads() { HostClearErrorLog(); }

void ExpectEveryTableReadListed()
{
    const std::string log = HostErrorLog();
    EXPECT_EQ(log.find("is read but not on the list checked at load"), std::string::npos) << log;
}
