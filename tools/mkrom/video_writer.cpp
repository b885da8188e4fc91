// Clip encoding with libavformat and libavcodec. Pictures and sound frames are written in time
// order so that the file interleaves them closely: the player reads sound just ahead of the
// picture it belongs to. Every encoder runs single-threaded and bit-exact, so the game data is
// the same on every build.
#include "video_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace mkrom {

namespace {

struct Encoder {
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
};

struct Writer {
    AVFormatContext* format = nullptr;
    Encoder picture;
    std::vector<Encoder> sounds;
    SwsContext* scaler = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;

    ~Writer()
    {
        avcodec_free_context(&picture.codec);
        for (Encoder& e : sounds) avcodec_free_context(&e.codec);
        sws_freeContext(scaler);
        av_frame_free(&frame);
        av_packet_free(&packet);
        if (format && format->pb) avio_closep(&format->pb);
        avformat_free_context(format);
    }
};

bool Fail(std::string* error, const std::string& what)
{
    if (error) *error = what;
    return false;
}

bool OpenEncoder(Writer* w, AVCodecContext* c, Encoder* e)
{
    c->thread_count = 1;
    c->flags |= AV_CODEC_FLAG_BITEXACT;
    if (w->format->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(c, c->codec, nullptr) < 0) return false;
    e->codec = c;
    e->stream = avformat_new_stream(w->format, nullptr);
    if (!e->stream || avcodec_parameters_from_context(e->stream->codecpar, c) < 0) return false;
    e->stream->time_base = c->time_base;
    return true;
}

// Sends one frame (null: the end) and writes every packet the encoder gives back.
bool Encode(Writer* w, Encoder* e, AVFrame* frame)
{
    if (avcodec_send_frame(e->codec, frame) < 0) return false;
    for (;;) {
        int r = avcodec_receive_packet(e->codec, w->packet);
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
        if (r < 0) return false;
        av_packet_rescale_ts(w->packet, e->codec->time_base, e->stream->time_base);
        w->packet->stream_index = e->stream->index;
        if (av_interleaved_write_frame(w->format, w->packet) < 0) return false;
    }
}

bool EncodePicture(Writer* w, const ClipSpec& clip, int index)
{
    RgbaImage image(clip.width, clip.height);
    for (size_t i = 3; i < image.rgba.size(); i += 4) image.rgba[i] = 255;
    clip.draw(index, &image);
    AVFrame* f = w->frame;
    av_frame_unref(f);
    f->format = AV_PIX_FMT_YUV420P;
    f->width = clip.width;
    f->height = clip.height;
    if (av_frame_get_buffer(f, 0) < 0) return false;
    const uint8_t* source[1] = {image.rgba.data()};
    const int pitch[1] = {clip.width * 4};
    sws_scale(w->scaler, source, pitch, 0, clip.height, f->data, f->linesize);
    f->pts = index;
    return Encode(w, &w->picture, f);
}

// The sound frame starting at sample `at` of stream s (the last one padded with silence).
bool EncodeSound(Writer* w, const ClipSound& sound, Encoder* e, int64_t at)
{
    AVFrame* f = w->frame;
    av_frame_unref(f);
    f->format = AV_SAMPLE_FMT_S16;
    f->sample_rate = sound.sampleRate;
    f->nb_samples = e->codec->frame_size;
    av_channel_layout_default(&f->ch_layout, 1);
    if (av_frame_get_buffer(f, 0) < 0) return false;
    auto* out = reinterpret_cast<int16_t*>(f->data[0]);
    for (int i = 0; i < f->nb_samples; ++i) {
        const size_t k = size_t(at) + size_t(i);
        out[i] = k < sound.samples.size() ? sound.samples[k] : 0;
    }
    f->pts = at;
    return Encode(w, e, f);
}

bool OpenStreams(Writer* w, const ClipSpec& clip)
{
    AVCodecContext* c = avcodec_alloc_context3(avcodec_find_encoder(AV_CODEC_ID_MPEG4));
    if (!c) return false;
    c->width = clip.width;
    c->height = clip.height;
    c->time_base = AVRational{1, clip.framesPerSecond};
    c->framerate = AVRational{clip.framesPerSecond, 1};
    c->pix_fmt = AV_PIX_FMT_YUV420P;
    c->gop_size = clip.framesPerSecond;
    c->max_b_frames = 0;
    c->flags |= AV_CODEC_FLAG_QSCALE;
    c->global_quality = FF_QP2LAMBDA * 3;
    if (!OpenEncoder(w, c, &w->picture)) {
        avcodec_free_context(&c);
        return false;
    }
    for (const ClipSound& s : clip.sounds) {
        AVCodecContext* a = avcodec_alloc_context3(avcodec_find_encoder(AV_CODEC_ID_MP2));
        if (!a) return false;
        a->sample_fmt = AV_SAMPLE_FMT_S16;
        a->sample_rate = s.sampleRate;
        a->time_base = AVRational{1, s.sampleRate};
        a->bit_rate = 64000;
        av_channel_layout_default(&a->ch_layout, 1);
        w->sounds.push_back(Encoder());
        if (!OpenEncoder(w, a, &w->sounds.back())) {
            avcodec_free_context(&a);
            w->sounds.pop_back();
            return false;
        }
    }
    w->scaler = sws_getContext(clip.width, clip.height, AV_PIX_FMT_RGBA, clip.width, clip.height, AV_PIX_FMT_YUV420P,
                               SWS_BICUBIC | SWS_BITEXACT | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    w->frame = av_frame_alloc();
    w->packet = av_packet_alloc();
    return w->scaler && w->frame && w->packet;
}

}  // namespace

bool WriteClip(const std::string& path, const ClipSpec& clip, std::string* error)
{
    if (clip.frames <= 0 || !clip.draw || clip.width <= 0 || clip.height <= 0 || clip.framesPerSecond <= 0)
        return Fail(error, path + ": an empty clip");
    Writer w;
    if (avformat_alloc_output_context2(&w.format, nullptr, "matroska", path.c_str()) < 0)
        return Fail(error, path + ": no Matroska writer");
    w.format->flags |= AVFMT_FLAG_BITEXACT;
    if (!OpenStreams(&w, clip)) return Fail(error, path + ": the encoders cannot be opened");
    if (avio_open(&w.format->pb, path.c_str(), AVIO_FLAG_WRITE) < 0) return Fail(error, path + ": cannot be written");
    if (avformat_write_header(w.format, nullptr) < 0) return Fail(error, path + ": the header cannot be written");

    std::vector<int64_t> next(clip.sounds.size(), 0);
    for (int i = 0; i < clip.frames; ++i) {
        // The sound up to the end of this picture goes first.
        for (size_t s = 0; s < clip.sounds.size(); ++s) {
            const int64_t until = int64_t(i + 1) * clip.sounds[s].sampleRate / clip.framesPerSecond;
            const int64_t total = int64_t(clip.sounds[s].samples.size());
            while (next[s] < until && next[s] < total) {
                if (!EncodeSound(&w, clip.sounds[s], &w.sounds[s], next[s])) return Fail(error, path + ": sound");
                next[s] += w.sounds[s].codec->frame_size;
            }
        }
        if (!EncodePicture(&w, clip, i)) return Fail(error, path + ": picture");
    }
    for (size_t s = 0; s < clip.sounds.size(); ++s) {
        while (next[s] < int64_t(clip.sounds[s].samples.size())) {
            if (!EncodeSound(&w, clip.sounds[s], &w.sounds[s], next[s])) return Fail(error, path + ": sound");
            next[s] += w.sounds[s].codec->frame_size;
        }
        if (!Encode(&w, &w.sounds[s], nullptr)) return Fail(error, path + ": sound");
    }
    if (!Encode(&w, &w.picture, nullptr)) return Fail(error, path + ": picture");
    if (av_write_trailer(w.format) < 0) return Fail(error, path + ": the trailer cannot be written");
    return true;
}

}  // namespace mkrom
