// Video decoding of the host: a clip file (a standard container holding one video stream and up
// to a few audio streams) is read through the host's files and decoded with FFmpeg's libraries.
// Pictures come out scaled to the lower screen as RGB565 texels, sound as 16-bit mono samples at
// the clip's own rate. Nothing above this layer sees FFmpeg; the platform's player drives a
// decoder through this header and its own callbacks. FFmpeg allocates its own working memory
// with its own allocator.
#pragma once

#include <cstddef>
#include <cstdint>

struct HostVideo;

// The size every picture is scaled to.
constexpr int kHostVideoWidth = 320;
constexpr int kHostVideoHeight = 240;

// What a decoder reports to its player. Every function may be null except where noted.
struct HostVideoSink {
    void* user;
    // An audio stream of the file, in file order. A 0 result refuses it: it is not decoded.
    // Only the first stream accepted is decoded; the others are announced for the player's check.
    int (*newAudioStream)(void* user, int sampleRate, int channels);
    // A picture was written to the target (see HostVideoSetTarget), due at ms of the clip.
    void (*pictureReady)(void* user, int64_t ms);
    // Mono 16-bit samples of the accepted audio stream, in order.
    void (*audioSamples)(void* user, const int16_t* samples, uint32_t count);
};

enum HostVideoStatus { kHostVideoRunning = 4, kHostVideoEnded = 1, kHostVideoFailed = 7 };

// Opens a clip for decoding: from a game path ("rom:/Video/x.mkv") through the host's files, or
// from bytes in memory (which must outlive the decoder). Null when the file cannot be opened or
// holds no video stream that can be decoded; the reason is in *error when error is not null.
HostVideo* HostVideoOpen(const char* gamePath, const HostVideoSink* sink, const char** error);
HostVideo* HostVideoOpenMemory(const uint8_t* data, size_t size, const HostVideoSink* sink, const char** error);
void HostVideoClose(HostVideo* video);

// Where pictures are written: kHostVideoWidth x kHostVideoHeight RGB565 texels (little-endian
// words, red in the high bits), rows of pitchBytes, row 0 the top. Until one is set, pictures
// are decoded and dropped.
void HostVideoSetTarget(HostVideo* video, uint8_t* texels, int pitchBytes);

// Decodes until the picture due at clip time ms has been written (pictures due later wait for a
// later call; pictures passed over are not converted), handing on the sound read on the way.
// kHostVideoRunning, kHostVideoEnded once the last picture has been shown, or kHostVideoFailed
// when the data is damaged beyond use.
int HostVideoDecodeUntil(HostVideo* video, int64_t ms);
// Reads the sound up to ms (at most 500) ahead of the pictures asked for: a player whose sound is
// heard only after a buffer fills keeps it in step with the pictures this way. 0 at the start.
void HostVideoSetSoundLead(HostVideo* video, int ms);
// Pictures written so far.
int HostVideoPicturesShown(const HostVideo* video);
