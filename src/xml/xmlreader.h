// The streaming XML reader of the UI descriptions and the table databases. It is a forward-only
// scanner, not a general parser: the file streams through a 1024-byte ring refilled 512 bytes at
// a time, and the loaders call the four token calls (next tag, next attribute name, next
// attribute value, end of tag) in the order their grammar expects, plus a reader of one
// comma-separated data item. It allocates nothing.
//
// Usage: after NextTag, call NextAtt until it returns 0, following every NextAtt that returned 1
// with NextVal (an attribute whose value is not wanted is read and dropped; a 0 from NextVal means
// the attribute has no usable value: skip it and go on with NextAtt); then NextEnd, which tells
// from isEmptyTag whether the element has children. NextEnd also skips any attributes that
// were not read. A token that does not fit its 256-character buffer is reported with
// "BasicXmlReader:overflow\n", skipped to its end and returned empty, so the element stays in step.
#pragma once

#include <cstdint>

enum {
    kBasicXmlRingSize = 1024,
    kBasicXmlHalfSize = 512,
    kBasicXmlTokenSize = 256,  // a name or value holds at most 255 characters
};

struct sBasicXmlStreamBuffer {
    void* fp;                          // the open file, from FileOpen
    char buffer[kBasicXmlRingSize];    // the ring: two halves of 512 bytes
    char* bufferPos;                   // current character
    char* eofPos;                      // end of the file's data in the ring once known, else null
    char* b0;                          // start of the first half
    char* b1;                          // start of the second half
    char* b2;                          // end of the ring
    int32_t line;                      // the line of the current character, from 1
    int64_t fileSize;                  // the open file's length in bytes; -1 when unknown
    int64_t fileRead;                  // bytes read from the file into the ring so far
    int32_t stopped;                   // the order to close stopped the reading: the input ends
                                       // at eofPos, the file does not, and nothing is reported
};

// The ring points into itself: a reader must not be copied while in use.
struct sBasicXmlReader {
    sBasicXmlStreamBuffer buffer;
    int32_t tagDepth;    // +1 per start tag, -1 per end tag and per "/>"
    int32_t isEndTag;    // the last tag read was "</name"
    int32_t isEmptyTag;  // the last tag end read was "/>"
    int32_t tagLine;     // the line on which the last tag began
    int32_t cutShort;    // the end of input was met inside a comment or tag (reported once)
    char filename[kBasicXmlTokenSize];  // for messages
    char tagBuffer[kBasicXmlTokenSize];
    char attBuffer[kBasicXmlTokenSize];
    char valBuffer[kBasicXmlTokenSize];
};

// Opens "rom:/" + filename ('\' read as '/'). 0 for a null reader or a file that cannot be opened.
int BasicXmlReader_Init(sBasicXmlReader* reader, const char* filename);
// Closes the file if open. Returns 1, also for null.
int BasicXmlReader_Fini(sBasicXmlReader* reader);

int BasicXmlStreamBuffer_Init(sBasicXmlStreamBuffer* buffer, const char* filename);
// Advances one character; nothing at the end of input.
int BasicXmlStreamBuffer_Next(sBasicXmlStreamBuffer* buffer);

// The token calls: 1 when a token was read and input remains, else 0 (with the token emptied).
// NextTag skips text and comments to the next tag and reads its name into tagBuffer (isEndTag
// tells an end tag); 0 at the end of input.
int BasicXmlReader_NextTag(sBasicXmlReader* reader);
// The next attribute name of the open tag into attBuffer; 0 at the tag's ">" or "/>", which is
// left for NextEnd.
int BasicXmlReader_NextAtt(sBasicXmlReader* reader);
// The value of the attribute just read into valBuffer, entities decoded; 0 when it has none.
int BasicXmlReader_NextVal(sBasicXmlReader* reader);
// Moves past the tag's ">" or "/>" (isEmptyTag); 0 at the end of input, which inside a tag is
// reported with the tag's line (the rest of the file is lost). A comment never closed is reported
// by NextTag the same way. An end of input where the order to close stopped the reading
// (buffer.stopped) is no damage and is not reported.
int BasicXmlReader_NextEnd(sBasicXmlReader* reader);

// Reads one data item of an element's text up to `token` (the databases use ",") into out, at
// most size - 1 characters: a number (digits, signs, '.', 'e', 'E' and white space) or one string
// in double quotes with its escapes and entities. Moves past the token and returns 1. A damaged
// item returns 0 with out empty and the reader moved past the next token (never past the element's end tag), so
// that the following item is read in step.
int BasicXmlReader_ReadBeforeToken(sBasicXmlReader* reader, const char* token, char* out, int size);

// How many bytes of the file lie at and after the current character (what the rest of the file
// could still describe), read or not; INT64_MAX when the file's length is not known.
int64_t BasicXmlReader_BytesLeft(const sBasicXmlReader* reader);

// valBuffer converted with "%i" or "%f"; defaultValue when empty or not a number.
int BasicXmlReader_GetValINT(sBasicXmlReader* reader, int defaultValue);
float BasicXmlReader_GetValFLOAT(sBasicXmlReader* reader, float defaultValue);

// Replaces every '\' by '/' in place. Returns 1 (0 for null).
int BasicXml_BS2FS(char* path);
// Formats into at most size - 1 characters and terminates; returns the characters written.
int BasicXml_SNPrintf(char* buf, int size, const char* format, ...) __attribute__((format(printf, 3, 4)));

// Remains of a writer: nothing is printed or written through these.
int BasicXml_EnablePrintf(int enable);
int BasicXml_Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
int BasicXml_PrintSpaces(int n);
int BasicXml_Print(void* fp, const char* format, ...) __attribute__((format(printf, 2, 3)));
int BasicXml_CloseW(void* fp);
