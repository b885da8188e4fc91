// Fuzzes the streaming XML reader: any file is read the way the loaders read it (tags, attributes,
// values, tag ends and comma-separated cells), then again with the token calls in an order taken
// from the input. Nothing may crash or hang, every token stays terminated inside its buffer, and
// no call reports a token without moving on through the file.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "host/arena.h"
#include "host/files.h"
#include "host/host.h"
#include "lib/memory.h"
#include "platform/fileserver.h"
#include "xml/xmlreader.h"

static std::string xmlPath;

static void SetUpOnce()
{
    HostArenaInit(16 << 20);
    u8* start = HostDeviceMemoryAddress();
    InitMemoryHeap(&deviceHeap, start, start + HostDeviceMemorySize(), 0x2000, 128, 0, 1);
    const std::string dir = HostMakeTempFolder("zendrolyx-xml-fuzz");
    if (dir.empty()) std::abort();
    gHostOptions.romDir = dir;
    // The folder goes when the fuzzer ends its run (one that crashes leaves it as it was).
    std::atexit([] { std::filesystem::remove_all(gHostOptions.romDir); });
    xmlPath = std::string(dir) + "/fuzz.xml";
    if (!FileSystemInit()) std::abort();
}

static void Check(int ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "xml_fuzz: %s\n", what);
        std::abort();
    }
}

static void CheckReader(const sBasicXmlReader* r)
{
    Check(memchr(r->tagBuffer, 0, sizeof(r->tagBuffer)) != nullptr, "tag name not terminated");
    Check(memchr(r->attBuffer, 0, sizeof(r->attBuffer)) != nullptr, "attribute name not terminated");
    Check(memchr(r->valBuffer, 0, sizeof(r->valBuffer)) != nullptr, "value not terminated");
    const sBasicXmlStreamBuffer& b = r->buffer;
    Check(b.bufferPos >= b.b0 && b.bufferPos < b.b2, "position outside the ring");
    Check(!b.eofPos || (b.eofPos >= b.b0 && b.eofPos < b.b2), "end outside the ring");
}

// Every token reported consumes at least one character, so no count of them can pass the file's
// size; more means a call reported a token without moving on.
static void ReadCells(sBasicXmlReader* r, long* tokens, long limit, int size)
{
    char cell[80];
    memset(cell, 'x', sizeof(cell));
    for (int i = 0; i < 40; ++i) {
        if (BasicXmlReader_ReadBeforeToken(r, ",", cell, size)) ++*tokens;
        Check(memchr(cell, 0, size_t(size)) != nullptr, "cell not terminated inside its buffer");
        Check(*tokens <= limit, "cells were read without moving on");
        CheckReader(r);
    }
}

// The loaders' order: each start tag's attributes with their values, then its end; the text of
// an open element is read as cells when the input asks for it.
static void Walk(sBasicXmlReader* r, long fileSize, int cellSize, int readCells)
{
    long tokens = 0;
    while (BasicXmlReader_NextTag(r)) {
        Check(++tokens <= fileSize, "tags were read without moving on");
        CheckReader(r);
        if (!r->isEndTag) {
            while (BasicXmlReader_NextAtt(r)) {
                Check(++tokens <= fileSize, "attributes were read without moving on");
                BasicXmlReader_NextVal(r);
                BasicXmlReader_GetValINT(r, 0);
                BasicXmlReader_GetValFLOAT(r, 0.0f);
                CheckReader(r);
            }
        }
        if (!BasicXmlReader_NextEnd(r)) break;
        if (readCells && !r->isEndTag && !r->isEmptyTag) ReadCells(r, &tokens, fileSize, cellSize);
    }
}

// The token calls in any order, as a loader with a different grammar might make them.
static void Scramble(sBasicXmlReader* r, const uint8_t* script, size_t length)
{
    for (int round = 0; round < 64; ++round) {
        for (size_t i = 0; i < length; ++i) {
            char cell[16];
            switch (script[i] % 5) {
            case 0: BasicXmlReader_NextTag(r); break;
            case 1: BasicXmlReader_NextAtt(r); break;
            case 2: BasicXmlReader_NextVal(r); break;
            case 3: BasicXmlReader_NextEnd(r); break;
            default: BasicXmlReader_ReadBeforeToken(r, script[i] & 8 ? "," : "/>", cell, int(sizeof(cell))); break;
            }
            CheckReader(r);
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = (SetUpOnce(), true);
    (void)ready;
    if (size < 4) return 0;
    // The first bytes steer the reading; the rest is the file.
    int cellSize = 1 + data[0] % 80;
    int readCells = data[1] & 1;
    const uint8_t* script = data + 2;
    size_t scriptLength = data[1] >> 5;

    std::FILE* f = std::fopen(xmlPath.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(data + 2, 1, size - 2, f);
    std::fclose(f);

    sBasicXmlReader reader;
    Check(BasicXmlReader_Init(&reader, "fuzz.xml") == 1, "the file did not open");
    Walk(&reader, long(size - 2), cellSize, readCells);
    Check(BasicXmlReader_NextTag(&reader) == 0, "input left after the end");
    BasicXmlReader_Fini(&reader);

    Check(BasicXmlReader_Init(&reader, "fuzz.xml") == 1, "the file did not open again");
    Scramble(&reader, script, scriptLength < size - 2 ? scriptLength : size - 2);
    BasicXmlReader_Fini(&reader);
    return 0;
}
