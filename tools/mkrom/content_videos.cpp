// The clips under Video/: two intro logos played at start-up (the studio's name behind a ball
// rolling in, then the ten pins racking up under the game's name) and the celebration clips
// after strikes, spares and a third strike in a row (the word bursting in over confetti, with a
// fanfare). Each clip is 2.5 seconds, short enough not to hold up a player; the nine strike and
// nine spare clips differ in colours, confetti and the fanfare's key so that they do not repeat
// at once. Pictures are drawn directly or with small shapes only, so the clips build in seconds.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <sys/stat.h>

#include "canvas.h"
#include "content.h"
#include "lib/videofiles.h"
#include "video_writer.h"

namespace mkrom {

namespace {

const char* const kBold = "DejaVuSans-Bold.ttf";
const int kClipFrames = 75;  // 2.5 seconds
const double kPi = 3.14159265358979323846;

float Clamp01(float t) { return t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t); }
// Eases out: fast at first, settling at 1.
float EaseOut(float t)
{
    t = Clamp01(t);
    return 1.0f - (1.0f - t) * (1.0f - t) * (1.0f - t);
}

void Gradient(RgbaImage* im, Rgba top, Rgba bottom)
{
    for (int y = 0; y < im->height; ++y) {
        const float t = float(y) / float(im->height - 1);
        const Rgba c{uint8_t(top.r + (bottom.r - top.r) * t), uint8_t(top.g + (bottom.g - top.g) * t),
                     uint8_t(top.b + (bottom.b - top.b) * t), 255};
        for (int x = 0; x < im->width; ++x) {
            uint8_t* p = im->At(x, y);
            p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = 255;
        }
    }
}

// Text drawn once onto a transparent layer the size of the picture, kept for every frame that
// shows it: text with an outline is by far the slowest thing a clip draws.
const RgbaImage& Label(const std::string& text, int size, float cx, float cy, Rgba fill, Rgba outline = {0, 0, 0, 0},
                       int outlinePixels = 0)
{
    static std::map<std::string, RgbaImage> layers;
    const std::string key = text + "|" + std::to_string(size) + "|" + std::to_string(cx) + "|" + std::to_string(cy) +
                            "|" + std::to_string(fill.r << 24 | fill.g << 16 | fill.b << 8 | fill.a) + "|" +
                            std::to_string(outline.r << 24 | outline.g << 16 | outline.b << 8 | outline.a) + "|" +
                            std::to_string(outlinePixels);
    auto found = layers.find(key);
    if (found != layers.end()) return found->second;
    RgbaImage layer(320, 240);
    DrawLabel(&layer, text, kBold, size, cx, cy, fill, 0, outline, outlinePixels);
    return layers.emplace(key, std::move(layer)).first->second;
}

// A layer over an opaque picture, its alpha scaled by `alpha`.
void Stamp(RgbaImage* im, const RgbaImage& layer, float alpha = 1.0f)
{
    for (size_t i = 0; i < im->rgba.size() && i < layer.rgba.size(); i += 4) {
        const float a = layer.rgba[i + 3] / 255.0f * alpha;
        if (a <= 0.0f) continue;
        for (int k = 0; k < 3; ++k)
            im->rgba[i + size_t(k)] = uint8_t(std::lround(layer.rgba[i + size_t(k)] * a + im->rgba[i + size_t(k)] * (1.0f - a)));
    }
}

void Disc(RgbaImage* im, float cx, float cy, float r, Rgba c)
{
    Fill(im, Circle(cx, cy, r), Solid(c), int(cx - r) - 1, int(cy - r) - 1, int(cx + r) + 2, int(cy + r) + 2);
}

// A bowling ball turned by `turn` radians: a glossy sphere with three finger holes.
void Ball(RgbaImage* im, float cx, float cy, float r, float turn, Rgba colour)
{
    Disc(im, cx, cy, r, colour);
    Disc(im, cx - r * 0.35f, cy - r * 0.4f, r * 0.25f, Rgba{255, 255, 255, 70});
    const float holes[3][2] = {{0.0f, -0.35f}, {-0.22f, -0.05f}, {0.22f, -0.05f}};
    for (const auto& h : holes) {
        const float x = h[0] * std::cos(turn) - h[1] * std::sin(turn), y = h[0] * std::sin(turn) + h[1] * std::cos(turn);
        Disc(im, cx + x * r, cy + y * r, r * 0.1f, Rgba{10, 10, 14, 255});
    }
}

// A pin seen from the front: white body with a red neck band.
void Pin(RgbaImage* im, float cx, float base, float h)
{
    const float w = h * 0.36f;
    Fill(im, Union(Circle(cx, base - h * 0.3f, w * 0.5f), Circle(cx, base - h * 0.82f, w * 0.3f)),
         Solid(Rgba{245, 245, 240, 255}), int(cx - w), int(base - h) - 1, int(cx + w) + 1, int(base) + 1);
    Fill(im, RoundRect(cx - w * 0.2f, base - h * 0.72f, w * 0.4f, h * 0.5f, 2.0f), Solid(Rgba{245, 245, 240, 255}),
         int(cx - w), int(base - h), int(cx + w) + 1, int(base) + 1);
    Fill(im, RoundRect(cx - w * 0.22f, base - h * 0.66f, w * 0.44f, h * 0.06f, 0.5f), Solid(Rgba{200, 30, 40, 255}),
         int(cx - w), int(base - h), int(cx + w) + 1, int(base) + 1);
}

// Sound, mixed as floats and written as 16-bit samples.
struct Track {
    std::vector<float> s;
    explicit Track(double seconds) : s(size_t(seconds * kVideoSampleRate), 0.0f) {}

    // A bell-like note: a sine with two soft overtones, decaying.
    void Note(double at, double seconds, double freq, double amp, double decay)
    {
        const size_t from = size_t(at * kVideoSampleRate);
        const size_t n = size_t(seconds * kVideoSampleRate);
        for (size_t i = 0; i < n && from + i < s.size(); ++i) {
            const double t = double(i) / kVideoSampleRate;
            const double attack = t < 0.01 ? t / 0.01 : 1.0;
            const double v = std::sin(2 * kPi * freq * t) + 0.3 * std::sin(4 * kPi * freq * t) +
                             0.1 * std::sin(6 * kPi * freq * t);
            s[from + i] += float(amp * attack * std::exp(-decay * t) * v);
        }
    }
    // Low filtered noise: a ball rolling on wood, or (bright) a crash of pins.
    void Noise(double at, double seconds, double smooth, double amp, double rise, uint32_t seed)
    {
        const size_t from = size_t(at * kVideoSampleRate);
        const size_t n = size_t(seconds * kVideoSampleRate);
        double y = 0.0;
        for (size_t i = 0; i < n && from + i < s.size(); ++i) {
            seed = seed * 1664525u + 1013904223u;
            const double x = double(seed >> 8) / double(1u << 24) * 2.0 - 1.0;
            y += (x - y) * smooth;
            const double t = double(i) / double(n);
            const double envelope = rise > 0 ? t * (1.0 - t) * 4.0 : std::exp(-6.0 * t);
            s[from + i] += float(amp * envelope * y);
        }
    }
    // The samples, scaled so that the loudest reaches 0.9 of full scale, as the game's effects do.
    ClipSound Sound() const
    {
        float peak = 1e-6f;
        for (float v : s) peak = std::fmax(peak, std::fabs(v));
        ClipSound out;
        out.sampleRate = kVideoSampleRate;
        for (float v : s) out.samples.push_back(int16_t(std::lround(v / peak * 0.9f * 32767.0f)));
        return out;
    }
};

double Semitones(double base, int n) { return base * std::pow(2.0, n / 12.0); }

ClipSpec IntroStudio()
{
    ClipSpec c;
    c.frames = kClipFrames;
    c.draw = [](int f, RgbaImage* im) {
        Gradient(im, Rgba{8, 14, 40, 255}, Rgba{30, 46, 96, 255});
        const float t = float(f) / 30.0f;
        const float x = -30.0f + 190.0f * EaseOut(t / 1.2f);
        Ball(im, x, 100, 30, (x + 30.0f) / 30.0f, Rgba{40, 90, 200, 255});
        const float a = Clamp01((t - 1.1f) / 0.6f);
        if (a > 0.0f) {
            Stamp(im, Label("ZENDROLYX", 34, 160, 170, Rgba{250, 210, 90, 255}, Rgba{0, 0, 0, 200}, 2), a);
            Stamp(im, Label("GAMES", 14, 160, 200, Rgba{220, 230, 255, 255}), a);
        }
    };
    Track s(2.5);
    s.Noise(0.0, 1.2, 0.02, 0.5, 1, 7);
    for (int n : {0, 4, 7, 12}) s.Note(1.2 + n * 0.01, 1.3, Semitones(523.25, n), 0.12, 2.5);
    c.sounds.push_back(s.Sound());
    return c;
}

// Pin i of the rack (0 the head pin, in front): row r has r + 1 pins, the back rows higher up and
// smaller.
void PinPosition(int i, float* x, float* base, float* h)
{
    int row = 0;
    while (i > row) i -= ++row;
    *h = 58.0f - 6.0f * float(row);
    *x = 160.0f + (float(i) - float(row) / 2.0f) * 34.0f;
    *base = 140.0f - 18.0f * float(row);
}

ClipSpec IntroLanes()
{
    ClipSpec c;
    c.frames = kClipFrames;
    c.draw = [](int f, RgbaImage* im) {
        Gradient(im, Rgba{60, 20, 10, 255}, Rgba{150, 90, 40, 255});
        // The back row is drawn first, so the pins in front stand over it; the head pin comes first.
        for (int i = 9; i >= 0; --i) {
            const float appear = float(f - 3 * i) / 6.0f;
            if (appear <= 0.0f) continue;
            float x, base, h;
            PinPosition(i, &x, &base, &h);
            Pin(im, x, base - 20.0f * (1.0f - EaseOut(appear)), h);
        }
        const float a = Clamp01(float(f - 36) / 15.0f);
        if (a > 0.0f) Stamp(im, Label("TEN-PIN BOWLING", 26, 160, 200, Rgba{255, 255, 255, 255}, Rgba{60, 20, 10, 255}, 2), a);
    };
    Track s(2.5);
    for (int i = 0; i < 10; ++i) s.Note(i * 0.1, 0.3, Semitones(880.0, i), 0.08, 14.0);
    for (int n : {0, 7, 12}) s.Note(1.25, 1.2, Semitones(261.63, n), 0.14, 2.0);
    c.sounds.push_back(s.Sound());
    return c;
}

struct Celebration {
    const char* word;
    Rgba top, bottom, text;
    int key;         // semitones above the base note of the fanfare
    uint32_t seed;   // confetti and crash
    int marks;       // X marks under the word (a turkey's three strikes)
};

const Rgba kPalettes[9][3] = {
    {{20, 40, 120, 255}, {80, 140, 255, 255}, {255, 220, 60, 255}},
    {{110, 10, 30, 255}, {240, 80, 60, 255}, {255, 255, 255, 255}},
    {{10, 80, 40, 255}, {60, 200, 120, 255}, {255, 240, 120, 255}},
    {{60, 10, 100, 255}, {180, 80, 240, 255}, {255, 230, 90, 255}},
    {{120, 60, 0, 255}, {255, 170, 30, 255}, {255, 255, 255, 255}},
    {{0, 70, 90, 255}, {40, 200, 220, 255}, {255, 255, 255, 255}},
    {{30, 30, 30, 255}, {110, 110, 120, 255}, {255, 200, 40, 255}},
    {{100, 0, 60, 255}, {250, 90, 170, 255}, {255, 255, 200, 255}},
    {{0, 40, 80, 255}, {230, 120, 40, 255}, {255, 255, 255, 255}},
};

// The game shows a celebration clip in a 241 x 203 frame centred across the lower screen, 28
// pixels down, with a bar along the frame's bottom (the replay's panel covers the rest): the
// word, the marks and the confetti's burst are centred in the picture above the bar, and the word
// fits inside it.
const float kClipCentreX = 160.0f, kClipCentreY = 116.0f;

ClipSpec CelebrationClip(const Celebration& k)
{
    ClipSpec c;
    c.frames = kClipFrames;
    c.draw = [k](int f, RgbaImage* im) {
        Gradient(im, k.top, k.bottom);
        // Confetti bursting from the middle and falling.
        uint32_t seed = k.seed;
        const float t = float(f) / 30.0f;
        for (int i = 0; i < 40; ++i) {
            seed = seed * 1664525u + 1013904223u;
            const float angle = float(seed >> 8) / float(1u << 24) * 6.2832f;
            seed = seed * 1664525u + 1013904223u;
            const float speed = 80.0f + float(seed >> 8) / float(1u << 24) * 140.0f;
            const float x = kClipCentreX + std::cos(angle) * speed * t;
            const float y = kClipCentreY + std::sin(angle) * speed * t + 60.0f * t * t;
            const Rgba colour{uint8_t(seed >> 24), uint8_t(seed >> 16), uint8_t(200 + (seed & 55)), 255};
            if (x > -5 && x < 325 && y > -5 && y < 245) Disc(im, x, y, 3.0f, colour);
        }
        const int size = int(12.0f + 28.0f * EaseOut(float(f) / 10.0f));
        Stamp(im, Label(k.word, size, kClipCentreX, kClipCentreY, k.text, Rgba{0, 0, 0, 220}, 3));
        for (int m = 0; m < k.marks; ++m) {
            if (f < 20 + 8 * m) continue;
            const float cx = kClipCentreX + float(m - 1) * 50.0f;
            Stamp(im, Label("X", 30, cx, kClipCentreY + 60.0f, Rgba{255, 255, 255, 255}, Rgba{0, 0, 0, 220}, 2));
        }
    };
    Track s(2.5);
    s.Noise(0.0, 0.6, 0.5, 0.35, 0, k.seed);
    const double base = Semitones(392.0, k.key);
    const int steps[] = {0, 4, 7, 12};
    for (int i = 0; i < 4; ++i) s.Note(0.15 + 0.12 * i, 0.5, Semitones(base, steps[i]), 0.1, 5.0);
    for (int n : {0, 4, 7}) s.Note(0.7, 1.6, Semitones(base, n + 12), 0.09, 1.8);
    c.sounds.push_back(s.Sound());
    return c;
}

bool Write(const std::string& dir, const char* name, const ClipSpec& clip, std::string* error)
{
    return WriteClip(dir + "/" + name, clip, error);
}

}  // namespace

bool WriteVideos(const std::string& outDir, std::string* error)
{
    const std::string dir = outDir + "/" + kVideoFolder;
    mkdir(outDir.c_str(), 0755);
    if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) {
        *error = dir + ": cannot be made";
        return false;
    }
    if (!Write(outDir, kIntroVideoFiles[0], IntroStudio(), error)) return false;
    if (!Write(outDir, kIntroVideoFiles[1], IntroLanes(), error)) return false;
    for (int i = 0; i < kStrikeVideoCount; ++i) {
        const Celebration k{"STRIKE!", kPalettes[i][0], kPalettes[i][1], kPalettes[i][2], i, 100u + uint32_t(i), 0};
        if (!Write(outDir, kStrikeVideoFiles[i], CelebrationClip(k), error)) return false;
    }
    for (int i = 0; i < kSpareVideoCount; ++i) {
        const int p = (i + 4) % 9;
        const Celebration k{"SPARE!", kPalettes[p][0], kPalettes[p][1], kPalettes[p][2], i - 3, 200u + uint32_t(i), 0};
        if (!Write(outDir, kSpareVideoFiles[i], CelebrationClip(k), error)) return false;
    }
    const Celebration turkey{"TURKEY!", Rgba{90, 40, 0, 255}, Rgba{250, 150, 40, 255}, Rgba{255, 250, 220, 255},
                             5, 300u, 3};
    return Write(outDir, kTurkeyVideoFiles[0], CelebrationClip(turkey), error);
}

}  // namespace mkrom
