// The UI environment: everything a UI description defines (displays holding screens holding trees
// of typed widgets, named constants, database files, resource files and sets, animation curves and
// sets), the value types through which XML, scripts and animations set widget state, the property
// table that names those values, and the lookups by name. Every record of an environment comes
// from the environment's arena memory slot and goes when the environment is cleared.
#pragma once

#include <cstdint>

#include "ui/memoryslots.h"
#include "ui/rlstracker.h"

struct sBasicDb;
struct resourceFileHeader_tag;
struct sBasicUiWidget;
struct sBasicUiScreen;
struct sBasicUiDisplay;
struct sBasicUiEnvironment;
struct sBasicUiConstantDef;
struct sBasicUiResourceFile;

enum BasicUiInputMode {
    BasicUiInputMode_None = 0,
    BasicUiInputMode_Editor = 1,
    BasicUiInputMode_Normal = 2,
    BasicUiInputMode_Dialog = 3,
    BasicUiInputMode_Max = 4,
};

enum eBasicUiPropertyType {
    eBasicUiPropertyTypeBOOL = 0,
    eBasicUiPropertyTypeBYTE = 1,
    eBasicUiPropertyTypeINT = 2,
    eBasicUiPropertyTypeFLT = 3,
    eBasicUiPropertyTypeVEC3 = 4,
    eBasicUiPropertyTypeQUAT = 5,
    eBasicUiPropertyTypeAnimType = 6,
    eBasicUiPropertyTypeSTR = 7,
    eBasicUiPropertyTypeResourceSetREF = 8,
    eBasicUiPropertyTypeDisplayREF = 9,
    eBasicUiPropertyTypeScreenREF = 10,
    eBasicUiPropertyTypeWidgetREF = 11,
    eBasicUiPropertyTypeAnimREF = 12,
    eBasicUiPropertyTypeAnimSetREF = 13,
    eBasicUiPropertyTypeWidgetTypeREF = 14,
};

enum eBasicUiPropertyTrackerType {
    eBasicUiPropertyTrackerTypeNull = 0,
    eBasicUiPropertyTrackerTypeDisplay = 1,
    eBasicUiPropertyTrackerTypeScreen = 2,
    eBasicUiPropertyTrackerTypeWidget = 3,
    eBasicUiPropertyTrackerTypeResourceFile = 4,
    eBasicUiPropertyTrackerTypeResourceSet = 5,
    eBasicUiPropertyTrackerTypeAnim = 6,
    eBasicUiPropertyTrackerTypeAnimSet = 7,
};

enum eBasicUiAnimType {
    eBasicUiAnimTypeNULL = 0,
    eBasicUiAnimTypeFLT = 1,
    eBasicUiAnimTypeCUBIC = 2,
    eBasicUiAnimTypeVEC3 = 3,
    eBasicUiAnimTypeQUAT = 4,
    eBasicUiAnimTypeMAX = 5,
};

// ---- Values: what a property points at ----

// A settable flag with its initial value, the constant it came from (or null) and the script
// variable bound to it (-1: none).
struct sBasicUiValueBOOL {
    int value;  // 0 or 1
    int initial;
    sBasicUiConstantDef* c;
    int variable;
};

struct sBasicUiValueBYTE {
    uint8_t value;
    uint8_t initial;
    sBasicUiConstantDef* c;
    int variable;
};

// directives: a count followed by up to three directive letters read in front of a literal.
struct sBasicUiValueINT {
    int value;
    int initial;
    sBasicUiConstantDef* c;
    int variable;
    uint8_t directives[4];
};

// The values new records start with: BOOL true, BYTE 0, INT 0 with the directives "uu".
extern const sBasicUiValueBOOL basicUiValueBOOLTemplate;
extern const sBasicUiValueBYTE basicUiValueBYTETemplate;
extern const sBasicUiValueINT basicUiValueINTTemplate;

// A value from its template with another starting value (value and initial).
sBasicUiValueBOOL BasicUiValueBOOL_Make(int value);
sBasicUiValueBYTE BasicUiValueBYTE_Make(int value);
sBasicUiValueINT BasicUiValueINT_Make(int value);

// ---- Properties ----

enum { kBasicUiMaxProperties = 256 };

// One named value. With hasInitial, reading a value also sets its initial. A FLT property with
// hasInitial points at two floats: the value and its initial.
struct sBasicUiProperty {
    int isEditable;
    int hasInitial;
    const char* name;  // static string
    eBasicUiPropertyType propType;
    void* propPtr;
};

// The property table of one record, built on demand.
struct sBasicUiPropertyTracker {
    eBasicUiPropertyTrackerType trackerType;
    void* trackerPtr;
    int props;
    sBasicUiProperty prop[kBasicUiMaxProperties];
};

// Empties the table and sets its kind and record.
void BasicUiPropertyTracker_Reset(sBasicUiPropertyTracker* tracker, eBasicUiPropertyTrackerType type, void* record);
// Appends one property; 0 (and nothing appended) when the table is full or an argument is null.
int BasicUiPropertyTracker_Add(sBasicUiPropertyTracker* tracker, const char* name, eBasicUiPropertyType type,
                               void* value, int isEditable, int hasInitial);
// Null for "type"; else the first property of that name, or null.
sBasicUiProperty* BasicUiPropertyTracker_FindPropertyByName(sBasicUiPropertyTracker* tracker, const char* name);

// ---- Widget types and script functions (table and dispatch: ui/widgettypes.h, ui/registry.h) ----

// A widget's type number (0 to 59, eBasicUiWidgetType) and the type's own record.
struct sBasicUiWidgetTypeRef {
    uint8_t type;
    void* ptr;
};

// Declares the six table operations of widget type T (BasicUiWidgetType<T>_Create and the rest).
#define BASIC_UI_DECLARE_TYPE(T)                                                                  \
    sBasicUiWidgetTypeRef BasicUiWidgetType##T##_Create(sBasicUiEnvironment* env);                \
    int BasicUiWidgetType##T##_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t);  \
    int BasicUiWidgetType##T##_SetProperty(sBasicUiWidget* w, sBasicUiProperty* p);               \
    int BasicUiWidgetType##T##_Update(sBasicUiWidget* w, float dt);                               \
    int BasicUiWidgetType##T##_Render(sBasicUiWidget* w);                                         \
    int BasicUiWidgetType##T##_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

// A script function, registered by name: 1 lets the calling sequence go on, 0 stops it.
typedef int (*BasicFn)(sBasicUiWidget* widget, int value);

// ---- Records ----

enum { kBasicUiHashSize = 1009, kBasicUiHashChars = 33 };

struct sBasicUiConstantDef {
    char* name;
    int iValue;      // 0
    char* hValue;    // string value, null
    int variant;     // -1: every variant
    sBasicUiConstantDef* next;
    sBasicUiConstantDef* nextHash;
};

struct sBasicDbFile {
    int persist;
    int localized;
    char* filename;
    char* fallback;
    sBasicDb* db;  // first of a chain of databases
    sBasicDbFile* next;
};

struct sBasicUiResourceFile {
    char* filename;
    resourceFileHeader_tag* header;  // once opened
    sBasicUiResourceFile* next;
};

struct sBasicUiResourceSetItem {
    sBasicUiValueINT min;  // -1
    sBasicUiValueINT max;  // -1
    sBasicUiValueBOOL manage;  // true: clearing the environment disposes of the range
    sBasicUiResourceSetItem* next;
};

struct sBasicUiResourceSet {
    char* name;
    sBasicUiResourceSetItem* nextItem;
    sBasicUiResourceSet* nextSet;
};

struct sBasicUiAnimKey {
    float t;     // time, >= 0
    float v[4];  // one float, four cubic coefficients, three floats or a quaternion (w last)
    sBasicUiAnimKey* next;
    sBasicUiAnimKey* prev;
};

struct sBasicUiAnim {
    char* name;
    eBasicUiAnimType type;
    int offset;  // 1
    sBasicUiAnimKey* nextKey;
    sBasicUiAnim* nextAnim;
};

struct sBasicUiAnimSetItem {
    char* prop;  // name of the widget property to drive
    sBasicUiAnim* anim;
    sBasicUiAnimSetItem* next;
};

struct sBasicUiAnimSet {
    char* name;
    sBasicUiAnimSetItem* nextItem;
    sBasicUiAnimSet* nextAnimSet;
};

struct sBasicUiWidget {
    char* name;
    sBasicUiValueBOOL isActive;
    sBasicUiValueBOOL isRender;
    sBasicUiWidget* childWidget;   // first child
    sBasicUiWidget* nextWidget;    // next sibling
    sBasicUiWidget* parentWidget;  // null at top level
    sBasicUiScreen* parentScreen;  // null below the top level
    sBasicUiWidgetTypeRef widgetTypeRef;
    sBasicUiWidget* nextHash;
};

struct sBasicUiScreen {
    char* name;
    sBasicUiValueBOOL isActive;
    sBasicUiValueBOOL isRender;
    sBasicUiValueINT variant;
    sBasicUiWidget* nextWidget;  // first top-level widget
    sBasicUiScreen* nextScreen;
    sBasicUiDisplay* parentDisplay;
};

// cx0, cy0 / cx1, cy1: the display cursor's previous and current point; cContext: the widget that
// currently owns cursor navigation.
struct sBasicUiDisplay {
    char* name;
    sBasicUiValueBOOL isActive;
    sBasicUiValueBOOL isRender;
    sBasicUiValueINT x, y, w, h;
    int cx0, cy0, cx1, cy1;
    sBasicUiWidget* cContext;
    sBasicUiEnvironment* env;
    sBasicUiResourceSet* resourceSet;
    sBasicUiScreen* nextScreen;  // first screen
    sBasicUiDisplay* nextDisplay;
};

struct sBasicUiEnvironment {
    char* name;  // not copied
    int variant;  // -1 at creation
    BasicUiInputMode inputMode;
    // The shown-only question that is up, if any (it runs inside the ordinary frames).
    struct sBasicUiWidget* shownDialog;
    sBasicUiConstantDef* constantDefRoot;
    sBasicDbFile* dbRoot;
    sBasicUiResourceFile* resourceFileRoot;
    sBasicUiResourceSet* resourceSetRoot;
    sBasicUiDisplay* displayRoot;
    sBasicUiAnim* animRoot;
    sBasicUiAnimSet* animSetRoot;
    sBasicUiRLSTracker tracker;
    sBasicUiWidget* wHash[kBasicUiHashSize];
    sBasicUiConstantDef* cHash[kBasicUiHashSize];
    int memorySlot;
    sBasicUiEnvironment* prevEnv;
    sBasicUiEnvironment* nextEnv;
};

// ---- Framework start and the environment list ----

extern sBasicUiEnvironment* basicUiEnvironmentPtr;
// BasicUi_Init and the UI font it chooses are in ui/uiinit.h.
// The first environment created (the base environment after BasicUi_Init).
sBasicUiEnvironment* BasicUi_GetEnvironment();

// ---- Creation: each allocates from the environment's slot, null on failure; links nothing ----

sBasicUiEnvironment* BasicUi_CreateEnvironment(char* name, int memorySlot);
sBasicUiDisplay* BasicUi_CreateDisplay(sBasicUiEnvironment* env, const char* name);
sBasicUiScreen* BasicUi_CreateScreen(sBasicUiEnvironment* env, const char* name, sBasicUiDisplay* display);
// Sets both parents and enters a named widget into the widget hash.
sBasicUiWidget* BasicUi_CreateWidget(sBasicUiEnvironment* env, const char* name, sBasicUiScreen* screen,
                                     sBasicUiWidget* parentWidget);
sBasicUiConstantDef* BasicUi_CreateConstantDef(sBasicUiEnvironment* env);
sBasicDbFile* BasicUi_CreateDbFile(sBasicUiEnvironment* env, const char* filename);
sBasicUiResourceFile* BasicUi_CreateResourceFile(sBasicUiEnvironment* env, const char* filename);
sBasicUiResourceSet* BasicUi_CreateResourceSet(sBasicUiEnvironment* env, const char* name);
sBasicUiResourceSetItem* BasicUi_CreateResourceSetItem(sBasicUiEnvironment* env);
sBasicUiAnim* BasicUi_CreateAnim(sBasicUiEnvironment* env, const char* name);
sBasicUiAnimKey* BasicUi_CreateAnimKey(sBasicUiEnvironment* env);
sBasicUiAnimSet* BasicUi_CreateAnimSet(sBasicUiEnvironment* env, const char* name);
sBasicUiAnimSetItem* BasicUi_CreateAnimSetItem(sBasicUiEnvironment* env);
// Enters a named constant into the constant hash (the loader does it once its attributes are read).
int BasicUiEnvironment_HashConstantDef(sBasicUiEnvironment* env, sBasicUiConstantDef* c);

// ---- Linking ----

// Insert after the n-th element of a sibling chain (n = 0: at the front); return the new first
// element. A null chain gives the record, a null record the chain.
sBasicUiDisplay* BasicUi_InsertDisplay(sBasicUiDisplay* first, sBasicUiDisplay* d, int n);
sBasicUiScreen* BasicUi_InsertScreen(sBasicUiScreen* first, sBasicUiScreen* s, int n);
sBasicUiWidget* BasicUi_InsertWidget(sBasicUiWidget* first, sBasicUiWidget* w, int n);
// Unlink from the parent's chain and clear the parent and sibling links; children stay.
void BasicUi_CutWidget(sBasicUiWidget* w);
void BasicUi_CutScreen(sBasicUiScreen* s);
void BasicUi_CutDisplay(sBasicUiDisplay* d, sBasicUiEnvironment* env);

// ---- Lookup ----

sBasicUiWidget* BasicUi_FindWidget(sBasicUiEnvironment* env, const char* name);
sBasicUiWidget* BasicUiEnvironment_GetWidgetUsingHashTable(sBasicUiEnvironment* env, const char* name);
sBasicUiConstantDef* BasicUiEnvironment_GetConstantDefUsingHashTable(sBasicUiEnvironment* env, const char* name,
                                                                     int variant);
sBasicUiConstantDef* BasicUi_FindConstantDef(sBasicUiEnvironment* env, const char* name);
sBasicUiDisplay* BasicUi_FindDisplay(sBasicUiEnvironment* env, const char* name);
sBasicUiScreen* BasicUi_FindScreen(sBasicUiEnvironment* env, const char* name);
sBasicUiResourceSet* BasicUi_FindResourceSet(sBasicUiEnvironment* env, const char* name);
sBasicUiAnim* BasicUi_FindAnim(sBasicUiEnvironment* env, const char* name);
sBasicUiAnimSet* BasicUi_FindAnimSet(sBasicUiEnvironment* env, const char* name);
sBasicDb* BasicUi_FindDb(sBasicUiEnvironment* env, const char* name);
// The file of the description's databases that holds the database `name`; null when none does.
const char* BasicUi_FindDbFileName(sBasicUiEnvironment* env, const char* name);
sBasicUiEnvironment* BasicUiWidget_GetEnvironment(sBasicUiWidget* w);
sBasicUiEnvironment* BasicUiScreen_GetEnvironment(sBasicUiScreen* s);
sBasicUiEnvironment* BasicUiDisplay_GetEnvironment(sBasicUiDisplay* d);
int BasicUiEnvironment_GetVariant(sBasicUiEnvironment* env);
void BasicUiEnvironment_SetInputMode(sBasicUiEnvironment* env, BasicUiInputMode mode);
BasicUiInputMode BasicUiEnvironment_GetInputMode(sBasicUiEnvironment* env);
// The bucket of a name: seed 0 for widgets, the variant for constants.
int BasicUi_HashName(const char* name, uint32_t seed);

// ---- Property tables ----

// Fill the tracker with the base properties (9 for a display, 5 for a screen or widget; none for
// null); a widget's table then continues with its type's own properties.
void BasicUiDisplay_InitialisePropertyTracker(sBasicUiDisplay* d, sBasicUiPropertyTracker* tracker);
void BasicUiScreen_InitialisePropertyTracker(sBasicUiScreen* s, sBasicUiPropertyTracker* tracker);
void BasicUiWidget_InitialisePropertyTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);

// ---- Destruction: each walks its chain from the given record; memory goes back to the slot ----

void BasicUiWidget_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);
void BasicUiScreen_Destroy(sBasicUiEnvironment* env, sBasicUiScreen* s);
void BasicUiDisplay_Destroy(sBasicUiEnvironment* env, sBasicUiDisplay* d);
void BasicUiConstantDef_Destroy(sBasicUiEnvironment* env, sBasicUiConstantDef* c);
void BasicDbFile_Destroy(sBasicUiEnvironment* env, sBasicDbFile* f);
void BasicUiResourceSet_Destroy(sBasicUiEnvironment* env, sBasicUiResourceSet* s);
void BasicUiResourceFile_Destroy(sBasicUiEnvironment* env, sBasicUiResourceFile* f);
void BasicUiAnim_Destroy(sBasicUiEnvironment* env, sBasicUiAnim* a);
void BasicUiAnimSet_Destroy(sBasicUiEnvironment* env, sBasicUiAnimSet* s);

// Empties the environment: everything it loaded goes and its slot is reset. Nothing for null.
void BasicUiEnvironment_Clear(sBasicUiEnvironment* env);
