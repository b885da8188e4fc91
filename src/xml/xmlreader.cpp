// The streaming XML reader: a 1024-byte ring refilled from the file, and the token calls that the
// loaders make in their grammar's order.
#include "xml/xmlreader.h"

#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/errorlog.h"
#include "lib/printing.h"
#include "lib/strings.h"
#include "platform/fileserver.h"

static int printEnabled = 0;

// --- The ring -----------------------------------------------------------------------------------

static int AtEnd(const sBasicXmlStreamBuffer* b) { return b->bufferPos == b->eofPos; }

// The character k places ahead of the position (k below half the ring, so that it has been read
// in), or 0 at and behind the end of input.
static char PeekAt(const sBasicXmlStreamBuffer* b, int k)
{
    int pos = int(b->bufferPos - b->buffer);
    if (b->eofPos) {
        int left = (int(b->eofPos - b->buffer) - pos + kBasicXmlRingSize) % kBasicXmlRingSize;
        if (k >= left) return 0;
    }
    return b->buffer[(pos + k) % kBasicXmlRingSize];
}

// PeekAt(b, 0) without its arithmetic: every character of a file passes through here.
static char Cur(const sBasicXmlStreamBuffer* b) { return AtEnd(b) ? 0 : *b->bufferPos; }

// 1 when text (no longer than half the ring) stands at the position.
static int Matches(const sBasicXmlStreamBuffer* b, const char* text)
{
    if (text[0] && Cur(b) != text[0]) return 0;
    for (int k = 0; text[k]; ++k) {
        if (k >= kBasicXmlHalfSize || PeekAt(b, k) != text[k]) return 0;
    }
    return 1;
}

static void Skip(sBasicXmlStreamBuffer* b, int count)
{
    for (int i = 0; i < count; ++i) BasicXmlStreamBuffer_Next(b);
}

// Reads up to size bytes of the file into dst. A short read marks the end of input there, and so
// does a read that the order to close stopped, which is marked as stopped: the file goes on, and
// where its input ends is no damage. Behind the end dst is zeroed.
static void ReadInto(sBasicXmlStreamBuffer* b, char* dst, int size)
{
    int got = b->fp ? FileReadWithSize(b->fp, dst, size) : 0;
    if (got < 0) {
        b->stopped = 1;
        got = 0;
    }
    if (got > size) got = size;
    b->fileRead += got;
    if (got < size) {
        b->eofPos = dst + got;
        memset(dst + got, 0, size_t(size - got));
    }
}

// Reads the next 512 bytes of the file into one half; behind the end of input the half is zeroed.
static void Refill(sBasicXmlStreamBuffer* b, char* half)
{
    if (b->eofPos) {
        memset(half, 0, kBasicXmlHalfSize);
        return;
    }
    ReadInto(b, half, kBasicXmlHalfSize);
}

// One character on, refilling the half left behind; 0 at the end of input. The token readers
// below step through every character with it, so it stays within this file to be inlined.
static inline int Advance(sBasicXmlStreamBuffer* b)
{
    if (AtEnd(b)) return 0;
    if (*b->bufferPos == '\n') ++b->line;
    ++b->bufferPos;
    if (b->bufferPos == b->b1) {
        Refill(b, b->b0);
    } else if (b->bufferPos == b->b2) {
        b->bufferPos = b->b0;
        Refill(b, b->b1);
    }
    return 1;
}

int BasicXml_BS2FS(char* path)
{
    if (!path) return 0;
    for (char* p = path; *p; ++p) {
        if (*p == '\\') *p = '/';
    }
    return 1;
}

int BasicXmlStreamBuffer_Init(sBasicXmlStreamBuffer* b, const char* filename)
{
    if (!b) return 0;
    b->fp = nullptr;
    b->b0 = b->buffer;
    b->b1 = b->buffer + kBasicXmlHalfSize;
    b->b2 = b->buffer + kBasicXmlRingSize;
    b->bufferPos = b->b0;
    b->eofPos = b->b0;  // nothing to read until a file is open
    b->line = 1;
    b->fileSize = -1;
    b->fileRead = 0;
    b->stopped = 0;
    if (!filename) return PrintError("BasicXmlReader: no file name");
    static const char prefix[] = "rom:\\";
    char path[kBasicXmlTokenSize];
    // A name cut short to fit would open some other file.
    if (StringLength(filename) > int(sizeof(path)) - int(sizeof(prefix))) {
        return PrintError("BasicXmlReader: file name too long: %s", HostQuoted(filename).c_str());
    }
    BasicXml_SNPrintf(path, int(sizeof(path)), "%s%s", prefix, filename);
    BasicXml_BS2FS(path);
    void* fp = nullptr;
    if (!FileOpen(path, &fp, 0)) return 0;
    b->fp = fp;
    b->eofPos = nullptr;
    unsigned size = 0;
    if (FileGetSize(fp, &size)) b->fileSize = size;
    ReadInto(b, b->buffer, kBasicXmlRingSize);
    return 1;
}

int64_t BasicXmlReader_BytesLeft(const sBasicXmlReader* reader)
{
    if (!reader) return 0;
    const sBasicXmlStreamBuffer* b = &reader->buffer;
    if (!b->b0 || AtEnd(b)) return 0;
    const int pos = int(b->bufferPos - b->buffer);
    // Once the end is in the ring, what is left lies between here and there, and in the part of
    // the file that a stopped reading left unread.
    if (b->eofPos) {
        const int inRing = (int(b->eofPos - b->buffer) - pos + kBasicXmlRingSize) % kBasicXmlRingSize;
        return b->stopped && b->fileSize > b->fileRead ? inRing + b->fileSize - b->fileRead : inRing;
    }
    if (b->fileSize < b->fileRead) return INT64_MAX;
    // The half ahead of the one read from is always full: the rest of this half, then that one.
    const char* halfEnd = b->bufferPos < b->b1 ? b->b1 : b->b2;
    const int inRing = int(halfEnd - b->bufferPos) + kBasicXmlHalfSize;
    return b->fileSize - b->fileRead + inRing;
}

int BasicXmlStreamBuffer_Next(sBasicXmlStreamBuffer* b)
{
    if (!b || !b->b0) return 0;
    return Advance(b);
}

// --- Tokens -------------------------------------------------------------------------------------

static int IsNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == '.' || c == '[' || c == ']' || c == '#';
}

static int IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Moves past a value in double or single quotes standing at the position.
static void SkipQuoted(sBasicXmlStreamBuffer* b)
{
    char quote = Cur(b);
    Advance(b);
    while (!AtEnd(b) && Cur(b) != quote) Advance(b);
    Advance(b);
}

// A name or value too long for its buffer. The fixed message says what happened; the line before
// it says where, so that a load that stops on it names the file.
static void ReportOverflow(const sBasicXmlReader* reader)
{
    PrintError("BasicXmlReader: %s, line %i: a name or value longer than %i characters is read as empty",
               HostQuoted(reader->filename).c_str(), reader->buffer.line, kBasicXmlTokenSize - 1);
    PrintError("BasicXmlReader:overflow");
}

// Copies the name at the position into dst. A name too long for the buffer is reported, read to
// its end and given back empty, so that the caller carries on with what follows it.
static int ReadName(sBasicXmlReader* reader, char* dst)
{
    sBasicXmlStreamBuffer* b = &reader->buffer;
    int n = 0;
    while (!AtEnd(b) && IsNameChar(Cur(b))) {
        if (n == kBasicXmlTokenSize - 1) {
            ReportOverflow(reader);
            while (!AtEnd(b) && IsNameChar(Cur(b))) Advance(b);
            n = 0;
            break;
        }
        dst[n++] = Cur(b);
        Advance(b);
    }
    dst[n] = 0;
    return AtEnd(b) ? 0 : 1;
}

int BasicXmlReader_Init(sBasicXmlReader* reader, const char* filename)
{
    if (!reader) return 0;
    reader->tagDepth = 0;
    reader->isEndTag = 0;
    reader->isEmptyTag = 0;
    reader->tagBuffer[0] = 0;
    reader->attBuffer[0] = 0;
    reader->valBuffer[0] = 0;
    reader->tagLine = 0;
    reader->cutShort = 0;
    BasicXml_SNPrintf(reader->filename, kBasicXmlTokenSize, "%s", filename ? filename : "");
    return BasicXmlStreamBuffer_Init(&reader->buffer, filename);
}

// The end of input inside a comment or a tag: what follows it in the file is lost, so say where.
static void ReportCutShort(sBasicXmlReader* reader, const char* what, const char* tag, int line)
{
    // Where a stopped reading ends the input, the file itself is whole.
    if (reader->cutShort || reader->buffer.stopped) return;
    reader->cutShort = 1;
    PrintError("BasicXmlReader: %s: the %s%s%s opened on line %i is never closed; the rest of the file is lost",
               HostQuoted(reader->filename).c_str(), what, tag[0] ? " " : "", tag, line);
}

int BasicXmlReader_Fini(sBasicXmlReader* reader)
{
    if (!reader) return 1;
    if (reader->buffer.fp) FileClose(reader->buffer.fp);
    reader->buffer.fp = nullptr;
    // Reads after closing find the end of input.
    reader->buffer.eofPos = reader->buffer.bufferPos;
    return 1;
}

int BasicXmlReader_NextTag(sBasicXmlReader* reader)
{
    if (!reader) return 0;
    sBasicXmlStreamBuffer* b = &reader->buffer;
    reader->isEndTag = 0;
    reader->tagBuffer[0] = 0;
    for (;;) {
        while (!AtEnd(b) && Cur(b) != '<') Advance(b);
        reader->tagLine = b->line;
        if (Matches(b, "</")) {
            --reader->tagDepth;
            Skip(b, 2);
            reader->isEndTag = 1;
            break;
        }
        if (Matches(b, "<!--")) {
            // A comment ends at "-->", or at "--!>" as some writers close it.
            const int line = b->line;
            Skip(b, 4);
            while (!AtEnd(b) && !Matches(b, "-->") && !Matches(b, "--!>")) Advance(b);
            if (AtEnd(b)) ReportCutShort(reader, "comment", "", line);
            Skip(b, Matches(b, "-->") ? 3 : 4);
            continue;
        }
        if (!AtEnd(b)) ++reader->tagDepth;
        Advance(b);
        break;
    }
    // A tag without a name ("</>") ends at its own '>', which is left for NextEnd.
    while (!AtEnd(b) && !IsNameChar(Cur(b))) {
        if (Cur(b) == '>' || Matches(b, "/>")) return 1;
        Advance(b);
    }
    if (AtEnd(b)) return 0;
    const int named = ReadName(reader, reader->tagBuffer);
    // A start tag is closed when its attributes are read (NextEnd); an end tag must reach its '>'
    // here, or the input ended inside it.
    if (reader->isEndTag) {
        while (!AtEnd(b) && Cur(b) != '>' && Cur(b) != '<') Advance(b);
        if (AtEnd(b)) ReportCutShort(reader, "end tag", reader->tagBuffer, reader->tagLine);
    }
    return named;
}

int BasicXmlReader_NextAtt(sBasicXmlReader* reader)
{
    if (!reader) return 0;
    sBasicXmlStreamBuffer* b = &reader->buffer;
    reader->attBuffer[0] = 0;
    for (;;) {
        if (AtEnd(b)) return 0;
        char c = Cur(b);
        if (c == '>' || Matches(b, "/>")) return 0;
        if (IsNameChar(c)) break;
        if (c == '"' || c == '\'') {
            // The value of an attribute whose value was not read.
            SkipQuoted(b);
            continue;
        }
        Advance(b);
    }
    return ReadName(reader, reader->attBuffer);
}

int BasicXmlReader_NextVal(sBasicXmlReader* reader)
{
    if (!reader) return 0;
    sBasicXmlStreamBuffer* b = &reader->buffer;
    reader->valBuffer[0] = 0;
    // Up to the '='. The next name or the end of the tag coming first means that the attribute
    // has no value; they are left for the next call.
    for (;;) {
        if (AtEnd(b)) return 0;
        char c = Cur(b);
        if (c == '=') break;
        if (IsNameChar(c) || c == '>' || c == '<' || c == '"' || c == '\'' || Matches(b, "/>")) return 0;
        Advance(b);
    }
    Advance(b);
    while (!AtEnd(b) && IsSpace(Cur(b))) Advance(b);
    if (Cur(b) == '\'') {
        // Single quotes are not read; the value is passed over whole.
        SkipQuoted(b);
        return 0;
    }
    if (AtEnd(b) || Cur(b) != '"') return 0;
    Advance(b);

    static const struct {
        const char* text;
        char c;
    } entities[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    int n = 0;
    int overflow = 0;
    while (!AtEnd(b) && Cur(b) != '"') {
        char c = Cur(b);
        int length = 1;
        if (c == '&') {
            // An '&' that starts no known entity is dropped; what follows it is kept.
            length = 0;
            for (const auto& e : entities) {
                if (Matches(b, e.text)) {
                    c = e.c;
                    length = StringLength(e.text);
                    break;
                }
            }
            if (!length) {
                Advance(b);
                continue;
            }
        }
        if (n < kBasicXmlTokenSize - 1) {
            reader->valBuffer[n++] = c;
        } else {
            overflow = 1;
        }
        Skip(b, length);
    }
    reader->valBuffer[n] = 0;
    if (AtEnd(b)) {
        reader->valBuffer[0] = 0;
        return 0;
    }
    Advance(b);  // the closing quote
    if (overflow) {
        ReportOverflow(reader);
        reader->valBuffer[0] = 0;
        return 0;
    }
    return AtEnd(b) ? 0 : 1;
}

int BasicXmlReader_NextEnd(sBasicXmlReader* reader)
{
    if (!reader) return 0;
    sBasicXmlStreamBuffer* b = &reader->buffer;
    reader->isEmptyTag = 0;
    // Attributes not read are passed over, quoted values whole, so that a '>' in one does not end
    // the tag.
    for (;;) {
        if (AtEnd(b)) {
            ReportCutShort(reader, "tag", reader->tagBuffer, reader->tagLine);
            return 0;
        }
        if (Matches(b, "/>")) {
            --reader->tagDepth;
            Skip(b, 2);
            reader->isEmptyTag = 1;
            return 1;
        }
        char c = Cur(b);
        if (c == '>') {
            Advance(b);
            return 1;
        }
        if (c == '"' || c == '\'') {
            SkipQuoted(b);
        } else {
            Advance(b);
        }
    }
}

// --- Data items ---------------------------------------------------------------------------------

// After a damaged item: moves past the next token outside quotes, or up to the '<' that ends the
// element's text ("</" inside an open string), so that the next item is read in step.
static void SkipPastToken(sBasicXmlStreamBuffer* b, const char* token, int tokenLength, int inQuote)
{
    while (!AtEnd(b)) {
        char c = Cur(b);
        // A '<' in a string that was never closed may well be the element's end tag.
        if (c == '<' && (!inQuote || PeekAt(b, 1) == '/')) return;
        if (!inQuote && Matches(b, token)) {
            Skip(b, tokenLength);
            return;
        }
        Advance(b);
        if (c == '"') {
            inQuote = !inQuote;
        } else if (c == '\\' && inQuote && Cur(b) != '<') {
            Advance(b);  // an escaped character, perhaps a quote
        }
    }
}

int BasicXmlReader_ReadBeforeToken(sBasicXmlReader* reader, const char* token, char* out, int size)
{
    if (out && size > 0) out[0] = 0;
    if (!reader || !token || !token[0] || !out || size < 1) return 0;
    int tokenLength = StringLength(token);
    if (tokenLength >= kBasicXmlHalfSize) return 0;
    sBasicXmlStreamBuffer* b = &reader->buffer;
    if (AtEnd(b)) return 0;

    int n = 0;
    int quotes = 0;  // double quotes seen: 1 while the string is open, 2 once it is closed
    int full = 0;
    // Keeps what fits; the rest of a long item is read, checked and dropped.
    auto append = [&](char c) {
        if (n < size - 1) {
            out[n++] = c;
        } else {
            full = 1;
        }
    };
    for (;;) {
        if (AtEnd(b)) {
            out[0] = 0;
            return 0;
        }
        int inQuote = quotes == 1;
        if (!inQuote && Matches(b, token)) {
            out[n] = 0;
            Skip(b, tokenLength);
            if (full) ReportOverflow(reader);
            return 1;
        }
        char c = Cur(b);
        int ok = 1;
        if (!inQuote) {
            if (c == '"') {
                if (quotes == 2) {
                    ok = 0;  // a second string in one item
                } else {
                    quotes = 1;
                    n = 0;
                    full = 0;
                }
            } else if ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == 'e' || c == 'E' || c == '.' ||
                       IsSpace(c)) {
                append(c);
            } else {
                ok = 0;
            }
            if (ok) Advance(b);
        } else if (c == '"') {
            quotes = 2;
            Advance(b);
        } else if (c == '\\') {
            // "\n", "\r", "\t", "\"" and "\\" stand for their second character itself; a backslash
            // before anything else is dropped with it.
            char e = PeekAt(b, 1);
            if (e == 'n' || e == 'r' || e == 't' || e == '"' || e == '\\') append(e);
            if (e == '<') {
                Advance(b);
            } else {
                Skip(b, 2);
            }
        } else if (c == '&') {
            if (Matches(b, "&amp;")) {
                append('&');
                Skip(b, 5);
            } else if (Matches(b, "&quot;")) {
                append('"');
                Skip(b, 6);
            } else if (Matches(b, "&lt;")) {
                append('<');
                Skip(b, 4);
            } else if (Matches(b, "&gt;")) {
                append('>');
                Skip(b, 4);
            } else {
                ok = 0;
            }
        } else if (c == '<' || c == '>') {
            ok = 0;
        } else {
            append(c);
            Advance(b);
        }
        if (!ok) {
            SkipPastToken(b, token, tokenLength, inQuote);
            out[0] = 0;
            return 0;
        }
    }
}

// --- Values -------------------------------------------------------------------------------------

int BasicXmlReader_GetValINT(sBasicXmlReader* reader, int defaultValue)
{
    if (!reader || !reader->valBuffer[0]) return defaultValue;
    char* end = nullptr;
    long value = strtol(reader->valBuffer, &end, 0);
    if (end == reader->valBuffer) return defaultValue;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return int(value);
}

float BasicXmlReader_GetValFLOAT(sBasicXmlReader* reader, float defaultValue)
{
    if (!reader || !reader->valBuffer[0]) return defaultValue;
    char* end = nullptr;
    float value = strtof(reader->valBuffer, &end);
    if (end == reader->valBuffer) return defaultValue;
    return value;
}

int BasicXml_SNPrintf(char* buf, int size, const char* format, ...)
{
    if (!buf || size < 1) return 0;
    va_list args;
    va_start(args, format);
    int written = VPrintString(buf, size, format, args);
    va_end(args);
    return written;
}

// --- The writer's remains -----------------------------------------------------------------------

int BasicXml_EnablePrintf(int enable)
{
    printEnabled = enable;
    return 1;
}

int BasicXml_Printf(const char* format, ...)
{
    if (!printEnabled) return 0;
    char text[1024];
    va_list args;
    va_start(args, format);
    VPrintString(text, int(sizeof(text)), format, args);
    va_end(args);
    return 1;
}

int BasicXml_PrintSpaces(int n)
{
    (void)n;
    return 1;
}

int BasicXml_Print(void* fp, const char* format, ...)
{
    (void)fp;
    (void)format;
    return 0;
}

int BasicXml_CloseW(void* fp)
{
    if (fp) FileClose(fp);
    return 1;
}
