// NUL-terminated string functions and the tokenizer that reads the game's text files: words and
// integers separated by blanks, with "//" comments running to the end of the line.
// The copy functions take the source first and the destination second.
#pragma once

// Blanks are spaces, TABs, CRs and LFs.

// Number of chars before the NUL; 0 for null.
int StringLength(const char* s);
// Copies src with its NUL into dst. 0 when either is null.
int CopyString(const char* src, char* dst);
// Appends src to the end of dst. 0 when either is null.
int AppendString(const char* src, char* dst);
// A copy of s in a new allocation (current direction) of its length + 1; null for null s or
// when the allocation fails. Free with FreeManagedMemory.
char* DupString(const char* s);
// 1 when a and b hold the same chars (case-sensitive). Two nulls are equal; a null and a string
// are not.
int EqualString(const char* a, const char* b);

// Upper-cases s in place: a-z, and the Latin-1 bytes 224-255 lose 32. A sharp s (223) becomes
// "SS": the rest of the string moves one place right, losing any blanks at its end first, so
// the caller's buffer needs one more byte per sharp s (less the blanks dropped). Each original
// byte is converted once, so 255 becomes 223 and stays that way.
int UpperCase(char* s);

// Looks for pattern at start positions i = 0, 1, ... while i < textLen - length(pattern) and
// text[i] is not NUL. Note the bound: a match that ends exactly at textLen is not found. Sets
// *index (when not null) to the position of the first match and returns 1, else 0. An empty
// pattern matches (at 0) only an empty text.
int FindSubstring(const char* text, int textLen, const char* pattern, int* index);

// Moves *p past blanks; 1 when a char other than NUL follows.
int SkipBlankSpace(char** p);
// Moves *p past blanks and "//" comments to the next char and returns 1; returns 0, leaving *p
// alone, when only blanks and comments remain.
int SkipComments(char** p);
// 1 when a CR or LF comes before the next char that is not blank and not in a comment, or when
// only blanks and comments remain; else 0. *p is not moved.
int EndOfLine(char** p);

// After SkipComments, copies the next word (chars up to a blank or NUL) into dst with a NUL and
// leaves *p at the char that ended it. 0 when nothing remains. dst must have room for the word;
// GetWordBounded is the variant for callers that cannot know that.
int GetWord2(char* dst, char** p);
// As GetWord2, but copies at most size - 1 chars of the word (always with the NUL). *p still
// moves past the whole word. 0 when nothing remains or size < 1.
int GetWordBounded(char* dst, int size, char** p);

// Reads an integer after optional blanks: an optional '+', then an optional '-', then digits up
// to a terminator (space, ',', ')', '>', CR, TAB, LF or NUL). Any other char after at least one
// digit also ends the number; before any digit it makes the call fail (0, nothing moved). With no
// digits at all the value is 0. Leaves *p at the char that ended the number. Values beyond the
// int range saturate at INT_MAX or INT_MIN (the remaining digits are still consumed).
int ReadInt(char** p, int* value);
