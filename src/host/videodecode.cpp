// Clip decoding with FFmpeg: the demuxer reads through the host's files (so the file fault hook
// reaches video reads too) or from memory; pictures are decoded in order and only the last one
// due at the asked time is scaled into the target, so a clip runs on game time however fast the
// frames come. The sound can be read a little ahead of the pictures (a few decoded pictures wait
// meanwhile), so that a player that buffers sound before it is heard can keep it in step. The clips are Matroska files of MPEG-4 video and MP2 sound, which Debian's FFmpeg
// both writes and reads; only those are accepted, so a damaged file meets no other decoder.
#include "host/videodecode.h"

#include <cstring>
#include <deque>
#include <vector>

#include "host/errorlog.h"
#include "host/files.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

struct HostVideo {
    HostVideoSink sink;
    HostFile* file = nullptr;
    const uint8_t* memory = nullptr;
    size_t memorySize = 0;
    size_t memoryPos = 0;
    AVIOContext* io = nullptr;
    AVFormatContext* format = nullptr;
    AVCodecContext* picture = nullptr;
    AVCodecContext* sound = nullptr;
    int pictureStream = -1;
    int soundStream = -1;
    SwsContext* scaler = nullptr;
    SwrContext* resampler = nullptr;
    // What the resampler was made for: a frame of any other layout is not fed to it.
    AVChannelLayout soundLayout{};
    int soundFormat = -1;
    int soundRate = 0;
    AVPacket* packet = nullptr;
    AVFrame* decoded = nullptr;  // scratch for each decoder's output
    // Pictures decoded and not yet due, oldest first, with their times; read ahead for the sound.
    std::deque<AVFrame*> waiting;
    std::deque<int64_t> waitingMs;
    AVFrame* due = nullptr;  // the last picture due, not yet converted
    int hasDue = 0;
    int64_t dueMs = 0;
    int64_t lastMs = -1;
    int64_t soundLeadMs = 0;
    // Clip time past which the clip ends whatever its pictures' times say (-1: no length stated).
    int64_t endMs = -1;
    uint64_t soundSamples = 0;  // handed on so far
    int inputEnded = 0;
    int picturesEnded = 0;
    int shown = 0;
    uint8_t* target = nullptr;
    int targetPitch = 0;
    std::vector<int16_t> samples;
};

// Input of the demuxer.
enum { kIoBufferBytes = 32768 };
// Only these are read: what mkrom writes.
static const char* const kFormats = "matroska";
static const char* const kCodecs = "mpeg4,mp2";
// Sound streams outside these bounds are not announced.
enum { kMinRate = 4000, kMaxRate = 96000, kMaxChannels = 8, kMaxSide = 2048 };
// The sound may be read at most this far ahead of the pictures, holding at most this many.
enum { kMaxSoundLeadMs = 500, kMaxWaitingPictures = 16 };
// A clip ends this long after the length its file states, so that damaged picture times (a jump
// far ahead) cannot hold one picture on screen for ever.
enum { kOverrunMs = 3000 };

static int ReadFile(void* opaque, uint8_t* buffer, int size)
{
    auto* v = static_cast<HostVideo*>(opaque);
    uint32_t done = 0;
    if (HostFileRead(v->file, buffer, uint32_t(size), &done) != kHostFileOk) return AVERROR(EIO);
    return done == 0 ? AVERROR_EOF : int(done);
}

static int64_t SeekFile(void* opaque, int64_t offset, int whence)
{
    auto* v = static_cast<HostVideo*>(opaque);
    uint64_t size = 0;
    if (HostFileSize(v->file, &size) != kHostFileOk) return -1;
    if (whence == AVSEEK_SIZE) return int64_t(size);
    if ((whence & ~AVSEEK_FORCE) != SEEK_SET || offset < 0) return -1;
    return HostFileSeek(v->file, uint64_t(offset)) == kHostFileOk ? offset : -1;
}

static int ReadMemory(void* opaque, uint8_t* buffer, int size)
{
    auto* v = static_cast<HostVideo*>(opaque);
    size_t left = v->memorySize - v->memoryPos;
    size_t n = size_t(size) < left ? size_t(size) : left;
    if (n == 0) return AVERROR_EOF;
    memcpy(buffer, v->memory + v->memoryPos, n);
    v->memoryPos += n;
    return int(n);
}

static int64_t SeekMemory(void* opaque, int64_t offset, int whence)
{
    auto* v = static_cast<HostVideo*>(opaque);
    if (whence == AVSEEK_SIZE) return int64_t(v->memorySize);
    if ((whence & ~AVSEEK_FORCE) != SEEK_SET || offset < 0 || uint64_t(offset) > v->memorySize) return -1;
    v->memoryPos = size_t(offset);
    return offset;
}

void HostVideoClose(HostVideo* v)
{
    if (!v) return;
    avcodec_free_context(&v->picture);
    avcodec_free_context(&v->sound);
    sws_freeContext(v->scaler);
    swr_free(&v->resampler);
    av_channel_layout_uninit(&v->soundLayout);
    av_packet_free(&v->packet);
    av_frame_free(&v->decoded);
    for (AVFrame*& f : v->waiting) av_frame_free(&f);
    av_frame_free(&v->due);
    avformat_close_input(&v->format);
    if (v->io) av_freep(&v->io->buffer);
    avio_context_free(&v->io);
    if (v->file) HostFileClose(v->file);
    delete v;
}

static AVCodecContext* OpenDecoder(const AVStream* stream)
{
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) return nullptr;
    AVCodecContext* c = avcodec_alloc_context3(codec);
    if (!c) return nullptr;
    // One thread: decoding stays on the calling thread, in the same order on every run.
    c->thread_count = 1;
    if (avcodec_parameters_to_context(c, stream->codecpar) < 0 || av_opt_set(c, "codec_whitelist", kCodecs, 0) < 0 ||
        avcodec_open2(c, codec, nullptr) < 0) {
        avcodec_free_context(&c);
    }
    return c;
}

// Announces every sound stream and opens a decoder and a resampler for the first one accepted.
static void OpenSound(HostVideo* v)
{
    for (unsigned i = 0; i < v->format->nb_streams; ++i) {
        const AVCodecParameters* p = v->format->streams[i]->codecpar;
        if (p->codec_type != AVMEDIA_TYPE_AUDIO) continue;
        const int channels = p->ch_layout.nb_channels;
        if (p->sample_rate < kMinRate || p->sample_rate > kMaxRate || channels < 1 || channels > kMaxChannels) continue;
        const int accepted = !v->sink.newAudioStream || v->sink.newAudioStream(v->sink.user, p->sample_rate, channels);
        if (!accepted || v->soundStream >= 0) continue;
        AVCodecContext* c = OpenDecoder(v->format->streams[i]);
        if (!c) continue;
        AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
        SwrContext* r = nullptr;
        if (swr_alloc_set_opts2(&r, &mono, AV_SAMPLE_FMT_S16, p->sample_rate, &c->ch_layout, c->sample_fmt,
                                c->sample_rate, 0, nullptr) < 0 ||
            swr_init(r) < 0) {
            swr_free(&r);
            avcodec_free_context(&c);
            continue;
        }
        v->sound = c;
        v->resampler = r;
        av_channel_layout_copy(&v->soundLayout, &c->ch_layout);
        v->soundFormat = c->sample_fmt;
        v->soundRate = c->sample_rate;
        v->soundStream = int(i);
    }
}

static HostVideo* Fail(HostVideo* v, const char* reason, const char** error)
{
    if (error) *error = reason;
    HostVideoClose(v);
    return nullptr;
}

static HostVideo* Open(HostVideo* v, const char** error)
{
    // A damaged clip is reported once, by the player; the libraries' own notes stay quiet.
    av_log_set_level(AV_LOG_QUIET);
    const bool fromFile = v->file != nullptr;
    auto* buffer = static_cast<uint8_t*>(av_malloc(kIoBufferBytes));
    if (!buffer) return Fail(v, "no memory", error);
    v->io = avio_alloc_context(buffer, kIoBufferBytes, 0, v, fromFile ? ReadFile : ReadMemory, nullptr,
                               fromFile ? SeekFile : SeekMemory);
    if (!v->io) {
        av_free(buffer);
        return Fail(v, "no memory", error);
    }
    v->format = avformat_alloc_context();
    if (!v->format) return Fail(v, "no memory", error);
    v->format->pb = v->io;
    v->format->flags |= AVFMT_FLAG_CUSTOM_IO;
    v->format->format_whitelist = av_strdup(kFormats);
    v->format->codec_whitelist = av_strdup(kCodecs);
    if (avformat_open_input(&v->format, nullptr, nullptr, nullptr) < 0) {
        v->format = nullptr;  // freed by the failed open
        return Fail(v, "not a video file", error);
    }
    if (avformat_find_stream_info(v->format, nullptr) < 0) return Fail(v, "the video's streams cannot be read", error);
    v->pictureStream = av_find_best_stream(v->format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (v->pictureStream < 0) return Fail(v, "no picture stream", error);
    const AVCodecParameters* p = v->format->streams[v->pictureStream]->codecpar;
    if (p->width <= 0 || p->height <= 0 || p->width > kMaxSide || p->height > kMaxSide)
        return Fail(v, "the picture size is out of bounds", error);
    v->picture = OpenDecoder(v->format->streams[v->pictureStream]);
    if (!v->picture) return Fail(v, "the picture stream cannot be decoded", error);
    OpenSound(v);
    // The length stated: the picture stream's own or the file's, whichever is shorter.
    const AVStream* s = v->format->streams[v->pictureStream];
    int64_t stated = -1;
    if (s->duration > 0) stated = av_rescale_q(s->duration, s->time_base, AVRational{1, 1000});
    if (v->format->duration > 0) {
        const int64_t fileMs = av_rescale(v->format->duration, 1000, AV_TIME_BASE);
        if (stated < 0 || fileMs < stated) stated = fileMs;
    }
    // (A length past a hundred thousand years is no bound.)
    if (stated >= 0 && stated < (int64_t(1) << 52)) v->endMs = stated + kOverrunMs;
    v->packet = av_packet_alloc();
    v->decoded = av_frame_alloc();
    v->due = av_frame_alloc();
    if (!v->packet || !v->decoded || !v->due) return Fail(v, "no memory", error);
    return v;
}

HostVideo* HostVideoOpen(const char* gamePath, const HostVideoSink* sink, const char** error)
{
    int32_t result = 0;
    HostFile* file = HostFileOpenRead(gamePath, &result);
    if (!file) {
        if (error) *error = "the file cannot be opened";
        return nullptr;
    }
    auto* v = new HostVideo();
    v->sink = *sink;
    v->file = file;
    return Open(v, error);
}

HostVideo* HostVideoOpenMemory(const uint8_t* data, size_t size, const HostVideoSink* sink, const char** error)
{
    auto* v = new HostVideo();
    v->sink = *sink;
    v->memory = data;
    v->memorySize = size;
    return Open(v, error);
}

void HostVideoSetTarget(HostVideo* v, uint8_t* texels, int pitchBytes)
{
    v->target = texels;
    v->targetPitch = pitchBytes;
}

int HostVideoPicturesShown(const HostVideo* v) { return v ? v->shown : 0; }

// Milliseconds of the clip at which a decoded picture is due; a picture without a time follows
// the one before it by a frame at the stream's rate.
static int64_t PictureMs(HostVideo* v, const AVFrame* f)
{
    const AVStream* s = v->format->streams[v->pictureStream];
    int64_t ms;
    if (f->best_effort_timestamp != AV_NOPTS_VALUE) {
        const int64_t start = s->start_time != AV_NOPTS_VALUE ? s->start_time : 0;
        ms = av_rescale_q(f->best_effort_timestamp - start, s->time_base, AVRational{1, 1000});
    } else {
        const AVRational rate = s->avg_frame_rate.num > 0 ? s->avg_frame_rate : AVRational{30, 1};
        ms = v->lastMs + av_rescale_q(1, av_inv_q(rate), AVRational{1, 1000});
    }
    v->lastMs = ms;
    return ms;
}

static void Convert(HostVideo* v, const AVFrame* f)
{
    if (!v->target || f->width <= 0 || f->height <= 0 || f->width > kMaxSide || f->height > kMaxSide) return;
    v->scaler = sws_getCachedContext(v->scaler, f->width, f->height, AVPixelFormat(f->format), kHostVideoWidth,
                                     kHostVideoHeight, AV_PIX_FMT_RGB565LE, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!v->scaler) return;
    uint8_t* planes[4] = {v->target, nullptr, nullptr, nullptr};
    int pitches[4] = {v->targetPitch, 0, 0, 0};
    if (sws_scale(v->scaler, f->data, f->linesize, 0, f->height, planes, pitches) <= 0) return;
    v->shown++;
    if (v->sink.pictureReady) v->sink.pictureReady(v->sink.user, v->dueMs);
}

// Hands on every sound frame the decoder has ready.
static void DrainSound(HostVideo* v)
{
    while (avcodec_receive_frame(v->sound, v->decoded) == 0) {
        const AVFrame* f = v->decoded;
        // A frame whose layout differs from the stream's first (damaged data) is dropped.
        const bool fits = f->format == v->soundFormat && f->sample_rate == v->soundRate &&
                          av_channel_layout_compare(&f->ch_layout, &v->soundLayout) == 0 && f->nb_samples > 0;
        const int room = fits ? swr_get_out_samples(v->resampler, f->nb_samples) : 0;
        if (room > 0) {
            v->samples.resize(size_t(room));
            uint8_t* out = reinterpret_cast<uint8_t*>(v->samples.data());
            const int n = swr_convert(v->resampler, &out, room, const_cast<const uint8_t**>(f->extended_data),
                                      f->nb_samples);
            if (n > 0) {
                v->soundSamples += uint64_t(n);
                if (v->sink.audioSamples) v->sink.audioSamples(v->sink.user, v->samples.data(), uint32_t(n));
            }
        }
        av_frame_unref(v->decoded);
    }
}

// Reads one packet into its decoder; at the end of the input, flushes both decoders.
static void ReadPacket(HostVideo* v)
{
    if (av_read_frame(v->format, v->packet) < 0) {
        // The end, or a read that failed: what was read is played out.
        v->inputEnded = 1;
        avcodec_send_packet(v->picture, nullptr);
        if (v->sound) {
            avcodec_send_packet(v->sound, nullptr);
            DrainSound(v);
        }
        return;
    }
    // A packet a decoder refuses (damaged) is skipped; the decoder goes on with the next.
    if (v->packet->stream_index == v->pictureStream) {
        avcodec_send_packet(v->picture, v->packet);
    } else if (v->packet->stream_index == v->soundStream) {
        if (avcodec_send_packet(v->sound, v->packet) == 0) DrainSound(v);
    }
    av_packet_unref(v->packet);
}

void HostVideoSetSoundLead(HostVideo* v, int ms)
{
    if (v) v->soundLeadMs = ms < 0 ? 0 : (ms > kMaxSoundLeadMs ? kMaxSoundLeadMs : ms);
}

// Whether the sound handed on so far ends before ms of the clip.
static bool SoundBehind(const HostVideo* v, int64_t ms)
{
    return v->sound && int64_t(v->soundSamples * 1000u / uint64_t(v->soundRate)) < ms;
}

// One step of decoding: a picture the decoder has ready joins the waiting ones, or else one packet
// is read. 0 once the pictures have all come out.
static int DecodeStep(HostVideo* v)
{
    const int r = avcodec_receive_frame(v->picture, v->decoded);
    if (r == 0) {
        AVFrame* f = av_frame_alloc();
        if (!f) return v->picturesEnded = 1, 0;
        av_frame_move_ref(f, v->decoded);
        v->waitingMs.push_back(PictureMs(v, f));
        v->waiting.push_back(f);
        return 1;
    }
    if (r == AVERROR(EAGAIN) && !v->inputEnded) {
        ReadPacket(v);
        return 1;
    }
    v->picturesEnded = 1;
    return 0;
}

int HostVideoDecodeUntil(HostVideo* v, int64_t ms)
{
    if (!v) return kHostVideoFailed;
    for (;;) {
        if (!v->waiting.empty() && v->waitingMs.front() <= ms) {
            av_frame_unref(v->due);
            av_frame_move_ref(v->due, v->waiting.front());
            av_frame_free(&v->waiting.front());
            v->waiting.pop_front();
            v->dueMs = v->waitingMs.front();
            v->waitingMs.pop_front();
            v->hasDue = 1;
            continue;
        }
        if (v->picturesEnded) break;
        // Read on while no picture waits, or while the sound is short of its lead (a few pictures
        // at most are held for it).
        const bool needPicture = v->waiting.empty();
        const bool needSound = SoundBehind(v, ms + v->soundLeadMs) && v->waiting.size() < kMaxWaitingPictures;
        if (!needPicture && !needSound) break;
        DecodeStep(v);
    }
    if (v->hasDue) {
        Convert(v, v->due);
        av_frame_unref(v->due);
        v->hasDue = 0;
    }
    // Still running well past the length the file states: the pictures' times are damaged (say,
    // a jump far ahead), and the clip ends here rather than hold its picture.
    if ((!v->picturesEnded || !v->waiting.empty()) && v->endMs >= 0 && ms > v->endMs) {
        PrintError("video: the clip runs past its stated length of %lld ms (its picture times are damaged); it ends here",
                   (long long)(v->endMs - kOverrunMs));
        v->picturesEnded = 1;
        for (AVFrame*& f : v->waiting) av_frame_free(&f);
        v->waiting.clear();
        v->waitingMs.clear();
    }
    if (!v->picturesEnded || !v->waiting.empty()) return kHostVideoRunning;
    return v->shown > 0 ? kHostVideoEnded : kHostVideoFailed;
}
