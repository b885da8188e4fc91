// The string functions and the tokenizer of the game's text files.
#include "lib/strings.h"

#include <climits>
#include <cstring>

#include "lib/memory.h"

static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
static bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Chars that end a number in ReadInt without being part of it.
static bool EndsNumber(char c)
{
    return c == ' ' || c == ',' || c == ')' || c == '>' || c == '\r' || c == '\t' || c == '\n' || c == '\0';
}

// q at "//": the position of the line end or NUL that finishes the comment.
static char* SkipOneComment(char* q)
{
    while (*q && !IsLineEnd(*q)) q++;
    return q;
}

int StringLength(const char* s)
{
    if (!s) return 0;
    int n = 0;
    while (s[n]) n++;
    return n;
}

int CopyString(const char* src, char* dst)
{
    if (!src || !dst) return 0;
    while ((*dst++ = *src++) != '\0') {}
    return 1;
}

int AppendString(const char* src, char* dst)
{
    if (!src || !dst) return 0;
    return CopyString(src, dst + StringLength(dst));
}

char* DupString(const char* s)
{
    if (!s) return nullptr;
    int size = StringLength(s) + 1;
    void* p = nullptr;
    if (!AllocateMemory(&p, size)) return nullptr;
    std::memcpy(p, s, size_t(size));
    return static_cast<char*>(p);
}

int EqualString(const char* a, const char* b)
{
    if (!a || !b) return a == b;
    while (*a && *a == *b) {
        a++;
        b++;
    }
    return *a == *b;
}

int UpperCase(char* s)
{
    if (!s) return 0;
    for (char* q = s; *q; q++) {
        unsigned char c = static_cast<unsigned char>(*q);
        if ((c >= 'a' && c <= 'z') || c >= 224) {
            *q = char(c - 32);
        } else if (c == 223) {
            // The rest, without its trailing blanks, moves one place right to make room for the
            // second S. memmove copies within the caller's buffer, so any length is safe.
            char* rest = q + 1;
            int n = StringLength(rest);
            while (n > 0 && IsBlank(rest[n - 1])) n--;
            std::memmove(rest + 1, rest, size_t(n));
            rest[n + 1] = '\0';
            q[0] = 'S';
            q[1] = 'S';
            q++;  // past the second S; the loop moves on to the first char of the rest
        }
    }
    return 1;
}

int FindSubstring(const char* text, int textLen, const char* pattern, int* index)
{
    if (!text || !pattern) return 0;
    int patternLen = StringLength(pattern);
    if (patternLen == 0) {
        if (text[0] != '\0') return 0;
        if (index) *index = 0;
        return 1;
    }
    for (int i = 0; i < textLen - patternLen && text[i]; i++) {
        // A NUL in the text stops the comparison, since the pattern holds none.
        int k = 0;
        while (k < patternLen && text[i + k] == pattern[k]) k++;
        if (k == patternLen) {
            if (index) *index = i;
            return 1;
        }
    }
    return 0;
}

int SkipBlankSpace(char** p)
{
    if (!p || !*p) return 0;
    char* q = *p;
    while (IsBlank(*q)) q++;
    *p = q;
    return *q != '\0';
}

int SkipComments(char** p)
{
    if (!p || !*p) return 0;
    char* q = *p;
    for (;;) {
        while (IsBlank(*q)) q++;
        if (q[0] == '/' && q[1] == '/') {
            q = SkipOneComment(q);
            continue;
        }
        break;
    }
    if (*q == '\0') return 0;
    *p = q;
    return 1;
}

int EndOfLine(char** p)
{
    if (!p || !*p) return 1;
    char* q = *p;
    for (;;) {
        if (*q == '\0' || IsLineEnd(*q)) return 1;
        if (IsBlank(*q)) {
            q++;
        } else if (q[0] == '/' && q[1] == '/') {
            // A comment runs to a line end or to the end of the text: either way the line ends.
            return 1;
        } else {
            return 0;
        }
    }
}

int GetWordBounded(char* dst, int size, char** p)
{
    if (!dst || size < 1) return 0;
    dst[0] = '\0';
    if (!SkipComments(p)) return 0;
    char* q = *p;
    int n = 0;
    for (; *q && !IsBlank(*q); q++) {
        if (n < size - 1) dst[n++] = *q;
    }
    dst[n] = '\0';
    *p = q;
    return 1;
}

int GetWord2(char* dst, char** p) { return GetWordBounded(dst, INT_MAX, p); }

int ReadInt(char** p, int* value)
{
    if (!p || !*p || !value) return 0;
    char* q = *p;
    while (IsBlank(*q)) q++;
    if (*q == '+') q++;
    bool negative = false;
    if (*q == '-') {
        negative = true;
        q++;
    }
    // The magnitude stops growing at 2^31, which is enough to tell saturation apart and to read
    // INT_MIN exactly; wider accumulation keeps it free of signed overflow.
    const long long kLimit = 2147483648LL;
    long long magnitude = 0;
    int digits = 0;
    for (; !EndsNumber(*q); q++) {
        if (!IsDigit(*q)) {
            if (digits == 0) return 0;
            break;
        }
        magnitude = magnitude * 10 + (*q - '0');
        if (magnitude > kLimit) magnitude = kLimit;
        digits++;
    }
    if (negative) {
        *value = magnitude >= kLimit ? INT_MIN : -int(magnitude);
    } else {
        *value = magnitude >= kLimit ? INT_MAX : int(magnitude);
    }
    *p = q;
    return 1;
}
