// The character archive's content: its ids clear of every other archive, every garment a skinned
// model on bones its body has, coloured by a texture of the archive, the hair groups' texture
// before their models, and each item of the shop dressed in the colour it is named for.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "content.h"
#include "screens/frontend_fixture.h"
#include "content_bowler.h"
#include "game/animation.h"
#include "model_writer.h"

namespace {

// The skinned model records of a member, read back from its image: flags, material ids, palette bones.
struct ModelInfo {
    uint32_t flags = 0;
    std::set<uint32_t> materials;
    std::set<int> bones;
};

uint32_t U32(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24; }

ModelInfo ReadModel(const std::vector<uint8_t>& b)
{
    ModelInfo m;
    m.flags = U32(b, 0);
    const uint32_t numMaterials = U32(b, 4), numVerts = U32(b, 12), vertSize = b[21], numStrips = U32(b, 224),
                   numIndices = U32(b, 232);
    size_t at = 384 + size_t(numVerts) * vertSize + 2 * size_t(numIndices);
    for (uint32_t s = 0; s < numStrips; ++s, at += 64) {
        const int n = b[at + 10];
        for (int i = 0; i < n; ++i) m.bones.insert(b[at + 11 + size_t(i)]);
    }
    for (uint32_t i = 0; i < numMaterials; ++i) m.materials.insert(U32(b, at + 24 * size_t(i)));
    return m;
}

TEST(CharacterArchiveContent, LiesAboveEveryOtherArchive)
{
    int highest = 0;
    for (const mkrom::Resource& r : mkrom::BuildContent()) highest = std::max(highest, r.id);
    for (const mkrom::ArchiveRange& range : mkrom::ArchiveRanges()) EXPECT_LE(range.endId, kCharacterArchiveFirst) << range.name;
    EXPECT_LT(highest, kCharacterArchiveFirst) << "the single archive owns up to its highest id";
    EXPECT_LE(mkrom::kCharacterArchiveEnd, mkrom::kMaxResourceIds);
    for (const mkrom::Resource& r : mkrom::CharacterArchiveContent()) {
        EXPECT_GE(r.id, kCharacterArchiveFirst);
        EXPECT_LT(r.id, mkrom::kCharacterArchiveEnd);
    }
}

TEST(CharacterArchiveContent, GarmentsAreSkinnedOnTheirBodysBonesWithTheArchivesTextures)
{
    std::map<int, const mkrom::Resource*> groups;
    const std::vector<mkrom::Resource> content = mkrom::CharacterArchiveContent();
    for (const mkrom::Resource& r : content) groups[r.id] = &r;
    ASSERT_TRUE(groups.count(9800));
    const size_t textures = groups[9800]->members.size();
    EXPECT_EQ(textures, 37u);

    // Every body's own group, and the shared one made on the first body, must fit that body.
    std::vector<std::pair<int, int>> checks = {{9801, 911}};
    for (int i = 0; i < kNumAnimationBodies; ++i) checks.push_back({9810 + i, animationBodyRSIDs[i]});
    for (const auto& c : checks) {
        ASSERT_TRUE(groups.count(c.first)) << c.first;
        const size_t bones = mkrom::BowlerBoneNames(c.second).size();
        for (const mkrom::Resource& member : groups[c.first]->members) {
            ASSERT_EQ(member.type, 126);
            const ModelInfo m = ReadModel(member.bytes);
            EXPECT_EQ(m.flags & 0x800u, 0x800u);
            ASSERT_EQ(m.materials.size(), 1u);
            const uint32_t tex = *m.materials.begin();
            EXPECT_EQ(tex >> 16, 9800u);
            EXPECT_LT(tex & 0xFFFF, textures);
            ASSERT_FALSE(m.bones.empty());
            EXPECT_LT(size_t(*m.bones.rbegin()), bones) << c.first;
        }
    }
    // The shared garments hang on the legs and the head only, whose bones every body numbers alike.
    const std::vector<std::string> first = mkrom::BowlerBoneNames(911);
    for (int i = 0; i < kNumAnimationBodies; ++i) {
        const std::vector<std::string> names = mkrom::BowlerBoneNames(animationBodyRSIDs[i]);
        for (const mkrom::Resource& member : groups[9801]->members)
            for (int b : ReadModel(member.bytes).bones) EXPECT_EQ(names.at(size_t(b)), first.at(size_t(b)));
    }
    for (int hair = 9830; hair < 9834; ++hair) {
        ASSERT_TRUE(groups.count(hair));
        const auto& members = groups[hair]->members;
        ASSERT_EQ(members.size(), 4u);
        EXPECT_EQ(members[0].type, 125) << "the texture comes first, so the models find it loaded";
        for (size_t k = 1; k < members.size(); ++k) EXPECT_EQ(*ReadModel(members[k].bytes).materials.begin(), uint32_t(hair) << 16);
    }
}

TEST_F(FrontEndTest, EveryShopItemIsDressedInTheColourItIsNamedFor)
{
    // The colour words of the item names, each with a colour that looks so.
    const struct {
        const char* word;
        int r, g, b;
    } kWords[] = {{"Red", 200, 30, 35},     {"Blue", 30, 80, 200},    {"Green", 40, 150, 80},   {"Gold", 250, 200, 30},
                  {"Black", 20, 20, 20},    {"Dark", 20, 20, 20},     {"White", 240, 240, 240}, {"Purple", 140, 50, 170},
                  {"Orange", 240, 120, 30}, {"Navy", 35, 40, 70},     {"Grey", 120, 120, 120},  {"Khaki", 180, 160, 120},
                  {"Denim", 60, 80, 120},   {"Brown", 100, 60, 35},   {"Tan", 190, 150, 100},   {"Amber", 200, 160, 50}};
    int checked = 0;
    for (const char* table : {"Shirts", "Pants", "Skirts", "Shoes", "HatsM", "HatsF", "GlassesM", "GlassesF", "GlovesL",
                              "GlovesR"}) {
        sBasicDbTable* items = Game(table);
        ASSERT_TRUE(items && items->rows > 0) << table;
        for (int row = 0; row < items->rows; ++row) {
            // An item's name is column 1, the texture it is dressed in column 13.
            const std::string name = BasicDbTable_GetStrElement(items, row, 1), word = name.substr(0, name.find(' '));
            const int texture = BasicDbTable_GetElementI(items, 13, row, -1);
            uint8_t rgb[3];
            ASSERT_TRUE(mkrom::GarmentTextureColour(texture, rgb)) << name;
            // The colour word nearest to the texture's main colour ("Dark" and "Black" look alike).
            std::string nearest;
            long best = -1;
            for (const auto& w : kWords) {
                const long d = (rgb[0] - w.r) * (rgb[0] - w.r) + (rgb[1] - w.g) * (rgb[1] - w.g) + (rgb[2] - w.b) * (rgb[2] - w.b);
                if (best < 0 || d < best) {
                    best = d;
                    nearest = w.word;
                }
            }
            bool named = false;
            for (const auto& w : kWords) named = named || word == w.word;
            if (!named) continue;  // a name without a colour ("Classic Slider")
            if (word == "Dark" && nearest == "Black") nearest = "Dark";
            EXPECT_EQ(nearest, word) << table << ": " << name << " wears texture " << texture;
            ++checked;
        }
    }
    EXPECT_GT(checked, 50);
}

}  // namespace
