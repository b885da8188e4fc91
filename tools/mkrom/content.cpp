#include "content.h"
#include "content_menus.h"
#include "content_bowler.h"
#include "content_models.h"
#include "content_objects.h"
#include "content_fonts.h"
#include "content_menuwidgets.h"
#include "content_overlays.h"
#include "content_shaders.h"

#include <cstring>

namespace mkrom {

const std::vector<ArchiveRange>& ArchiveRanges()
{
    static const std::vector<ArchiveRange> ranges = {
        // Shaders and data shared by every screen; ids 1-7 belong to the UI framework's own archive.
        {"3DS", kUiBaseFont + 1, 100},
        // Alley n owns the hundred from n x 100: its environment, layer, area and collision groups.
        {"E_Alley1", 100, 200},
        {"E_Alley2", 200, 300},
        {"E_Alley3", 300, 400},
        {"E_Alley4", 400, 500},
        {"E_Alley5", 500, 600},
        {"E_Alley6", 600, 700},
        // The bowlers' body meshes (911-1023) and their animations (1301-1439) at the game's own ids.
        {"Players", 900, 1300},
        {"Motions", 1300, 1500},
        // The game's fonts at 3050-3084; below them the UI framework's keyboard font and test panel.
        {"Fonts", 2200, 3200},
        {"Overlays", 3200, 3600},
        // Props and lane objects, up to the ball, pin and aim models and the ball table (5000-5016).
        {"Objects", 3600, 5400},
        {"Voice", 5400, 6400},
        {"TestFX", 6400, 7000},
        // The shared sounds at 9000-9017 and the streamed music after them.
        {"Sound", 9000, 9100},
    };
    return ranges;
}

static Resource Data(int id, int16_t type, std::vector<uint8_t> bytes, bool compressed)
{
    Resource r;
    r.id = id;
    r.type = type;
    r.bytes = std::move(bytes);
    r.compressed = compressed;
    return r;
}

// A byte pattern that repeats every period bytes, so that compressed members shrink.
static std::vector<uint8_t> Pattern(size_t size, uint8_t seed, size_t period)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; i++) bytes[i] = uint8_t(seed + (i % period) * 7);
    return bytes;
}

std::vector<uint8_t> TestMemberBytes(int groupId, int member)
{
    if (groupId == kTestPlainGroup) {
        // Sizes 128, 200, 50: one already padded, two that need padding.
        static const size_t sizes[kTestPlainGroupMembers] = {128, 200, 50};
        if (member < 0 || member >= kTestPlainGroupMembers) return {};
        return Pattern(sizes[member], uint8_t(0x10 * (member + 1)), 256);
    }
    if (groupId == kTestCompressedGroup) {
        static const size_t sizes[kTestCompressedGroupMembers] = {1024, 100, 2000, 128};
        if (member < 0 || member >= kTestCompressedGroupMembers) return {};
        return Pattern(sizes[member], uint8_t(0x40 + member), member % 2 == 0 ? 16 : 256);
    }
    return {};
}

static Resource TestGroup(int id, int numMembers, bool compressEven)
{
    Resource group;
    group.id = id;
    group.type = kTypeGroup;
    for (int m = 0; m < numMembers; m++)
        group.members.push_back(Data(0, 1, TestMemberBytes(id, m), compressEven && m % 2 == 0));
    return group;
}

std::vector<Resource> BuildContent()
{
    std::vector<Resource> content;

    const char* text = kTestPlainText;
    content.push_back(Data(kTestPlainResource, 0, std::vector<uint8_t>(text, text + sizeof(kTestPlainText)), false));

    std::vector<uint8_t> table(kTestCompressedSize);
    for (uint32_t i = 0; i < kTestCompressedSize; i++) table[i] = TestCompressedByte(i);
    content.push_back(Data(kTestCompressedResource, 1, std::move(table), true));

    content.push_back(TestGroup(kTestPlainGroup, kTestPlainGroupMembers, false));
    content.push_back(TestGroup(kTestCompressedGroup, kTestCompressedGroupMembers, true));

    for (Resource& r : CollisionContent()) content.push_back(std::move(r));
    for (Resource& r : AreaContent()) content.push_back(std::move(r));
    for (Resource& r : BallContent()) content.push_back(std::move(r));
    for (Resource& r : BowlerContent()) content.push_back(std::move(r));
    for (Resource& r : ModelContent()) content.push_back(std::move(r));
    for (Resource& r : ShaderContent()) content.push_back(std::move(r));
    for (Resource& r : SoundContent()) content.push_back(std::move(r));
    for (Resource& r : ObjectContent()) content.push_back(std::move(r));
    for (Resource& r : FontContent()) content.push_back(std::move(r));
    for (Resource& r : OverlayContent()) content.push_back(std::move(r));
    for (Resource& r : CardContent()) content.push_back(std::move(r));
    for (Resource& r : ParticleContent()) content.push_back(std::move(r));
    for (Resource& r : ParticleToolContent()) content.push_back(std::move(r));
    for (Resource& r : MenuContent()) content.push_back(std::move(r));
    for (Resource& r : MenuWidgetContent()) content.push_back(std::move(r));
    return content;
}

}  // namespace mkrom
