// Audio streams played from their archives through two buffers in turn: reads complete on the main
// thread, buffer switches happen on the sound thread.
#include "platform/streams.h"

#include <cstring>
#include <mutex>

#include "lib/memory.h"
#include "lib/printing.h"
#include "host/mixer.h"
#include "lib/resources.h"
#include "platform/fileserver.h"

DS3_stream_tag* gBackgroundMusicChannel = nullptr;
DS3_stream_tag* gBackgroundSoundChannel = nullptr;

// The list of streams, newest first, and every field of every stream: the sound thread walks
// and switches buffers under this lock, the main thread takes it for everything else.
static std::recursive_mutex streamSection;
static DS3_stream_tag* streamList = nullptr;

using Lock = std::lock_guard<std::recursive_mutex>;

static int Other(int buffer) { return buffer ^ 1; }

static bool StreamExists(const DS3_stream_tag* stream)
{
    for (const DS3_stream_tag* s = streamList; s; s = s->next)
        if (s == stream) return true;
    return false;
}

static bool Stereo(const DS3_stream_tag* s) { return s->flags & 1; }

int InitStreaming()
{
    Lock lock(streamSection);
    return 1;
}

int CountStreams()
{
    Lock lock(streamSection);
    int n = 0;
    for (const DS3_stream_tag* s = streamList; s; s = s->next) ++n;
    return n;
}

int CreateStream(int stereo, DS3_stream_tag** out)
{
    const uint32_t bufferBytes = kStreamChannelBufferBytes * (stereo ? 2 : 1);
    void* block = nullptr;
    if (!AllocateClearedMemory(&block, int(sizeof(DS3_stream_tag) + kStreamHeaderAreaBytes + 2 * bufferBytes)))
        return PrintError("CreateStream: no memory for a stream");
    auto* s = static_cast<DS3_stream_tag*>(block);
    DS3_soundChannel_tag* channel = nullptr;
    if (!(stereo ? SoundAllocateStereoChannel(&channel) : SoundAllocateMonoChannel(&channel))) {
        FreeManagedMemory(block, 0);
        return PrintError("CreateStream: no free sound channel");
    }
    uint8_t* area = static_cast<uint8_t*>(block) + sizeof(DS3_stream_tag);
    s->flags = stereo ? 1 : 0;
    s->loopCount = 1;
    s->currentSound = reinterpret_cast<DS3_sound_tag*>(area);
    s->bufferPtrs[0] = area + kStreamHeaderAreaBytes;
    s->bufferPtrs[1] = s->bufferPtrs[0] + bufferBytes;
    s->soundChannel = channel;
    channel->stream = s;
    if (channel->stereoChannel) channel->stereoChannel->stream = s;
    {
        Lock lock(streamSection);
        s->next = streamList;
        streamList = s;
    }
    if (out) *out = s;
    return 1;
}

// Stops the channel, drops queued reads and empties the buffers. Caller holds streamSection.
static void Halt(DS3_stream_tag* s)
{
    if (s->playing || s->paused) SoundCancel(s->soundChannel);
    s->cueing = s->playing = s->paused = 0;
    s->endPending = 0;
    s->queuedNext = 0;
    FileCancelRequest(s);
    s->readPending = 0;
    s->bufferSizes[0] = s->bufferSizes[1] = 0;
}

static int ReadSoundCallback(DS3_fileRequest_tag* request);
static int StreamReadCallback(DS3_fileRequest_tag* request);

// Takes resource rsid as the current one and queues the read of its record. Caller holds
// streamSection.
static int QueueResource(DS3_stream_tag* s, int rsid)
{
    resourceHeader* r = nullptr;
    if (!GetResourceHeader(rsid, &r) || r->resourceType != kResourceTypeSound)
        return PrintError("stream: resource %d is no sound", rsid);
    if ((r->resourceFlags & kResourceCompressed) || r->resourceLength < int32_t(kSoundHeaderBytes))
        return PrintError("stream: sound %d is compressed or empty and cannot be streamed", rsid);
    void* file = r->resourceFile ? ResourceFileHandle(r->resourceFile.get()) : nullptr;
    if (!file) return PrintError("stream: the archive of sound %d is not open", rsid);
    s->currentResourceHeader = r;
    s->fileHandle = file;
    s->fileOffset = uint32_t(r->resourceOffset);
    s->fileBytesRemaining = 0;
    s->currentSoundLength = 0;
    if (!FileReadAsync(file, s->currentSound, r->resourceOffset, int(kSoundHeaderBytes), ReadSoundCallback, s))
        return 0;
    s->readPending = 1;
    return 1;
}

static int StartResource(DS3_stream_tag* s, int rsid)
{
    Halt(s);
    s->readPosition = s->playPosition = 0;
    s->readingDone = 0;
    s->cueing = 1;
    if (!QueueResource(s, rsid)) {
        s->cueing = 0;
        return 0;
    }
    return 1;
}

int SoundStartStream(DS3_stream_tag** stream, int rsid)
{
    if (!stream) return 0;
    Lock lock(streamSection);
    if (*stream && !StreamExists(*stream)) return PrintError("SoundStartStream: no such stream");
    if (!*stream) {
        resourceHeader* r = nullptr;
        if (!GetResourceHeader(rsid, &r) || r->resourceType != kResourceTypeSound)
            return PrintError("SoundStartStream: resource %d is no sound", rsid);
        if (!CreateStream(0, stream)) return 0;
        (*stream)->purgeable = 1;
    }
    DS3_stream_tag* s = *stream;
    s->resourceList = s->resourcePtr = nullptr;
    if (StartResource(s, rsid)) return 1;
    // A stream made for this sound alone goes with it.
    if (s->purgeable) DeleteStream(stream);
    return 0;
}

int SoundStreamNextResource(DS3_stream_tag* stream, int rsid)
{
    if (!stream) return 0;
    return SoundStartStream(&stream, rsid);
}

int SoundStreamPlayList(DS3_stream_tag* stream, const uint32_t* list)
{
    if (!stream || !list || !list[0]) return 0;
    Lock lock(streamSection);
    if (!StreamExists(stream)) return PrintError("SoundStreamPlayList: no such stream");
    int n = 0;
    while (list[n] && n < kStreamMaxListLength) {
        stream->listStore[n] = list[n];
        ++n;
    }
    stream->listStore[n] = 0;
    stream->resourceList = stream->resourcePtr = stream->listStore;
    return StartResource(stream, int(stream->listStore[0]));
}

// Queues the read of the next buffer when one is empty and nothing is being read; at the end of
// the resource chooses what comes next. Caller holds streamSection.
static int ReadNextBuffer(DS3_stream_tag* s)
{
    if (s->readPending || s->readingDone) return 1;
    const int b = s->readPosition;
    if (s->bufferSizes[b] != 0) return 1;
    if (s->fileBytesRemaining == 0) {
        if (s->loopCount == 1) {
            if (!s->resourceList || !*++s->resourcePtr) {
                s->readingDone = 1;
                return 1;
            }
            // The next resource brings its own record: read it first. One that cannot be had
            // ends the list.
            if (QueueResource(s, int(*s->resourcePtr))) return 1;
            s->readingDone = 1;
            return 0;
        }
        if (s->loopCount > 1) --s->loopCount;
        s->fileOffset = uint32_t(s->currentResourceHeader->resourceOffset) + kSoundHeaderBytes;
        s->rightOffset = s->fileOffset + uint32_t(s->currentSoundLength) + kSoundHeaderBytes;
        s->fileBytesRemaining = uint32_t(s->currentSoundLength);
        if (s->fileBytesRemaining == 0) {
            s->readingDone = 1;
            return 1;
        }
    }
    const uint32_t bytes = s->fileBytesRemaining < kStreamChannelBufferBytes ? s->fileBytesRemaining
                                                                              : kStreamChannelBufferBytes;
    uint8_t* buffer = s->bufferPtrs[b];
    if (s->readStereo) {
        // The left half first; the right half's arrival completes the buffer.
        if (!FileReadAsync(s->fileHandle, buffer, int(s->fileOffset), int(bytes), nullptr, s)) return 0;
        if (!FileReadAsync(s->fileHandle, buffer + kStreamChannelBufferBytes, int(s->rightOffset), int(bytes),
                           StreamReadCallback, s)) {
            FileCancelRequest(s);
            return 0;
        }
    } else if (!FileReadAsync(s->fileHandle, buffer, int(s->fileOffset), int(bytes), StreamReadCallback, s)) {
        return 0;
    }
    s->pendingBuffer = b;
    s->readPending = 1;
    return 1;
}

// The record of a resource has arrived (main thread).
static int ReadSoundCallback(DS3_fileRequest_tag* request)
{
    auto* s = static_cast<DS3_stream_tag*>(request->callbackData);
    Lock lock(streamSection);
    if (!StreamExists(s)) return 1;
    s->readPending = 0;
    const DS3_sound_tag* sound = s->currentSound;
    const resourceHeader* r = s->currentResourceHeader;
    const int64_t room = int64_t(r->resourceLength) - kSoundHeaderBytes;
    const bool stereo = sound->flags & kSoundFlagStereo;
    const int64_t needed = stereo ? 2 * int64_t(sound->soundLength) + kSoundHeaderBytes : int64_t(sound->soundLength);
    if (request->error || sound->format > kSoundFormatAdpcm || sound->frequency == 0 || needed > room) {
        // Nothing more can be read; the stream ends with what it has.
        PrintError("stream: the sound record at %d of %s is damaged or of a format not streamed", r->resourceOffset,
                   ResourceArchivePath(r->resourceFile.get()));
        s->readingDone = 1;
        if (s->cueing && !s->bufferSizes[0] && !s->bufferSizes[1]) {
            s->cueing = 0;
            s->endPending = 1;
        }
        return 1;
    }
    s->currentSoundLength = int(sound->soundLength);
    s->fileOffset = uint32_t(r->resourceOffset) + kSoundHeaderBytes;
    s->rightOffset = s->fileOffset + sound->soundLength + kSoundHeaderBytes;
    s->fileBytesRemaining = sound->soundLength;
    // A mono stream plays a stereo sound's left half and reads only that.
    s->readStereo = stereo && Stereo(s);
    // A read that cannot be queued leaves the stream waiting; the frame goes on.
    if (!ReadNextBuffer(s)) PrintError("stream: the next read cannot be queued");
    return 1;
}

// Starts the channel on buffer b, keeping a fade that runs. Caller holds streamSection.
static int PlayBuffer(DS3_stream_tag* s, int b)
{
    DS3_soundChannel_tag* c = s->soundChannel;
    DS3_soundChannel_tag* partner = c->stereoChannel;
    const float finalVolume = c->finalVolume;
    const float delta = c->volumeDelta;
    const int ok = SoundStartChannel(&s->bufferSound[b][0], c, c->volume, partner ? partner->volume : c->volume, 1);
    c->purgeable = 0;
    c->finalVolume = finalVolume;
    c->volumeDelta = delta;
    if (partner) {
        partner->finalVolume = finalVolume;
        partner->volumeDelta = delta;
    }
    if (ok && s->paused) SoundPauseChannel(c);
    return ok;
}

// A buffer has been read (main thread).
static int StreamReadCallback(DS3_fileRequest_tag* request)
{
    auto* s = static_cast<DS3_stream_tag*>(request->callbackData);
    Lock lock(streamSection);
    if (!StreamExists(s)) return 1;
    s->readPending = 0;
    const uint32_t got = request->lengthRead;
    if (request->error || got == 0) {
        PrintError("stream: a read of %d bytes failed; the stream ends", int(request->length));
        s->fileBytesRemaining = 0;
        s->readingDone = 1;
        if (s->cueing && !s->bufferSizes[0] && !s->bufferSizes[1]) {
            s->cueing = 0;
            s->endPending = 1;
        }
        return 1;
    }
    const int b = s->pendingBuffer;
    uint8_t* buffer = s->bufferPtrs[b];
    s->fileOffset += got;
    s->rightOffset += got;
    s->fileBytesRemaining -= got < s->fileBytesRemaining ? got : s->fileBytesRemaining;
    if (got < kStreamChannelBufferBytes) {
        std::memset(buffer + got, 0, kStreamChannelBufferBytes - got);
        if (s->readStereo) std::memset(buffer + kStreamChannelBufferBytes + got, 0, kStreamChannelBufferBytes - got);
    }
    // This buffer's records, in the format of the resource it came from.
    const DS3_sound_tag* header = s->currentSound;
    DS3_sound_tag* left = &s->bufferSound[b][0];
    DS3_sound_tag* right = &s->bufferSound[b][1];
    *left = DS3_sound_tag{};
    left->frequency = header->frequency;
    left->format = header->format;
    left->samplePtr = buffer;
    left->soundLength = got;
    left->numSamples = SoundSamplesInBytes(got, header->format);
    if (s->readStereo) {
        *right = *left;
        right->samplePtr = buffer + kStreamChannelBufferBytes;
        left->flags = kSoundFlagStereo;
        left->stereoSound = right;
    }
    s->bufferSizes[b] = got;
    s->readPosition = Other(b);
    if (s->cueing) {
        s->playPosition = b;
        if (!PlayBuffer(s, b)) {
            PrintError("stream: the channel cannot start");
            return 1;
        }
        s->playing = 1;
        s->cueing = 0;
    }
    // A read that cannot be queued leaves the stream waiting; the frame goes on.
    if (!ReadNextBuffer(s)) PrintError("stream: the next read cannot be queued");
    return 1;
}

// The buffer being played has run out (sound thread). Caller holds streamSection.
static void StreamPlayCallback(DS3_stream_tag* s)
{
    if (!s->playing) return;
    s->bufferSizes[s->playPosition] = 0;
    s->playPosition = Other(s->playPosition);
    if (s->bufferSizes[s->playPosition] == 0) {
        // Underrun: the next buffer's arrival starts the channel again.
        s->cueing = 1;
        s->playing = 0;
    } else {
        PlayBuffer(s, s->playPosition);
    }
    s->readPosition = Other(s->playPosition);
    ReadNextBuffer(s);
    if (s->cueing && s->readingDone && !s->readPending && !s->bufferSizes[0] && !s->bufferSizes[1]) {
        // The end: the main thread calls back and deletes a stream that deletes itself.
        s->cueing = 0;
        s->paused = 0;
        s->playing = 0;
        s->endPending = 1;
    }
}

// The voice has gone on to the queued buffer: the one before it is used up (sound thread).
// Caller holds streamSection.
static void BufferConsumed(DS3_stream_tag* s)
{
    s->queuedNext = 0;
    s->bufferSizes[s->playPosition] = 0;
    s->playPosition = Other(s->playPosition);
    s->readPosition = Other(s->playPosition);
    ReadNextBuffer(s);
}

int UpdateStreaming()
{
    Lock lock(streamSection);
    for (DS3_stream_tag* s = streamList; s; s = s->next) {
        if (!s->playing) continue;
        const int voice = s->soundChannel->channelNum;
        if (s->queuedNext && !HostVoiceHasQueued(voice)) BufferConsumed(s);
        // The next buffer waits on the voice as soon as it has been read, so that the two join
        // without a gap; a voice that has run dry (an underrun, or the end) is restarted below.
        const int next = Other(s->playPosition);
        if (!s->queuedNext && s->bufferSizes[next] && SoundVoiceIsPlaying(voice))
            s->queuedNext = SoundQueueChannel(s->soundChannel, &s->bufferSound[next][0]);
        if (!s->queuedNext && !SoundVoiceIsPlaying(voice)) StreamPlayCallback(s);
    }
    return 1;
}

// Unlinks, cancels and frees a stream. Caller holds streamSection.
static void Destroy(DS3_stream_tag* s)
{
    Halt(s);
    for (DS3_stream_tag** link = &streamList; *link; link = &(*link)->next) {
        if (*link == s) {
            *link = s->next;
            break;
        }
    }
    DS3_soundChannel_tag* channel = s->soundChannel;
    if (channel) {
        channel->stream = nullptr;
        if (channel->stereoChannel) channel->stereoChannel->stream = nullptr;
        DeleteSoundChannel(&channel);
    }
    if (s == gBackgroundMusicChannel) gBackgroundMusicChannel = nullptr;
    if (s == gBackgroundSoundChannel) gBackgroundSoundChannel = nullptr;
    FreeManagedMemory(s, 0);
}

int UpdateStreamEnds()
{
    for (;;) {
        int (*callback)(void*) = nullptr;
        {
            Lock lock(streamSection);
            DS3_stream_tag* s = streamList;
            while (s && !s->endPending) s = s->next;
            if (!s) return 1;
            s->endPending = 0;
            callback = s->completionCallback;
            if (s->purgeable) Destroy(s);
        }
        // The callback is told nothing of the stream and may start another resource on it.
        if (callback) callback(nullptr);
    }
}

int StopStream(DS3_stream_tag* stream)
{
    if (!stream) return 0;
    Lock lock(streamSection);
    if (!StreamExists(stream)) return 0;
    Halt(stream);
    return 1;
}

int StreamIsActive(DS3_stream_tag* stream)
{
    if (!stream) return 0;
    Lock lock(streamSection);
    return StreamExists(stream) && (stream->playing || stream->cueing);
}

int PauseStream(DS3_stream_tag* stream)
{
    if (!stream) return 0;
    Lock lock(streamSection);
    if (!StreamExists(stream)) return 0;
    if (stream->playing && !stream->paused) {
        SoundPauseChannel(stream->soundChannel);
        stream->paused = 1;
    }
    return 1;
}

int ResumeStream(DS3_stream_tag* stream)
{
    if (!stream) return 0;
    Lock lock(streamSection);
    if (!StreamExists(stream)) return 0;
    if (stream->playing && stream->paused) {
        SoundResumeChannel(stream->soundChannel);
        stream->paused = 0;
    }
    return 1;
}

int SetStreamVolume(DS3_stream_tag* stream, unsigned char percent)
{
    if (!stream) return 0;
    Lock lock(streamSection);
    return SetChannelVolume(stream->soundChannel, percent);
}

int SetStreamVolumeFade(DS3_stream_tag* stream, int percent, int milliseconds)
{
    if (!stream) return 0;
    Lock lock(streamSection);
    return SetChannelVolumeFade(stream->soundChannel, percent, milliseconds);
}

int SetStreamLoopCount(DS3_stream_tag* stream, unsigned int loopCount)
{
    if (!stream) return 0;
    Lock lock(streamSection);
    stream->loopCount = loopCount;
    return 1;
}

int SetStreamCompletionCallback(DS3_stream_tag* stream, int (*callback)(void*))
{
    if (!stream) return 0;
    Lock lock(streamSection);
    stream->completionCallback = callback;
    return 1;
}

int DeleteStream(DS3_stream_tag** stream)
{
    if (!stream || !*stream) return 0;
    Lock lock(streamSection);
    DS3_stream_tag* s = *stream;
    *stream = nullptr;
    if (!StreamExists(s)) return PrintError("DeleteStream: no such stream");
    Destroy(s);
    return 1;
}

int DeleteAllStreams()
{
    Lock lock(streamSection);
    while (streamList) Destroy(streamList);
    return 1;
}
