// Copying a template widget's properties with its text and integer placeholders replaced.
#include "ui/propertycopy.h"

#include <cstring>

#include "lib/printing.h"
#include "lib/strings.h"
#include "ui/propertyread.h"

enum { kCopyText = 256 };

void BasicUi_Substitute(char* text, int capacity, char* const* patterns, char* const* replacements, int count)
{
    if (!text || capacity <= 0 || !patterns) return;
    for (int i = 0; i < count; ++i) {
        const char* pattern = patterns[i];
        if (!pattern || !pattern[0]) continue;
        int pos = 0;
        if (!FindSubstring(text, capacity, pattern, &pos)) continue;
        const char* replacement = replacements ? replacements[i] : nullptr;
        if (!replacement || !replacement[0]) {
            text[0] = '\0';
            return;
        }
        int patternLen = StringLength(pattern);
        int replacementLen = StringLength(replacement);
        int restLen = StringLength(text + pos + patternLen);
        if (pos + replacementLen + restLen + 1 >= capacity) {
            PrintError("BasicUiWidgetTypeInstance_Substitute: Overflow.");
            continue;
        }
        std::memmove(text + pos + replacementLen, text + pos + patternLen, size_t(restLen) + 1);
        std::memcpy(text + pos, replacement, size_t(replacementLen));
    }
}

// The text, as a string argument (never as a format), limited to 255 characters and substituted.
static void SubstitutedText(char* out, const char* text, char* const* patterns, char* const* replacements, int count)
{
    PrintString(out, kCopyText, "%s", text);
    BasicUi_Substitute(out, kCopyText, patterns, replacements, count);
}

static int BoundIndex(int variable, int intCount) { return variable >= 0 && variable < intCount ? variable : -1; }

static uint8_t ClampByte(int n) { return uint8_t(n < 0 ? 0 : n > 255 ? 255 : n); }

// The name of a referenced record, or null.
static const char* RefName(eBasicUiPropertyType type, void* record)
{
    if (!record) return nullptr;
    switch (type) {
    case eBasicUiPropertyTypeResourceSetREF: return static_cast<sBasicUiResourceSet*>(record)->name;
    case eBasicUiPropertyTypeDisplayREF: return static_cast<sBasicUiDisplay*>(record)->name;
    case eBasicUiPropertyTypeScreenREF: return static_cast<sBasicUiScreen*>(record)->name;
    case eBasicUiPropertyTypeWidgetREF: return static_cast<sBasicUiWidget*>(record)->name;
    case eBasicUiPropertyTypeAnimREF: return static_cast<sBasicUiAnim*>(record)->name;
    case eBasicUiPropertyTypeAnimSetREF: return static_cast<sBasicUiAnimSet*>(record)->name;
    default: return nullptr;
    }
}

static void* LookUpRef(eBasicUiPropertyType type, sBasicUiEnvironment* env, const char* name)
{
    switch (type) {
    case eBasicUiPropertyTypeResourceSetREF: return BasicUi_FindResourceSet(env, name);
    case eBasicUiPropertyTypeDisplayREF: return BasicUi_ResolveDisplayRef(env, name);
    case eBasicUiPropertyTypeScreenREF: return BasicUi_ResolveScreenRef(env, name);
    case eBasicUiPropertyTypeWidgetREF: return BasicUi_ResolveWidgetRef(env, name);
    case eBasicUiPropertyTypeAnimREF: return BasicUi_FindAnim(env, name);
    case eBasicUiPropertyTypeAnimSetREF: return BasicUi_FindAnimSet(env, name);
    default: return nullptr;
    }
}

void BasicUi_PropertyCopyByValue(sBasicUiProperty* src, sBasicUiProperty* dst, char* const* patterns,
                                 char* const* replacements, int count, sBasicUiValueINT* intValues, int intCount,
                                 sBasicUiEnvironment* env)
{
    if (!src || !dst || !src->propPtr || !dst->propPtr) return;
    if (src->propType != dst->propType || !dst->isEditable) return;
    if (!intValues) intCount = 0;
    void* from = src->propPtr;
    void* to = dst->propPtr;
    switch (src->propType) {
    case eBasicUiPropertyTypeBOOL: {
        auto* s = static_cast<sBasicUiValueBOOL*>(from);
        auto* d = static_cast<sBasicUiValueBOOL*>(to);
        int n = BoundIndex(s->variable, intCount);
        if (n < 0) {
            *d = *s;
        } else {
            d->value = intValues[n].value != 0;
            d->initial = intValues[n].initial != 0;
        }
        return;
    }
    case eBasicUiPropertyTypeBYTE: {
        auto* s = static_cast<sBasicUiValueBYTE*>(from);
        auto* d = static_cast<sBasicUiValueBYTE*>(to);
        int n = BoundIndex(s->variable, intCount);
        if (n < 0) {
            *d = *s;
        } else {
            d->value = ClampByte(intValues[n].value);
            d->initial = ClampByte(intValues[n].initial);
        }
        return;
    }
    case eBasicUiPropertyTypeINT: {
        auto* s = static_cast<sBasicUiValueINT*>(from);
        auto* d = static_cast<sBasicUiValueINT*>(to);
        int n = BoundIndex(s->variable, intCount);
        if (n < 0) {
            *d = *s;
        } else {
            d->value = intValues[n].value;
            d->initial = intValues[n].initial;
        }
        return;
    }
    case eBasicUiPropertyTypeFLT: {
        auto* s = static_cast<float*>(from);
        auto* d = static_cast<float*>(to);
        d[0] = s[0];
        if (src->hasInitial && dst->hasInitial) d[1] = s[1];
        return;
    }
    case eBasicUiPropertyTypeVEC3: std::memcpy(to, from, 3 * sizeof(float)); return;
    case eBasicUiPropertyTypeQUAT: std::memcpy(to, from, 4 * sizeof(float)); return;
    case eBasicUiPropertyTypeAnimType: std::memcpy(to, from, 1); return;
    case eBasicUiPropertyTypeSTR: {
        const char* text = *static_cast<char**>(from);
        auto* d = static_cast<char**>(to);
        if (!text || !env) {
            *d = nullptr;
            return;
        }
        char buffer[kCopyText];
        SubstitutedText(buffer, text, patterns, replacements, count);
        *d = BasicMemory_DupString(env->memorySlot, buffer);
        return;
    }
    case eBasicUiPropertyTypeResourceSetREF:
    case eBasicUiPropertyTypeDisplayREF:
    case eBasicUiPropertyTypeScreenREF:
    case eBasicUiPropertyTypeWidgetREF:
    case eBasicUiPropertyTypeAnimREF:
    case eBasicUiPropertyTypeAnimSetREF: {
        // Every reference field is one record pointer; it is moved as such.
        void* record = nullptr;
        std::memcpy(&record, from, sizeof record);
        const char* name = RefName(src->propType, record);
        void* found = nullptr;
        if (name && env) {
            char buffer[kCopyText];
            SubstitutedText(buffer, name, patterns, replacements, count);
            found = LookUpRef(src->propType, env, buffer);
        }
        std::memcpy(to, &found, sizeof found);
        return;
    }
    default:
        // The widget type is not copied.
        return;
    }
}
