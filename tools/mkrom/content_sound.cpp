// The game's sounds and music, made by synthesis: the ball rolling and landing, pin hits from a
// single light knock to a full strike, the gutter, the menu and overlay sounds, and four pieces
// of music that the game streams. See content/README.md for what each id is and why.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "content.h"
#include "platform/sound.h"

namespace mkrom {

namespace {

const double kPi = 3.14159265358979323846;
const uint32_t kEffectRate = 32728;  // the mixer's own rate
const uint32_t kMusicRate = 16364;   // half of it: music needs no more, and the archive stays small

using Wave = std::vector<float>;

// A repeatable noise source, so that every build writes the same bytes.
struct Noise {
    uint32_t state;
    float Next()
    {
        state = state * 1664525u + 1013904223u;
        return float(state >> 8) / float(1 << 23) - 1.0f;
    }
};

size_t Samples(double seconds, uint32_t rate) { return size_t(seconds * rate); }

// Adds a sine at frequency hz starting at `at` seconds, with an exponential decay of `decay`
// per second (0 for none) and a 5 ms attack so that nothing clicks.
void AddTone(Wave& w, uint32_t rate, double at, double seconds, double hz, double amplitude, double decay)
{
    const size_t start = Samples(at, rate);
    const size_t n = std::min(Samples(seconds, rate), w.size() > start ? w.size() - start : 0);
    for (size_t i = 0; i < n; ++i) {
        const double t = double(i) / rate;
        const double attack = std::min(1.0, t / 0.005);
        const double release = std::min(1.0, double(n - i) / (0.005 * rate));
        w[start + i] += float(amplitude * attack * release * std::exp(-decay * t) * std::sin(2 * kPi * hz * t));
    }
}

// Adds noise through a one-pole low-pass at cutoff hz, decaying like AddTone.
void AddNoise(Wave& w, uint32_t rate, double at, double seconds, double cutoff, double amplitude, double decay,
              uint32_t seed)
{
    Noise noise{seed};
    const double k = 1.0 - std::exp(-2 * kPi * cutoff / rate);
    // A low cutoff passes little of the noise's power; this keeps the level near `amplitude`.
    const double gain = std::sqrt(1.0 / std::max(k, 1e-3)) * 0.6;
    double low = 0.0;
    const size_t start = Samples(at, rate);
    const size_t n = std::min(Samples(seconds, rate), w.size() > start ? w.size() - start : 0);
    for (size_t i = 0; i < n; ++i) {
        low += k * (noise.Next() - low);
        const double t = double(i) / rate;
        const double release = std::min(1.0, double(n - i) / (0.01 * rate));
        w[start + i] += float(amplitude * gain * release * std::exp(-decay * t) * low);
    }
}

// One pin knocked: a short noisy crack and the hollow ring of the pin's wood.
void AddPinKnock(Wave& w, double at, double amplitude, uint32_t seed)
{
    const double pitch = 1.0 + 0.08 * ((seed * 37) % 7);  // no two pins ring alike
    AddNoise(w, kEffectRate, at, 0.05, 6000, amplitude, 60, seed);
    AddTone(w, kEffectRate, at, 0.45, 620 * pitch, amplitude * 0.5, 8);
    AddTone(w, kEffectRate, at, 0.35, 1480 * pitch, amplitude * 0.3, 14);
    AddTone(w, kEffectRate, at, 0.15, 2350 * pitch, amplitude * 0.2, 35);
}

// Pins falling into each other: `knocks` knocks spread over `spread` seconds after the first,
// loudest first, and for the big hits a low boom of the ball meeting the rack.
Wave PinHit(int knocks, double spread, double amplitude, double boom)
{
    Wave w(Samples(spread + 0.6, kEffectRate));
    for (int k = 0; k < knocks; ++k) {
        const double at = k == 0 ? 0.0 : spread * std::pow(double(k) / knocks, 1.5);
        AddPinKnock(w, at, amplitude * (1.0 - 0.5 * k / std::max(knocks, 1)), 11u + uint32_t(k) * 7u);
    }
    if (boom > 0) AddTone(w, kEffectRate, 0.0, 0.5, 70, boom, 9);
    return w;
}

// Scales a sound so that its loudest sample is `peak`.
Wave Normalised(Wave w, float peak)
{
    float top = 0.0f;
    for (float s : w) top = std::max(top, std::fabs(s));
    if (top > 0.0f)
        for (float& s : w) s *= peak / top;
    return w;
}

// The ball on the lane: a low rumble with the slow swell of the ball turning over. Four seconds,
// longer than most balls take to reach the pins.
Wave Roll()
{
    Wave w(Samples(4.0, kEffectRate));
    AddNoise(w, kEffectRate, 0.0, 4.0, 180, 0.5, 0, 5);
    AddTone(w, kEffectRate, 0.0, 4.0, 55, 0.25, 0);
    for (size_t i = 0; i < w.size(); ++i) w[i] *= float(0.8 + 0.2 * std::sin(2 * kPi * 3.0 * i / kEffectRate));
    return w;
}

// A short sweep from hz0 to hz1, for the menus.
Wave Blip(double seconds, double hz0, double hz1, double amplitude)
{
    Wave w(Samples(seconds, kEffectRate));
    double phase = 0.0;
    for (size_t i = 0; i < w.size(); ++i) {
        const double u = double(i) / w.size();
        phase += 2 * kPi * (hz0 + (hz1 - hz0) * u) / kEffectRate;
        const double envelope = std::min(1.0, u * 20.0) * (1.0 - u);
        w[i] = float(amplitude * envelope * std::sin(phase));
    }
    return w;
}

// A little piece for a drum, a bass, chords and a melody. Each piece has its own key, tempo and
// chord sequence; the melody walks a pentatonic scale from a seed. Stereo pieces spread the
// chords to the right and the melody to the left.
struct Piece {
    double rootHz;
    double bpm;
    int chords[4];  // scale degrees (semitones above the root) of the four chords, one per bar
    int bars;
    uint32_t seed;
};

double Semitones(double hz, int n) { return hz * std::pow(2.0, n / 12.0); }

void MakePiece(const Piece& p, Wave& left, Wave& right)
{
    const double beat = 60.0 / p.bpm;
    const size_t n = Samples(p.bars * 4 * beat + 1.0, kMusicRate);
    Wave bass(n), chords(n), melody(n), drums(n);
    static const int kPentatonic[] = {0, 2, 4, 7, 9, 12, 14, 16};
    Noise walk{p.seed};
    int step = 2;
    for (int bar = 0; bar < p.bars; ++bar) {
        const int chord = p.chords[bar % 4];
        const double barAt = bar * 4 * beat;
        const double root = Semitones(p.rootHz, chord);
        for (int b = 0; b < 4; ++b) {
            const double at = barAt + b * beat;
            AddTone(bass, kMusicRate, at, beat * 0.9, root / 2, 0.35, 3);
            AddTone(drums, kMusicRate, at, 0.2, b % 2 == 0 ? 60 : 90, 0.5, 18);
            AddNoise(drums, kMusicRate, at + beat / 2, 0.05, 5000, 0.08, 60, p.seed + uint32_t(bar * 4 + b));
        }
        for (int third : {0, 4, 7}) AddTone(chords, kMusicRate, barAt, 4 * beat, Semitones(root, third), 0.09, 0.6);
        for (int e = 0; e < 8; ++e) {
            step = std::clamp(step + int(walk.Next() * 2.5f), 0, 7);
            if (walk.Next() > 0.6f) continue;  // a rest
            AddTone(melody, kMusicRate, barAt + e * beat / 2, beat * 0.45, Semitones(p.rootHz * 2, kPentatonic[step]),
                    0.16, 5);
        }
    }
    // Music sits under the game's sounds: its loudest moment stays well below theirs.
    const float level = 0.2f;
    left.assign(n, 0.0f);
    right.assign(n, 0.0f);
    for (size_t i = 0; i < n; ++i) {
        const float centre = bass[i] + 0.6f * drums[i];
        left[i] = level * (centre + 0.7f * melody[i] + 0.3f * chords[i]);
        right[i] = level * (centre + 0.3f * melody[i] + 0.7f * chords[i]);
    }
}

void PutWord(std::vector<uint8_t>& out, size_t at, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out[at + i] = uint8_t(value >> (8 * i));
}

// Appends one sound record and its samples in `format`.
void AppendHalf(std::vector<uint8_t>& out, const Wave& w, uint32_t rate, int format, bool stereo)
{
    const size_t at = out.size();
    const uint32_t bytesPerSample = format == kSoundFormatPcm16 ? 2 : 1;
    const uint32_t length = uint32_t(w.size()) * bytesPerSample;
    out.resize(at + kSoundHeaderBytes + length, 0);
    PutWord(out, at + 0, stereo ? kSoundFlagStereo : 0, 4);
    PutWord(out, at + 4, rate, 4);
    PutWord(out, at + 12, length, 4);
    PutWord(out, at + 16, uint32_t(w.size()), 4);
    PutWord(out, at + 20, uint32_t(w.size() * 1000 / rate), 4);
    PutWord(out, at + 32, uint32_t(format), 2);
    uint8_t* data = out.data() + at + kSoundHeaderBytes;
    for (size_t i = 0; i < w.size(); ++i) {
        const float s = std::clamp(w[i], -1.0f, 1.0f);
        if (format == kSoundFormatPcm16) {
            const int16_t v = int16_t(std::lround(s * 32767.0f));
            std::memcpy(data + 2 * i, &v, 2);
        } else {
            data[i] = uint8_t(int8_t(std::lround(s * 127.0f)));
        }
    }
}

// A whole number of 4-sample groups keeps a right half's record on a 4-byte boundary.
Resource Sound(int id, Wave left, const Wave* right, uint32_t rate, int format)
{
    Resource r;
    r.id = id;
    r.type = kResourceTypeSound;
    left.resize(left.size() / 4 * 4);
    AppendHalf(r.bytes, left, rate, format, right != nullptr);
    if (right) {
        Wave half = *right;
        half.resize(left.size());
        AppendHalf(r.bytes, half, rate, format, false);
    }
    return r;
}

// Effects are made as loud as they can be without clipping, the game's volumes doing the rest;
// the ball's roll, which goes on under everything else, stays lower.
Resource Effect(int id, const Wave& w, float peak = 0.95f)
{
    return Sound(id, Normalised(w, peak), nullptr, kEffectRate, kSoundFormatPcm16);
}

Resource Music(int id, const Piece& p, bool stereo)
{
    Wave left, right;
    MakePiece(p, left, right);
    if (stereo) return Sound(id, left, &right, kMusicRate, kSoundFormatPcm16);
    for (size_t i = 0; i < left.size(); ++i) left[i] = 0.5f * (left[i] + right[i]);
    return Sound(id, left, nullptr, kMusicRate, kSoundFormatPcm8);
}

}  // namespace

std::vector<Resource> SoundContent()
{
    std::vector<Resource> sounds;
    sounds.push_back(Effect(kSoundMenuMove, Blip(0.03, 1800, 2200, 0.4)));
    sounds.push_back(Effect(kSoundMenuSelect, Blip(0.12, 660, 990, 0.5)));
    Wave chime(Samples(0.6, kEffectRate));
    AddTone(chime, kEffectRate, 0.0, 0.6, 880, 0.4, 6);
    AddTone(chime, kEffectRate, 0.08, 0.5, 1320, 0.3, 7);
    sounds.push_back(Effect(kSoundChime, chime));
    sounds.push_back(Effect(kSoundMenuBack, Blip(0.15, 500, 330, 0.5)));
    Wave gutter(Samples(1.2, kEffectRate));
    AddNoise(gutter, kEffectRate, 0.0, 1.2, 300, 0.6, 2.5, 21);
    AddTone(gutter, kEffectRate, 0.0, 1.2, 95, 0.3, 2.5);
    sounds.push_back(Effect(kSoundGutter, gutter));
    sounds.push_back(Effect(kSoundOverlayPop, Blip(0.05, 300, 900, 0.5)));
    sounds.push_back(Music(kMenuMusic, {220.0, 96, {0, 5, 7, 5}, 8, 7}, false));
    Wave land(Samples(0.3, kEffectRate));
    AddTone(land, kEffectRate, 0.0, 0.3, 70, 0.7, 14);
    AddNoise(land, kEffectRate, 0.0, 0.1, 800, 0.4, 40, 9);
    sounds.push_back(Effect(kSoundBallLands, land));
    sounds.push_back(Effect(kSoundBallRolls, Roll(), 0.5f));
    sounds.push_back(Effect(kSoundPinsLight, PinHit(1, 0.0, 0.5, 0.0)));
    sounds.push_back(Effect(kSoundPinsSide, PinHit(2, 0.15, 0.55, 0.0)));
    sounds.push_back(Effect(kSoundPinsMedium, PinHit(4, 0.3, 0.6, 0.0)));
    sounds.push_back(Effect(kSoundPinsHeavy, PinHit(6, 0.45, 0.65, 0.2)));
    sounds.push_back(Effect(kSoundPinsPocket, PinHit(8, 0.6, 0.7, 0.3)));
    sounds.push_back(Effect(kSoundStrikeFast, PinHit(10, 0.7, 0.8, 0.6)));
    sounds.push_back(Effect(kSoundStrikeSlow, PinHit(10, 1.0, 0.7, 0.4)));
    sounds.push_back(Music(kDefaultSong, {196.0, 100, {0, 9, 5, 7}, 8, 3}, true));
    sounds.push_back(Music(kFirstSong, {261.63, 120, {0, 9, 5, 7}, 12, 1}, true));
    sounds.push_back(Music(kFirstSong + 1, {233.08, 108, {0, 5, 9, 7}, 12, 2}, true));
    return sounds;
}

}  // namespace mkrom
