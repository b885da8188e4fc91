// Copying a template widget's properties onto a new widget: text placeholders in names and
// strings are replaced, and integer placeholders are bound through script-variable numbers.
#pragma once

#include "ui/environment.h"

// Replaces in place, for each i from 0 to count - 1, the first occurrence of patterns[i] in text
// by replacements[i]. A pattern found with a null or empty replacement empties the whole text; a
// replacement that would not fit capacity is reported and skipped.
void BasicUi_Substitute(char* text, int capacity, char* const* patterns, char* const* replacements, int count);

// Copies the value src points at into the value dst points at, when both exist, have the same
// type and dst is editable. Flags, bytes and integers bound to a variable below intCount take
// intValues[variable]; strings and the names of references go through BasicUi_Substitute, and
// references are looked up again in env by the substituted name.
void BasicUi_PropertyCopyByValue(sBasicUiProperty* src, sBasicUiProperty* dst, char* const* patterns,
                                 char* const* replacements, int count, sBasicUiValueINT* intValues, int intCount,
                                 sBasicUiEnvironment* env);
