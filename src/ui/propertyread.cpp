// Parsing property values from attribute text: flags, bytes, integers with constants and script
// variables, floats, strings and references.
#include "ui/propertyread.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "lib/printing.h"
#include "lib/strings.h"
#include "ui/widgettypes.h"
#include "xml/xmlreader.h"

// What a flag, byte or integer value text says.
struct ParsedValue {
    int hasVariable;
    int variable;
    int hasNumber;
    int number;
    sBasicUiConstantDef* constant;
    char directive;  // a letter read in front of an integer literal, or 0
};

static int IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A number as "%i" reads it: decimal, 0x hexadecimal or leading-0 octal; 0 when it does not convert.
static int ReadIntLiteral(const char* s)
{
    char* end = nullptr;
    errno = 0;
    long n = std::strtol(s, &end, 0);
    if (end == s) return 0;
    if (n > INT_MAX) return INT_MAX;
    if (n < INT_MIN) return INT_MIN;
    return int(n);
}

static void ParseConstant(const char* name, sBasicUiEnvironment* env, ParsedValue* out)
{
    sBasicUiConstantDef* c = BasicUi_FindConstantDef(env, name);
    if (!c) return;
    out->constant = c;
    out->hasNumber = 1;
    out->number = c->iValue;
}

static void ParseLiteral(const char* s, const char* whole, int isInt, ParsedValue* out)
{
    out->hasNumber = 1;
    out->number = 0;
    if (IsLetter(s[0])) {
        if (!isInt || IsLetter(s[1])) {
            PrintError("BasicUiError: possible constant without # prefix %s", whole);
            return;
        }
        out->directive = s[0];
        ++s;
    }
    out->number = ReadIntLiteral(s);
}

static void ParseValueText(const char* text, sBasicUiEnvironment* env, int isInt, ParsedValue* out)
{
    std::memset(out, 0, sizeof *out);
    if (text[0] == '#' && text[1] == '[') {
        char* end = nullptr;
        long n = std::strtol(text + 2, &end, 0);
        out->hasVariable = 1;
        out->variable = (end == text + 2 || n < INT_MIN || n > INT_MAX) ? -1 : int(n);
        const char* close = std::strchr(text + 2, ']');
        if (!close || close[1] != ',') return;
        if (close[2] == '#')
            ParseConstant(close + 3, env, out);
        else
            ParseLiteral(close + 2, text, isInt, out);
    } else if (text[0] == '#') {
        ParseConstant(text + 1, env, out);
    } else {
        ParseLiteral(text, text, isInt, out);
    }
}

static int Clamp255(int n) { return n < 0 ? 0 : n > 255 ? 255 : n; }

int BasicUiValueBOOL_Read(sBasicXmlReader* reader, sBasicUiValueBOOL* value, sBasicUiEnvironment* env, int setInitial)
{
    if (!reader || !value) return 0;
    ParsedValue p;
    ParseValueText(reader->valBuffer, env, 0, &p);
    if (p.hasVariable) value->variable = p.variable;
    if (p.constant) value->c = p.constant;
    if (p.hasNumber) {
        value->value = p.number != 0;
        if (setInitial) value->initial = value->value;
    }
    return 1;
}

int BasicUiValueBYTE_Read(sBasicXmlReader* reader, sBasicUiValueBYTE* value, sBasicUiEnvironment* env, int setInitial)
{
    if (!reader || !value) return 0;
    ParsedValue p;
    ParseValueText(reader->valBuffer, env, 0, &p);
    if (p.hasVariable) value->variable = p.variable;
    if (p.constant) value->c = p.constant;
    if (p.hasNumber) {
        value->value = uint8_t(Clamp255(p.number));
        if (setInitial) value->initial = value->value;
    }
    return 1;
}

int BasicUiValueINT_Read(sBasicXmlReader* reader, sBasicUiValueINT* value, sBasicUiEnvironment* env, int setInitial)
{
    if (!reader || !value) return 0;
    ParsedValue p;
    ParseValueText(reader->valBuffer, env, 1, &p);
    if (p.hasVariable) value->variable = p.variable;
    if (p.constant) value->c = p.constant;
    if (p.directive && value->directives[0] < 3) {
        value->directives[1 + value->directives[0]] = uint8_t(p.directive);
        ++value->directives[0];
    }
    if (p.hasNumber) {
        value->value = p.number;
        if (setInitial) value->initial = value->value;
    }
    return 1;
}

// ---- References ----

sBasicUiDisplay* BasicUi_ResolveDisplayRef(sBasicUiEnvironment* env, const char* name)
{
    sBasicUiDisplay* d = BasicUi_FindDisplay(env, name);
    if (d || !env || !name || !name[0]) return d;
    d = BasicUi_CreateDisplay(env, name);
    if (d) env->displayRoot = BasicUi_InsertDisplay(env->displayRoot, d, 0);
    return d;
}

sBasicUiScreen* BasicUi_ResolveScreenRef(sBasicUiEnvironment* env, const char* name)
{
    sBasicUiScreen* s = BasicUi_FindScreen(env, name);
    if (s || !env || !name || !name[0] || !env->displayRoot) return s;
    sBasicUiDisplay* first = env->displayRoot;
    s = BasicUi_CreateScreen(env, name, first);
    if (s) first->nextScreen = BasicUi_InsertScreen(first->nextScreen, s, 0);
    return s;
}

sBasicUiWidget* BasicUi_ResolveWidgetRef(sBasicUiEnvironment* env, const char* name)
{
    sBasicUiWidget* w = BasicUi_FindWidget(env, name);
    if (w || !env || !name || !name[0] || !env->displayRoot || !env->displayRoot->nextScreen) return w;
    sBasicUiScreen* first = env->displayRoot->nextScreen;
    w = BasicUi_CreateWidget(env, name, first, nullptr);
    if (w) first->nextWidget = BasicUi_InsertWidget(first->nextWidget, w, 0);
    return w;
}

// ---- Properties ----

int BasicUi_ReadPropertyValue(sBasicXmlReader* reader, sBasicUiProperty* property, sBasicUiEnvironment* env)
{
    if (!reader || !property || !property->propPtr) return 0;
    void* ptr = property->propPtr;
    const char* text = reader->valBuffer;
    switch (property->propType) {
    case eBasicUiPropertyTypeBOOL:
        return BasicUiValueBOOL_Read(reader, static_cast<sBasicUiValueBOOL*>(ptr), env, property->hasInitial);
    case eBasicUiPropertyTypeBYTE:
        return BasicUiValueBYTE_Read(reader, static_cast<sBasicUiValueBYTE*>(ptr), env, property->hasInitial);
    case eBasicUiPropertyTypeINT:
        return BasicUiValueINT_Read(reader, static_cast<sBasicUiValueINT*>(ptr), env, property->hasInitial);
    case eBasicUiPropertyTypeFLT: {
        auto* f = static_cast<float*>(ptr);
        f[0] = BasicXmlReader_GetValFLOAT(reader, 0.0f);
        if (property->hasInitial) f[1] = f[0];
        return 1;
    }
    case eBasicUiPropertyTypeSTR: {
        if (!env) return 0;
        auto* s = static_cast<char**>(ptr);
        if (*s) BasicMemory_Free(env->memorySlot, *s);
        *s = BasicMemory_DupString(env->memorySlot, text);
        return 1;
    }
    case eBasicUiPropertyTypeResourceSetREF:
        *static_cast<sBasicUiResourceSet**>(ptr) = BasicUi_FindResourceSet(env, text);
        return 1;
    case eBasicUiPropertyTypeAnimREF:
        *static_cast<sBasicUiAnim**>(ptr) = BasicUi_FindAnim(env, text);
        return 1;
    case eBasicUiPropertyTypeAnimSetREF:
        *static_cast<sBasicUiAnimSet**>(ptr) = BasicUi_FindAnimSet(env, text);
        return 1;
    case eBasicUiPropertyTypeDisplayREF:
        *static_cast<sBasicUiDisplay**>(ptr) = BasicUi_ResolveDisplayRef(env, text);
        return 1;
    case eBasicUiPropertyTypeScreenREF:
        *static_cast<sBasicUiScreen**>(ptr) = BasicUi_ResolveScreenRef(env, text);
        return 1;
    case eBasicUiPropertyTypeWidgetREF:
        *static_cast<sBasicUiWidget**>(ptr) = BasicUi_ResolveWidgetRef(env, text);
        return 1;
    default:
        // Vectors, quaternions, animation types and widget types are not set from text here.
        return 0;
    }
}

// An attribute name too long for the reader comes back empty with the tag still open.
int BasicUi_NextAttribute(sBasicXmlReader* reader)
{
    for (;;) {
        if (BasicXmlReader_NextAtt(reader)) return 1;
        if (reader->attBuffer[0]) return 1;
        const sBasicXmlStreamBuffer& b = reader->buffer;
        if (!b.bufferPos || b.bufferPos == b.eofPos) return 0;
        char c = *b.bufferPos;
        if (c == '>' || c == '/' || c == '\0') return 0;
        if (c == '=') BasicXmlReader_NextVal(reader);
    }
}

int BasicUi_ReadProperties(sBasicXmlReader* reader, sBasicUiPropertyTracker* tracker, sBasicUiEnvironment* env)
{
    if (!reader || !tracker) return 0;
    while (BasicUi_NextAttribute(reader)) {
        BasicXmlReader_NextVal(reader);
        sBasicUiProperty* p = BasicUiPropertyTracker_FindPropertyByName(tracker, reader->attBuffer);
        // Names are hashed and kinds fixed: what is not editable is not set from the file.
        if (!p || !p->isEditable) continue;
        if (p->propType == eBasicUiPropertyTypeWidgetTypeREF) {
            if (tracker->trackerType != eBasicUiPropertyTrackerTypeWidget || !tracker->trackerPtr) continue;
            auto* w = static_cast<sBasicUiWidget*>(tracker->trackerPtr);
            const int type = BasicUI_GetWidgetType(reader->valBuffer);
            if (type == EBasicUiWidgetTypeNull && !EqualString(reader->valBuffer, basicUiWidgetTypeNameStr[type]))
                PrintError("BasicUi: widget %s has the unknown type %s: it does nothing", w->name, reader->valBuffer);
            w->widgetTypeRef = BasicUiWidgetType_Create(env, type);
            BasicUiWidget_InitialisePropertyTracker(w, tracker);
            continue;
        }
        BasicUi_ReadPropertyValue(reader, p, env);
        // A name that no widget has is made into one on the first screen; before any screen
        // exists it cannot be, and the reference is lost.
        if (p->propType == eBasicUiPropertyTypeWidgetREF && reader->valBuffer[0] &&
            !*static_cast<sBasicUiWidget**>(p->propPtr) && tracker->trackerType == eBasicUiPropertyTrackerTypeWidget &&
            tracker->trackerPtr)
            PrintError("BasicUi: widget %s: its %s names %s, which is not defined before any screen",
                       static_cast<sBasicUiWidget*>(tracker->trackerPtr)->name, p->name, reader->valBuffer);
    }
    return 1;
}
