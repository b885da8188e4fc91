// Particle domains: boxes, spheres, cylinders and rectangles that place new particles (generate)
// and hold them (within). Each domain carries its record in a 64-byte block, as the definitions
// store it, and the two operations of its type.
#include <cstring>

#include "game/particles.h"
#include "game/records.h"
#include "platform/utilities.h"

static const float kDegreesToRadians = 0.017453292f;

template <class Record>
static Record DomainRecord(const PARTICLEDOMAINTAG* domain)
{
    Record r;
    std::memcpy(&r, domain->coordinates, sizeof r);
    return r;
}

static void Place(PARTICLETAG* p, float x, float y, float z)
{
    p->particleData.x = x;
    p->particleData.y = y;
    p->particleData.z = z;
}

static int Generated(PARTICLEDOMAINTAG* domain, PARTICLETAG* particle)
{
    if (domain->onGenerate) domain->onGenerate(domain, particle);
    return 1;
}

template <class Record>
static int InitDomain(PARTICLEDOMAINTAG* domain, int type, const Record* record, ParticleDomainFunc generate,
                      ParticleDomainFunc within, ParticleDomainFunc onGenerate, ParticleDomainFunc onCollision)
{
    if (!domain) return 0;
    domain->domainType = type;
    domain->generateFunc = generate;
    domain->withinFunc = within;
    domain->onGenerate = onGenerate;
    domain->onCollision = onCollision;
    std::memset(domain->coordinates, 0, sizeof domain->coordinates);
    if (record) std::memcpy(domain->coordinates, record, sizeof *record);
    return 1;
}

// ---- Box ----

int BoxDomainGenerate(PARTICLEDOMAINTAG* domain, PARTICLETAG* particle)
{
    if (!domain || !particle) return 0;
    const DOMAINBOXTAG b = DomainRecord<DOMAINBOXTAG>(domain);
    Place(particle, GetRandomFloat(b.left, b.right), GetRandomFloat(b.back, b.front), GetRandomFloat(b.bottom, b.top));
    return Generated(domain, particle);
}

int BoxDomainWithin(PARTICLEDOMAINTAG* domain, PARTICLETAG* particle)
{
    if (!domain || !particle) return 0;
    const DOMAINBOXTAG b = DomainRecord<DOMAINBOXTAG>(domain);
    const DS3_particle& p = particle->particleData;
    return p.x >= b.left && p.x <= b.right && p.y >= b.back && p.y <= b.front && p.z >= b.bottom && p.z <= b.top;
}

// ---- Sphere ----

int SphereDomainGenerate(PARTICLEDOMAINTAG* domain, PARTICLETAG* particle)
{
    if (!domain || !particle) return 0;
    const DOMAINSPHERETAG s = DomainRecord<DOMAINSPHERETAG>(domain);
    const float rho = GetRandomFloat(0.0f, s.radius);
    const float theta = GetRandomFloat(0.0f, 360.0f) * kDegreesToRadians;
    const float phi = GetRandomFloat(0.0f, 180.0f) * kDegreesToRadians;
    Place(particle, s.centerX + SIN(theta) * rho * COS(phi), s.centerY + SIN(theta) * rho * SIN(phi),
          s.centerZ + rho * COS(theta));
    return Generated(domain, particle);
}

int SphereDomainWithin(PARTICLEDOMAINTAG* domain, PARTICLETAG* particle)
{
    if (!domain || !particle) return 0;
    const DOMAINSPHERETAG s = DomainRecord<DOMAINSPHERETAG>(domain);
    const DS3_particle& p = particle->particleData;
    const float dx = p.x - s.centerX, dy = p.y - s.centerY, dz = p.z - s.centerZ;
    return dx * dx + dy * dy + dz * dz <= s.radius * s.radius;
}

// ---- Cylinder ----

int CylinderDomainGenerate(PARTICLEDOMAINTAG* domain, PARTICLETAG* particle)
{
    if (!domain || !particle) return 0;
    const DOMAINCYLINDERTAG c = DomainRecord<DOMAINCYLINDERTAG>(domain);
    const float rho = GetRandomFloat(0.0f, c.radius);
    const float h = GetRandomFloat(0.0f, c.height);
    const float alpha = GetRandomFloat(0.0f, 360.0f) * kDegreesToRadians;
    Place(particle, c.baseX + rho * COS(alpha), c.baseY + rho * SIN(alpha), c.baseZ + h);
    return Generated(domain, particle);
}

int CylinderDomainWithin(PARTICLEDOMAINTAG* domain, PARTICLETAG* particle)
{
    if (!domain || !particle) return 0;
    const DOMAINCYLINDERTAG c = DomainRecord<DOMAINCYLINDERTAG>(domain);
    const DS3_particle& p = particle->particleData;
    const float dx = p.x - c.baseX, dy = p.y - c.baseY;
    return p.z >= c.baseZ && p.z <= c.baseZ + c.height && dx * dx + dy * dy <= c.radius * c.radius;
}

// ---- Rectangle ----

int RectangleDomainGenerate(PARTICLEDOMAINTAG* domain, PARTICLETAG* particle)
{
    if (!domain || !particle) return 0;
    const DOMAINRECTTAG r = DomainRecord<DOMAINRECTTAG>(domain);
    Place(particle, GetRandomFloat(r.left, r.right), GetRandomFloat(r.front, r.back), r.z);
    return Generated(domain, particle);
}

// The rectangle is a floor plan: height is not tested.
int RectangleDomainWithin(PARTICLEDOMAINTAG* domain, PARTICLETAG* particle)
{
    if (!domain || !particle) return 0;
    const DOMAINRECTTAG r = DomainRecord<DOMAINRECTTAG>(domain);
    const DS3_particle& p = particle->particleData;
    return p.x >= r.left && p.x <= r.right && p.y >= r.front && p.y <= r.back;
}

// ---- Set-up ----

int BoxParticleDomainInit(PARTICLEDOMAINTAG* domain, const DOMAINBOXTAG* box, ParticleDomainFunc onGenerate,
                          ParticleDomainFunc onCollision)
{
    return InitDomain(domain, kDomainBox, box, BoxDomainGenerate, BoxDomainWithin, onGenerate, onCollision);
}

int SphereParticleDomainInit(PARTICLEDOMAINTAG* domain, const DOMAINSPHERETAG* sphere, ParticleDomainFunc onGenerate,
                             ParticleDomainFunc onCollision)
{
    return InitDomain(domain, kDomainSphere, sphere, SphereDomainGenerate, SphereDomainWithin, onGenerate,
                      onCollision);
}

int CylinderParticleDomainInit(PARTICLEDOMAINTAG* domain, const DOMAINCYLINDERTAG* cylinder,
                               ParticleDomainFunc onGenerate, ParticleDomainFunc onCollision)
{
    return InitDomain(domain, kDomainCylinder, cylinder, CylinderDomainGenerate, CylinderDomainWithin, onGenerate,
                      onCollision);
}

int RectangleParticleDomainInit(PARTICLEDOMAINTAG* domain, const DOMAINRECTTAG* rect, ParticleDomainFunc onGenerate,
                                ParticleDomainFunc onCollision)
{
    return InitDomain(domain, kDomainRectangle, rect, RectangleDomainGenerate, RectangleDomainWithin, onGenerate,
                      onCollision);
}

int ParticleDomainInitFromRecord(PARTICLEDOMAINTAG* domain, int type, const void* record,
                                 ParticleDomainFunc onGenerate, ParticleDomainFunc onCollision)
{
    if (!record) return 0;
    switch (type) {
    case kDomainBox: {
        DOMAINBOXTAG b;
        std::memcpy(&b, record, sizeof b);
        return BoxParticleDomainInit(domain, &b, onGenerate, onCollision);
    }
    case kDomainSphere: {
        DOMAINSPHERETAG s;
        std::memcpy(&s, record, sizeof s);
        return SphereParticleDomainInit(domain, &s, onGenerate, onCollision);
    }
    case kDomainCylinder: {
        DOMAINCYLINDERTAG c;
        std::memcpy(&c, record, sizeof c);
        return CylinderParticleDomainInit(domain, &c, onGenerate, onCollision);
    }
    case kDomainRectangle: {
        DOMAINRECTTAG r;
        std::memcpy(&r, record, sizeof r);
        return RectangleParticleDomainInit(domain, &r, onGenerate, onCollision);
    }
    default:
        return 0;
    }
}
