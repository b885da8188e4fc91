// The particle effects' definitions and bitmaps. The game's definitions sit in pairs (definition,
// bitmap) in one group; the same definitions are stored again for test mode, whose bitmaps are a
// group of their own. Lane units are half-inches (24 a foot), with y down the lane and z up.
#include <cstring>

#include "bitmap_writer.h"
#include "content.h"
#include "game/lane.h"
#include "game/particledefs.h"
#include "host/gpu.h"

namespace mkrom {
namespace {

std::vector<uint8_t> Bytes(const PARTICLESYSTEMINFOTAG& d)
{
    std::vector<uint8_t> out(sizeof d);
    std::memcpy(out.data(), &d, sizeof d);
    return out;
}

template <class Record>
void SetDomain(uint8_t* block, const Record& r)
{
    std::memcpy(block, &r, sizeof r);
}

// A soft round spot of the colour, fading to clear at its rim.
RgbaImage Spot(uint8_t r, uint8_t g, uint8_t b)
{
    const int n = 16;
    RgbaImage image(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const float dx = (float(x) + 0.5f) / n * 2.0f - 1.0f, dy = (float(y) + 0.5f) / n * 2.0f - 1.0f;
            const float d = dx * dx + dy * dy;
            uint8_t* p = image.At(x, y);
            p[0] = r;
            p[1] = g;
            p[2] = b;
            p[3] = uint8_t(d >= 1.0f ? 0 : 255.0f * (1.0f - d));
        }
    return image;
}

// Dust in the light over the approach: slow motes that drift and stay inside the hall's air.
PARTICLESYSTEMINFOTAG Dust()
{
    PARTICLESYSTEMINFOTAG d = {};
    d.numParticles = 120;
    d.genDomainType = kDomainBox;
    SetDomain(d.genDomain, DOMAINBOXTAG{-kLaneHalfWidth * 3, kLaneHalfWidth * 3, 240.0f, -120.0f, 160.0f, 20.0f});
    d.contDomainType = kDomainBox;
    SetDomain(d.contDomain, DOMAINBOXTAG{-kLaneHalfWidth * 4, kLaneHalfWidth * 4, 360.0f, -200.0f, 220.0f, 0.0f});
    d.particleAlpha = 90.0f;
    d.particleSize = 1.5f;
    d.initXVelMin = -0.2f, d.initXVelMax = 0.2f;
    d.initYVelMin = -0.2f, d.initYVelMax = 0.2f;
    d.initZVelMin = -0.05f, d.initZVelMax = 0.1f;
    d.updateXVelMin = -0.02f, d.updateXVelMax = 0.02f;
    d.updateYVelMin = -0.02f, d.updateYVelMax = 0.02f;
    d.updateZVelMin = -0.01f, d.updateZVelMax = 0.01f;
    d.frictionX = d.frictionY = d.frictionZ = 0.05f;
    d.autoRespawnParticles = 1;
    d.autoRespawnSystem = 1;
    // Motes keep clear of the light over the foul line.
    d.controlPoints[0] = {0.0f, 0.0f, 120.0f, 60.0f, 2.0f};
    d.rotationMinDelta = -2.0f, d.rotationMaxDelta = 2.0f;
    return d;
}

// Sparkles over the pin deck: short-lived glints in a sphere above the head pin that grow in and
// shrink out.
PARTICLESYSTEMINFOTAG Sparkle()
{
    PARTICLESYSTEMINFOTAG d = {};
    d.numParticles = 60;
    d.genDomainType = kDomainSphere;
    SetDomain(d.genDomain, DOMAINSPHERETAG{0.0f, kLaneLength - 40.0f, 60.0f, 50.0f});
    d.contDomainType = kDomainSphere;
    SetDomain(d.contDomain, DOMAINSPHERETAG{0.0f, kLaneLength - 40.0f, 60.0f, 90.0f});
    d.particleAlpha = 255.0f;
    d.particleSize = 4.0f;
    d.particleLifeMin = 10, d.particleLifeMax = 30;
    d.growFrames = 4;
    d.shrinkFrames = 6;
    d.initZVelMin = 0.1f, d.initZVelMax = 0.4f;
    d.autoRespawnParticles = 1;
    d.autoRespawnSystem = 1;
    d.startMinRotation = 0.0f, d.startMaxRotation = 90.0f;
    d.rotationMinDelta = 4.0f, d.rotationMaxDelta = 8.0f;
    return d;
}

// Steam over the snack counter beside the lanes: rising puffs in a column that fade and widen.
PARTICLESYSTEMINFOTAG Steam()
{
    PARTICLESYSTEMINFOTAG d = {};
    d.numParticles = 40;
    d.genDomainType = kDomainCylinder;
    SetDomain(d.genDomain, DOMAINCYLINDERTAG{-kLaneHalfWidth * 5, -60.0f, 40.0f, 4.0f, 8.0f});
    d.contDomainType = kDomainCylinder;
    SetDomain(d.contDomain, DOMAINCYLINDERTAG{-kLaneHalfWidth * 5, -60.0f, 40.0f, 120.0f, 30.0f});
    d.particleAlpha = 160.0f;
    d.particleSize = 6.0f;
    d.particleAlphaRateMin = -3.0f, d.particleAlphaRateMax = -1.0f;
    d.particleSizeRateMin = 0.05f, d.particleSizeRateMax = 0.15f;
    d.particleLifeMin = 40, d.particleLifeMax = 70;
    d.initZVelMin = 0.8f, d.initZVelMax = 1.4f;
    d.updateXVelMin = -0.05f, d.updateXVelMax = 0.05f;
    d.updateYVelMin = -0.05f, d.updateYVelMax = 0.05f;
    d.frictionZ = 0.02f;
    d.autoRespawnParticles = 1;
    d.autoRespawnSystem = 1;
    return d;
}

// Confetti over the pit: flakes that flutter down onto a rectangle behind the pins.
PARTICLESYSTEMINFOTAG Confetti()
{
    PARTICLESYSTEMINFOTAG d = {};
    d.numParticles = 80;
    d.genDomainType = kDomainRectangle;
    SetDomain(d.genDomain, DOMAINRECTTAG{-kLaneHalfWidth, kLaneHalfWidth, kLaneLength - 60.0f, kLaneLength, 140.0f});
    d.contDomainType = kDomainRectangle;
    SetDomain(d.contDomain, DOMAINRECTTAG{-kLaneHalfWidth * 2, kLaneHalfWidth * 2, kLaneLength - 120.0f,
                                          kLaneLength + 60.0f, 0.0f});
    d.particleAlpha = 255.0f;
    d.particleSize = 2.5f;
    d.particleLifeMin = 60, d.particleLifeMax = 90;
    d.gravity = 0.02f;
    d.initXVelMin = -0.5f, d.initXVelMax = 0.5f;
    d.initYVelMin = -0.5f, d.initYVelMax = 0.5f;
    d.updateXVelMin = -0.1f, d.updateXVelMax = 0.1f;
    d.frictionX = d.frictionY = d.frictionZ = 0.03f;
    d.autoRespawnParticles = 1;
    d.autoRespawnSystem = 1;
    d.startMinRotation = 0.0f, d.startMaxRotation = 360.0f;
    d.rotationMinDelta = -10.0f, d.rotationMaxDelta = 10.0f;
    return d;
}

struct Effect {
    PARTICLESYSTEMINFOTAG (*definition)();
    uint8_t r, g, b;
};

const Effect kEffects[] = {
    {Dust, 255, 244, 214},
    {Sparkle, 255, 255, 255},
    {Steam, 236, 236, 240},
    {Confetti, 255, 96, 160},
};

// The effects each alley shows, by index into kEffects: the quiet alleys have dust in their light,
// the livelier ones steam from the snack bar, sparkles over the pins and confetti; the last alley
// has all four.
const std::vector<int> kAlleyEffects[kNumAreas] = {{0}, {0, 2}, {1, 0}, {3, 1}, {2, 0, 1}, {0, 1, 2, 3}};

}  // namespace

std::vector<uint8_t> AreaParticleList(int area)
{
    const std::vector<int>& effects = kAlleyEffects[area];
    const int32_t count = int32_t(effects.size());
    std::vector<uint8_t> out(sizeof count);
    std::memcpy(out.data(), &count, sizeof count);
    for (int k : effects) {
        PARTICLESYSTEMINFOTAG d = kEffects[k].definition();
        d.bitmapRSID = (kParticleDefinitionGroup << 16) + 2 * k + 1;
        const std::vector<uint8_t> bytes = Bytes(d);
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

std::vector<PARTICLESYSTEMINFOTAG> ParticleDefinitions()
{
    std::vector<PARTICLESYSTEMINFOTAG> out;
    for (const Effect& e : kEffects) out.push_back(e.definition());
    return out;
}

std::vector<Resource> ParticleContent()
{
    Resource game, stored, bitmaps;
    game.id = kParticleDefinitionGroup;
    stored.id = kParticleStoredDefinitionGroup;
    bitmaps.id = kParticleBitmapGroup;
    game.type = stored.type = bitmaps.type = kTypeGroup;
    for (const Effect& e : kEffects) {
        const std::vector<uint8_t> bytes = Bytes(e.definition());
        Resource definition;
        definition.type = 1;
        definition.bytes = bytes;
        game.members.push_back(definition);
        game.members.push_back(BitmapResource(0, Spot(e.r, e.g, e.b), kPixelRGBA4));
        stored.members.push_back(definition);
        bitmaps.members.push_back(BitmapResource(0, Spot(e.r, e.g, e.b), kPixelRGBA4));
    }
    return {game, stored, bitmaps};
}

}  // namespace mkrom
