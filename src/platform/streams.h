// Audio streams: music and long sounds played straight from their archive, read by the file
// server into two buffers in turn while the mixer plays the other. Reads complete on the main
// thread; the switch from one buffer to the next happens on the sound thread, which checks every
// mixer frame whether a stream's voice has run dry. A stream plays one resource, a list of
// resources in turn, or one resource a number of times (or for ever), and calls back at its end.
//
// A streamed sound resource is stored as a loaded one is: its record, the left (or only)
// channel's samples, and for a stereo sound the right half's record and samples. A stereo stream
// reads both halves of each buffer; a mono stream reads the left half only.
#pragma once

#include <cstdint>

#include "platform/sound.h"

struct resourceHeader;

constexpr uint32_t kStreamHeaderAreaBytes = 1060;
constexpr uint32_t kStreamChannelBufferBytes = 0x8000;  // per channel and buffer
constexpr int kStreamMaxListLength = 16;

struct DS3_stream_tag {
    uint32_t flags;  // bit 0: stereo stream
    int (*completionCallback)(void*);
    uint32_t loopCount;  // 0 for ever; 1 then the next resource of the list; n > 1 n times
    void* fileHandle;
    uint32_t fileOffset;          // next read of the left (or only) channel in the archive
    uint32_t fileBytesRemaining;  // bytes of the current play not yet read, per channel
    int currentSoundLength;       // bytes of one channel of the current resource
    DS3_sound_tag* currentSound;  // the header area: the current resource's record as read
    DS3_soundChannel_tag* soundChannel;
    resourceHeader* currentResourceHeader;
    uint8_t* bufferPtrs[2];
    uint32_t bufferSizes[2];  // bytes per channel waiting in each buffer; 0 empty
    int cueing;               // waiting for a buffer to start (again) with
    int playing;
    int paused;
    int readPosition;  // the buffer to read into next
    int playPosition;  // the buffer being played
    int purgeable;     // deleted when it ends
    int readPending;
    uint32_t* resourceList;  // zero-terminated list played in turn, or null
    uint32_t* resourcePtr;   // its current entry
    DS3_stream_tag* next;
    // What the host needs beyond that: the buffer the queued read fills, whether the next buffer
    // waits on the voice to follow without a gap, the right half's read
    // position, whether reading is over, an end waiting for the main thread, the list's copy,
    // and each buffer's own records (left and right), so that each plays in its resource's format.
    int pendingBuffer;
    int queuedNext;  // the buffer after playPosition is queued on the voice
    uint32_t rightOffset;
    int readStereo;
    int readingDone;
    int endPending;
    uint32_t listStore[kStreamMaxListLength + 1];
    DS3_sound_tag bufferSound[2][2];
};

int InitStreaming();
// A stream with a mono (0) or stereo channel pair, linked into the list of streams.
int CreateStream(int stereo, DS3_stream_tag** out);
// Starts resource rsid on *stream; with no stream, a mono stream is made that deletes itself at
// its end. 0 when the resource cannot be streamed or its read cannot be queued.
int SoundStartStream(DS3_stream_tag** stream, int rsid);
int SoundStreamNextResource(DS3_stream_tag* stream, int rsid);
// Plays the zero-terminated list (at most 16 ids, copied) from its first entry, one after another.
int SoundStreamPlayList(DS3_stream_tag* stream, const uint32_t* list);
int StopStream(DS3_stream_tag* stream);
// 1 while the stream plays or waits for its first buffer (cueing); read under the streams' lock,
// since the sound thread changes both. 0 for a null or deleted stream.
int StreamIsActive(DS3_stream_tag* stream);
int PauseStream(DS3_stream_tag* stream);
int ResumeStream(DS3_stream_tag* stream);
int SetStreamVolume(DS3_stream_tag* stream, unsigned char percent);
int SetStreamVolumeFade(DS3_stream_tag* stream, int percent, int milliseconds);
int SetStreamLoopCount(DS3_stream_tag* stream, unsigned int loopCount);
int SetStreamCompletionCallback(DS3_stream_tag* stream, int (*callback)(void*));
int DeleteStream(DS3_stream_tag** stream);
int DeleteAllStreams();
// The sound thread's pass over the streams, once per mixer frame.
int UpdateStreaming();
// The main thread's part of the streams' ends: completion callbacks and deletion of streams that
// delete themselves. Run by the sound upkeep.
int UpdateStreamEnds();
// Number of streams in the list.
int CountStreams();

// The game's music and ambience streams.
extern DS3_stream_tag* gBackgroundMusicChannel;
extern DS3_stream_tag* gBackgroundSoundChannel;
