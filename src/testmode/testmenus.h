// The test-mode menus: each is a null-ended array of lines, one item function a line. An item is
// called with an action (kItemLabel with a kItemTextSize buffer to format its label into, the
// others with null) and returns 1, or 0 on failure, which ends the frame's controls or read-out.
// Each menu file holds its menus and their items; the value helpers below keep the steps, clamps
// and wraps of every line alike.
#pragma once

#include <cstdint>

enum { kItemLabel = 0, kItemIncrease = 1, kItemDecrease = 2, kItemSelect = 3 };
constexpr int kItemTextSize = 256;

struct TestItem {
    int (*fn)(int action, char* text);
};

// Root and tuning menus (rootmenu.cpp, modelmenu.cpp).
extern TestItem RootMenu[], BallMenu[], BowlerMenu[], AudioMenu[], VisualsMenu[], ModelMenu[],
    StaticCamerasMenu[], MemoryMenu[];
// Light-set menus (lightsetmenus.cpp).
extern TestItem CreateLightsetMenu[], EditLightsetMenu[];
// The light-set menus' values as a run starts: an empty created set, light 1, the alley's first set.
void ResetLightSetMenus();
// Particle menus (particlemenus.cpp, particlemovement.cpp, domainmenus.cpp).
extern TestItem ParticlesMenu[], ParticlePropertiesMenu[], ParticleMovementMenu[], ParticleInitVelocityMenu[],
    ParticleUpdateVelocityMenu[], ParticleInitAccelMenu[], ParticleUpdateAccelMenu[], ParticleControlPointMenu[],
    BoxDomainCoordsMenu[], CylinderDomainCoordsMenu[], RectDomainCoordsMenu[], SphereDomainCoordsMenu[];

// The number of lines of a menu (up to its null entry).
int TestMenuLength(const TestItem* menu);
// Makes menu current at its first line, with `from` as the place the back button leads. Always 1.
int EnterTestMenu(TestItem* menu, TestItem* from);

// Replaces the test character by one of player model newModel (the first argument is not used).
// 1, or 0 when the frame, the old character's disposal or the new one failed; the test character
// is then null.
int ChangeTestModel(int oldModel, int newModel);
// Reads the game heap's free bytes and fragments for the memory menu. Always 1.
int GetTestmodeMemoryState();
// Loads the groups of stored particle definitions and particle bitmaps unless they are loaded;
// the ones test mode loaded are unloaded again by UnloadTestParticleGroups. 0 when one fails.
int LoadTestParticleGroups();
int UnloadTestParticleGroups();
// Copies the chosen stored definition (checked) into the edited one, on the first particle
// bitmap. 1 also when there are no stored definitions (nothing changes); 0 when the chosen one
// is missing or damaged or there are no particle bitmaps.
int TestModeLoadParticleSystemDefinition();

// The lane reflection's strength, 0..128, which the visuals menu tunes.
extern uint8_t gReflectionAlpha;

// Value steps of the lines. A clamp keeps the value within [lo, hi]; a wrap jumps to the other end.
// Each changes the value only for kItemIncrease and kItemDecrease and returns 1 when it changed.
int StepFloatClamped(int action, float* value, float step, float lo, float hi);
int StepIntClamped(int action, int* value, int step, int lo, int hi);
int StepIntWrapped(int action, int* value, int lo, int hi);
// A byte stepped in 8 bits (0 - 1 is 255), then kept within [lo, hi]: a result above hi is set to lo
// when it came from below lo by the step down, else to hi.
int StepByteClamped(int action, uint8_t* value, int lo, int hi);
// 0 and 1 swap; any other value becomes 0.
int SwitchFlag(int* value);
// Formats the label into text (at most kItemTextSize bytes). Always 1.
int ItemLabel(char* text, const char* format, ...) __attribute__((format(printf, 2, 3)));
