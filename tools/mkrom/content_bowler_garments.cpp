// The character archive: what the bowlers wear. Garments are skinned tube models a little wider
// than the body's own tubes, on the bowler skeleton, so that they cover the body where they are
// worn. The legs, the feet and the head carry the same bones at the same bind positions on every
// body mesh, so trousers, shorts, bare legs, socks, shoes, caps, glasses and hair are made once;
// shirts and gloves follow the arms, which differ by body mesh, and are made for each.
//
// Every garment model is coloured by a source texture; a player's record swaps it for one of the
// destination textures, so that one model dresses every bowler in their own colours. The textures
// are 1 texel wide and 2 tall: row 0 the main colour, row 1 the trim (a shirt's sleeves and
// collar, the body palette's socks).
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "bitmap_writer.h"
#include "content_bowler.h"
#include "content_models.h"
#include "game/animation.h"
#include "host/gpu.h"
#include "lib/characterarchive.h"
#include "model_writer.h"

namespace mkrom {

namespace {


constexpr int kHairColours = 4;

constexpr float kMain = 0.25f;  // texture rows
constexpr float kTrim = 0.75f;

struct Rgb {
    uint8_t r, g, b;
};

RgbaImage TwoTone(Rgb main, Rgb trim)
{
    RgbaImage img(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            uint8_t* p = img.At(x, y);
            const Rgb c = y < 4 ? main : trim;
            p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = 255;
        }
    return img;
}

Resource Texture(Rgb main, Rgb trim) { return BitmapResource(0, TwoTone(main, trim), kPixelRGB565); }

// The garment textures in member order: main colour and trim. Each item's destination texture
// (its "textureDst" in the item tables) wears the colour the item is named for.
const Rgb kSkin = {224, 172, 140}, kWhite = {240, 240, 240};
const Rgb kGarmentColours[][2] = {
    // The body palette: the same skin as the bodies' own texture.
    {kSkin, kWhite}, {kSkin, kWhite}, {kSkin, kWhite}, {kSkin, kWhite},
    // Shirts: the source, then red, blue, green, gold, black, white, purple and orange, each with
    // its sleeves and collar.
    {{200, 200, 200}, {150, 150, 150}},
    {{200, 30, 40}, kWhite}, {{30, 80, 200}, {250, 210, 40}}, {{40, 150, 80}, {20, 20, 20}},
    {{250, 200, 30}, {30, 60, 160}}, {{20, 20, 20}, {220, 30, 30}}, {kWhite, {30, 60, 160}},
    {{140, 50, 170}, kWhite}, {{240, 120, 30}, {20, 20, 20}},
    // Trousers and skirts: the source, then navy, grey, black, khaki, denim and brown.
    {{120, 120, 120}, {90, 90, 90}},
    {{35, 40, 60}, {35, 40, 60}}, {{110, 110, 115}, {110, 110, 115}}, {{25, 25, 25}, {25, 25, 25}},
    {{180, 160, 120}, {180, 160, 120}}, {{60, 80, 110}, {60, 80, 110}}, {{90, 60, 40}, {90, 60, 40}},
    // Shoes, upper and sole: the source, then classic brown, black, white (red soles) and red.
    {{160, 160, 160}, {60, 60, 60}},
    {{120, 70, 40}, {240, 200, 150}}, {{30, 30, 30}, kWhite}, {kWhite, {200, 30, 30}}, {{200, 30, 30}, kWhite},
    // Caps, crown and brim: the source, then red, blue, black and white.
    {{150, 150, 150}, {100, 100, 100}},
    {{200, 30, 40}, kWhite}, {{30, 80, 200}, {30, 80, 200}}, {{20, 20, 20}, {250, 200, 30}}, {kWhite, {30, 80, 200}},
    // Glasses frames: the source, then dark and amber.
    {{40, 40, 40}, {40, 40, 40}}, {{30, 30, 30}, {30, 30, 30}}, {{200, 170, 60}, {200, 170, 60}},
    // Gloves, leather and strap: the source, then black, tan and red.
    {{100, 100, 100}, {60, 60, 60}},
    {{20, 20, 20}, {200, 30, 30}}, {{190, 150, 100}, {60, 40, 20}}, {{200, 30, 30}, kWhite},
};
constexpr int kGarmentTextureCount = int(sizeof kGarmentColours / sizeof kGarmentColours[0]);

Resource GarmentTextures()
{
    Resource g;
    g.id = kGarmentTextures;
    g.type = kTypeGroup;
    for (const auto& c : kGarmentColours) g.members.push_back(Texture(c[0], c[1]));
    return g;
}

struct P {
    float x, y, z;
};
P Lerp(P a, P b, float t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t}; }

struct Body {
    int mesh;
    std::vector<std::string> names;
    P At(const std::string& name) const
    {
        for (size_t i = 0; i < names.size(); ++i) {
            float p[3];
            if (names[i] == name && BowlerBindPosition(mesh, int(i), p)) return {p[0], p[1], p[2]};
        }
        return {0, 0, 0};
    }
};

BowlerTube Tube(const std::string& bone, const std::string& parent, P a, P b, float r0, float r1, float v)
{
    return {bone, parent, {a.x, a.y, a.z}, {b.x, b.y, b.z}, r0, r1, v};
}

Resource Garment(int body, const std::vector<BowlerTube>& tubes, int texture)
{
    return ModelResource(0, BowlerTubeModel(body, tubes, uint32_t(kGarmentTextures) << 16 | uint32_t(texture)));
}

const char* const kSides[2] = {"_L", "_R"};

// The garments every body shares, made on the first body mesh.
Resource SharedGarments()
{
    const Body b{911, BowlerBoneNames(911)};
    Resource g;
    g.id = kSharedGarments;
    g.type = kTypeGroup;
    const P pelvis = b.At("pelvis"), spine = b.At("spine1"), head = b.At("head");
    std::vector<BowlerTube> longPants, shorts, legs, socks, shoes;
    const std::vector<BowlerTube> waist = {Tube("pelvis", "pelvis", {pelvis.x, pelvis.y, pelvis.z - 0.15f}, spine, 0.6f, 0.56f, kMain)};
    longPants = shorts = waist;
    for (const char* sfx : kSides) {
        const std::string s = sfx;
        const P thigh = b.At("thigh" + s), shin = b.At("shin" + s), foot = b.At("foot" + s), toe = b.At("toe" + s);
        longPants.push_back(Tube("thigh" + s, "pelvis", thigh, shin, 0.36f, 0.27f, kMain));
        longPants.push_back(Tube("shin" + s, "thigh" + s, shin, foot, 0.26f, 0.2f, kMain));
        shorts.push_back(Tube("thigh" + s, "pelvis", thigh, Lerp(thigh, shin, 0.55f), 0.37f, 0.31f, kMain));
        legs.push_back(Tube("thigh" + s, "pelvis", Lerp(thigh, shin, 0.5f), shin, 0.29f, 0.23f, kMain));
        legs.push_back(Tube("shin" + s, "thigh" + s, shin, foot, 0.23f, 0.16f, kMain));
        socks.push_back(Tube("shin" + s, "thigh" + s, Lerp(shin, foot, 0.7f), foot, 0.19f, 0.175f, kTrim));
        const P tip = Lerp(foot, toe, 1.15f);
        shoes.push_back(Tube("foot" + s, "shin" + s, {foot.x, foot.y + 0.12f, foot.z - 0.05f}, tip, 0.2f, 0.17f, kMain));
        shoes.push_back(Tube("foot" + s, "shin" + s, {foot.x, foot.y + 0.12f, foot.z - 0.2f}, {tip.x, tip.y, tip.z - 0.12f},
                             0.17f, 0.14f, kTrim));
    }
    const std::vector<BowlerTube> cap = {
        Tube("head", "neck", {head.x, head.y, head.z + 0.45f}, {head.x, head.y + 0.02f, head.z + 0.82f}, 0.37f, 0.28f, kMain),
        Tube("head", "neck", {head.x, head.y - 0.15f, head.z + 0.48f}, {head.x, head.y - 0.62f, head.z + 0.46f}, 0.22f, 0.2f, kTrim),
    };
    const std::vector<BowlerTube> glasses = {
        Tube("head", "neck", {head.x - 0.27f, head.y - 0.36f, head.z + 0.33f}, {head.x + 0.27f, head.y - 0.36f, head.z + 0.33f},
             0.065f, 0.065f, kMain),
    };
    g.members.push_back(Garment(b.mesh, longPants, kTexPants));
    g.members.push_back(Garment(b.mesh, shorts, kTexPants));
    g.members.push_back(Garment(b.mesh, legs, kTexBodyPalette));
    g.members.push_back(Garment(b.mesh, socks, kTexBodyPalette));
    g.members.push_back(Garment(b.mesh, shoes, kTexShoes));
    g.members.push_back(Garment(b.mesh, cap, kTexHat));
    g.members.push_back(Garment(b.mesh, glasses, kTexGlasses));
    return g;
}

// A body's shirts (short and long sleeves) and gloves.
Resource BodyGarments(int mesh)
{
    const Body b{mesh, BowlerBoneNames(mesh)};
    Resource g;
    g.id = kBodyGarmentsFirst + AnimationBodyIndex(mesh);
    g.type = kTypeGroup;
    const P pelvis = b.At("pelvis"), spine1 = b.At("spine1"), spine2 = b.At("spine2"), chest = b.At("chest"),
            neck = b.At("neck");
    std::vector<BowlerTube> torso = {
        Tube("spine1", "pelvis", {spine1.x, spine1.y, pelvis.z + 0.2f}, spine2, 0.55f, 0.58f, kMain),
        Tube("spine2", "spine1", spine2, chest, 0.58f, 0.66f, kMain),
        Tube("chest", "spine2", chest, neck, 0.66f, 0.34f, kMain),
        Tube("neck", "chest", neck, {neck.x, neck.y, neck.z + 0.1f}, 0.23f, 0.22f, kTrim),
    };
    std::vector<BowlerTube> shortSleeves = torso, longSleeves = torso, gloves;
    for (const char* sfx : kSides) {
        const std::string s = sfx;
        const P clavicle = b.At("clavicle" + s), upper = b.At("upperarm" + s), fore = b.At("forearm" + s),
                hand = b.At("hand" + s);
        const BowlerTube shoulder = Tube("clavicle" + s, "chest", clavicle, upper, 0.24f, 0.23f, kMain);
        shortSleeves.push_back(shoulder);
        longSleeves.push_back(shoulder);
        shortSleeves.push_back(Tube("upperarm" + s, "clavicle" + s, upper, Lerp(upper, fore, 0.55f), 0.22f, 0.19f, kTrim));
        longSleeves.push_back(Tube("upperarm" + s, "clavicle" + s, upper, fore, 0.22f, 0.18f, kMain));
        longSleeves.push_back(Tube("forearm" + s, "upperarm" + s, fore, Lerp(fore, hand, 0.9f), 0.17f, 0.14f, kTrim));
        const P past = Lerp(fore, hand, 1.0f + 0.45f / std::max(0.01f, std::sqrt((hand.x - fore.x) * (hand.x - fore.x) +
                                                                                    (hand.y - fore.y) * (hand.y - fore.y) +
                                                                                    (hand.z - fore.z) * (hand.z - fore.z))));
        gloves.push_back(Tube("forearm" + s, "upperarm" + s, Lerp(fore, hand, 0.85f), hand, 0.13f, 0.125f, kTrim));
        gloves.push_back(Tube("hand" + s, "forearm" + s, hand, past, 0.125f, 0.09f, kMain));
    }
    g.members.push_back(Garment(mesh, shortSleeves, kTexShirt));
    g.members.push_back(Garment(mesh, longSleeves, kTexShirt));
    g.members.push_back(Garment(mesh, gloves, kTexGloves));
    return g;
}

// A hair group of one colour: member 0 its texture, then the crop, long hair at the back and a
// bun on top; a bowler wears a range of them.
Resource HairGroup(int colour)
{
    static const Rgb colours[kHairColours] = {{30, 25, 20}, {100, 60, 30}, {220, 190, 110}, {170, 70, 30}};
    const Body b{911, BowlerBoneNames(911)};
    const P head = b.At("head");
    Resource g;
    g.id = kHairGroupsFirst + colour;
    g.type = kTypeGroup;
    g.members.push_back(Texture(colours[colour], colours[colour]));
    const uint32_t texture = uint32_t(g.id) << 16;
    auto model = [&](P a, P e, float r0, float r1) {
        return ModelResource(0, BowlerTubeModel(b.mesh, {Tube("head", "neck", a, e, r0, r1, kMain)}, texture));
    };
    g.members.push_back(model({head.x, head.y + 0.05f, head.z + 0.25f}, {head.x, head.y + 0.02f, head.z + 0.8f}, 0.38f, 0.31f));
    g.members.push_back(model({head.x, head.y + 0.22f, head.z + 0.5f}, {head.x, head.y + 0.3f, head.z - 0.4f}, 0.3f, 0.22f));
    g.members.push_back(model({head.x, head.y + 0.12f, head.z + 0.75f}, {head.x, head.y + 0.18f, head.z + 1.0f}, 0.17f, 0.1f));
    return g;
}

}  // namespace

std::vector<Resource> CharacterArchiveContent()
{
    std::vector<Resource> out;
    out.push_back(GarmentTextures());
    out.push_back(SharedGarments());
    for (int i = 0; i < kNumAnimationBodies; ++i) out.push_back(BodyGarments(animationBodyRSIDs[i]));
    for (int c = 0; c < kHairColours; ++c) out.push_back(HairGroup(c));
    return out;
}

bool WriteCharacterArchive(const std::string& dir, std::string* error)
{
    std::error_code ec;
    std::filesystem::create_directories(dir + "/Resource", ec);
    if (ec) {
        if (error) *error = "cannot make " + dir + "/Resource: " + ec.message();
        return false;
    }
    return WriteArchive(dir + "/Resource/SpecialCharacters.rez", kCharacterArchiveFirst,
                        kCharacterArchiveEnd - kCharacterArchiveFirst, CharacterArchiveContent(), error);
}

bool GarmentTextureColour(int member, uint8_t rgb[3])
{
    if (member < 0 || member >= kGarmentTextureCount) return false;
    const Rgb& c = kGarmentColours[member][0];
    rgb[0] = c.r, rgb[1] = c.g, rgb[2] = c.b;
    return true;
}

}  // namespace mkrom
