#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/device_heap.h"
#include "content.h"
#include "host/arena.h"
#include "host/host.h"
#include "lib/memory.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "platform/fileserver.h"
#include "shell/globals.h"
#include "shell/startup.h"

namespace {

// The game data of the build, opened the way start-up opens it: as the single archive, and as the
// split set that stands in for it.
class BuildGameData : public ::testing::TestWithParam<const char*> {
protected:
    HostOptions saved;

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(32 << 20), 1);
        saved = gHostOptions;
        gHostOptions.romDir = std::string(ZENDROLYX_BUILD_DIR) + "/" + GetParam();
        done = 0;
        ASSERT_EQ(FileSystemInit(), 1);
        ASSERT_EQ(InitResources(10000), 1);
    }
    void TearDown() override
    {
        FreeResources();
        FileSystemDispose();
        ReleaseDeviceHeap();
        gHostOptions = saved;
    }
};

TEST_P(BuildGameData, OpensAndLoadsTheTestResources)
{
    ASSERT_EQ(OpenResources(), 1);
    EXPECT_EQ(useMultipleResources, std::string(GetParam()) == "rom-split" ? 1 : 0);
    unsigned usedBefore = deviceHeap.memoryUsed;

    auto* text = static_cast<const char*>(ReadResource(mkrom::kTestPlainResource));
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, mkrom::kTestPlainText);

    auto* table = static_cast<const uint8_t*>(ReadResource(mkrom::kTestCompressedResource));
    ASSERT_NE(table, nullptr);
    for (uint32_t i = 0; i < mkrom::kTestCompressedSize; ++i) ASSERT_EQ(table[i], mkrom::TestCompressedByte(i)) << i;

    for (int group : {mkrom::kTestPlainGroup, mkrom::kTestCompressedGroup}) {
        ASSERT_EQ(LoadResourceGroup(group), 1) << group;
        int members = NumResourcesInGroup(group);
        EXPECT_EQ(members, group == mkrom::kTestPlainGroup ? mkrom::kTestPlainGroupMembers
                                                           : mkrom::kTestCompressedGroupMembers);
        for (int m = 0; m < members; ++m) {
            std::vector<uint8_t> expected = mkrom::TestMemberBytes(group, m);
            const void* data = ResourceHandle((group << 16) | m);
            ASSERT_NE(data, nullptr);
            EXPECT_EQ(std::memcmp(data, expected.data(), expected.size()), 0) << group << " member " << m;
        }
    }

    EXPECT_EQ(DisposeResourceRange(mkrom::kTestPlainResource, mkrom::kTestCompressedGroup), 1);
    EXPECT_EQ(deviceHeap.memoryUsed, usedBefore) << "everything loaded was given back";
}

INSTANTIATE_TEST_SUITE_P(Forms, BuildGameData, ::testing::Values("rom", "rom-split"));

}  // namespace
