// The domain coordinate menus: one line for each coordinate of a box, cylinder, rectangle or
// sphere, edited in the generator's domain record or the container's (testOptions.domainCoordsType
// says which; the line that entered the menu set it). Radius and height stay at 0 or more.
#include <cstddef>

#include "game/particledefs.h"
#include "game/records.h"
#include "testmode/testmenus.h"

static const float kBound = 99000.0f;

// The coordinate at byte offset `at` of the record being edited.
static float* Coordinate(size_t at)
{
    PARTICLESYSTEMINFOTAG& d = *testOptions.particleSystemInfo;
    uint8_t* record = testOptions.domainCoordsType == 0 ? d.genDomain : d.contDomain;
    return reinterpret_cast<float*>(record + at);
}

static int CoordLine(int action, char* text, size_t at, const char* label, float lo)
{
    float* v = Coordinate(at);
    if (action == kItemLabel) return ItemLabel(text, label, double(*v));
    StepFloatClamped(action, v, 0.1f, lo, kBound);
    return 1;
}

#define COORD_LINE(name, record, field, label, lo) \
    static int name(int a, char* t) { return CoordLine(a, t, offsetof(record, field), label, lo); }
COORD_LINE(BoxLeft, DOMAINBOXTAG, left, "LEFT: %.1f", -kBound)
COORD_LINE(BoxRight, DOMAINBOXTAG, right, "RIGHT: %.1f", -kBound)
COORD_LINE(BoxFront, DOMAINBOXTAG, front, "FRONT: %.1f", -kBound)
COORD_LINE(BoxBack, DOMAINBOXTAG, back, "BACK: %.1f", -kBound)
COORD_LINE(BoxTop, DOMAINBOXTAG, top, "TOP: %.1f", -kBound)
COORD_LINE(BoxBottom, DOMAINBOXTAG, bottom, "BOTTOM: %.1f", -kBound)
COORD_LINE(CylinderBaseX, DOMAINCYLINDERTAG, baseX, "BASE X: %.1f", -kBound)
COORD_LINE(CylinderBaseY, DOMAINCYLINDERTAG, baseY, "BASE Y: %.1f", -kBound)
COORD_LINE(CylinderBaseZ, DOMAINCYLINDERTAG, baseZ, "BASE Z: %.1f", -kBound)
COORD_LINE(CylinderHeight, DOMAINCYLINDERTAG, height, "HEIGHT: %.1f", 0.0f)
COORD_LINE(CylinderRadius, DOMAINCYLINDERTAG, radius, "RADIUS: %.1f", 0.0f)
COORD_LINE(RectLeft, DOMAINRECTTAG, left, "LEFT: %.1f", -kBound)
COORD_LINE(RectRight, DOMAINRECTTAG, right, "RIGHT: %.1f", -kBound)
COORD_LINE(RectFront, DOMAINRECTTAG, front, "FRONT: %.1f", -kBound)
COORD_LINE(RectBack, DOMAINRECTTAG, back, "BACK: %.1f", -kBound)
COORD_LINE(RectZ, DOMAINRECTTAG, z, "Z: %.1f", -kBound)
COORD_LINE(SphereCenterX, DOMAINSPHERETAG, centerX, "CENTER X: %.1f", -kBound)
COORD_LINE(SphereCenterY, DOMAINSPHERETAG, centerY, "CENTER Y: %.1f", -kBound)
COORD_LINE(SphereCenterZ, DOMAINSPHERETAG, centerZ, "CENTER Z: %.1f", -kBound)
COORD_LINE(SphereRadius, DOMAINSPHERETAG, radius, "RADIUS: %.1f", 0.0f)
#undef COORD_LINE

TestItem BoxDomainCoordsMenu[] = {{BoxLeft}, {BoxRight}, {BoxFront}, {BoxBack}, {BoxTop}, {BoxBottom}, {nullptr}};
TestItem CylinderDomainCoordsMenu[] = {{CylinderBaseX}, {CylinderBaseY}, {CylinderBaseZ}, {CylinderHeight},
                                       {CylinderRadius}, {nullptr}};
TestItem RectDomainCoordsMenu[] = {{RectLeft}, {RectRight}, {RectFront}, {RectBack}, {RectZ}, {nullptr}};
TestItem SphereDomainCoordsMenu[] = {{SphereCenterX}, {SphereCenterY}, {SphereCenterZ}, {SphereRadius}, {nullptr}};
