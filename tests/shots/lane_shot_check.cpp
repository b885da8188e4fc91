// Loose pixel checks of a game screenshot: does a colour of the lane scene show up near where it
// belongs? Each check names a kind of colour and a window (centre and half size, in pixels from
// the top left); it passes when enough pixels in the window have that colour, so the scene may
// move by a few pixels (a camera that settles a little differently) without failing it.
//
//   lane_shot_check IMAGE.png CHECK...
//   CHECK = KIND:X,Y,HALF,COUNT  with KIND one of
//     lane  the lane's wood: a lit, warm brown-to-blond colour
//     pin   a pin's white: bright and nearly grey
//     lit   anything not black (the scene is drawn and lit)
//     blue  blue well ahead of red (the first intro logo's night sky)
//     warm  red well ahead of blue (the second intro logo's wood)
//     green green well ahead of red and blue (the A button's glyph on the lower screen)
//     dark  nearly black (nothing is drawn there)
//
// Prints one line per check and exits 0 when all pass, 1 when one fails, 2 for bad arguments or
// an image that cannot be read.
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* At(int x, int y) const { return &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
};

bool ReadPng(const char* path, Image* out)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path)) {
        std::fprintf(stderr, "%s: %s\n", path, image.message);
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    out->width = int(image.width);
    out->height = int(image.height);
    out->rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, out->rgb.data(), 0, nullptr)) {
        std::fprintf(stderr, "%s: %s\n", path, image.message);
        png_image_free(&image);
        return false;
    }
    return true;
}

bool IsLane(const unsigned char* p)
{
    const int r = p[0], g = p[1], b = p[2];
    // Wood under the alley's lights: red leads, green not far behind (not the red of the walls
    // and the masking), blue trails; neither black nor white.
    return r >= 35 && r <= 250 && r >= g && 2 * g >= r && g > b && r - b >= 15;
}

bool IsPin(const unsigned char* p)
{
    const int hi = std::max({p[0], p[1], p[2]}), lo = std::min({p[0], p[1], p[2]});
    return lo >= 140 && hi - lo <= 60;
}

bool IsLit(const unsigned char* p) { return p[0] + p[1] + p[2] >= 45; }
bool IsDark(const unsigned char* p) { return !IsLit(p); }
bool IsBlue(const unsigned char* p) { return p[2] >= p[0] + 30 && p[2] >= p[1]; }
bool IsWarm(const unsigned char* p) { return p[0] >= p[2] + 40; }
bool IsGreen(const unsigned char* p) { return p[1] >= p[0] + 40 && p[1] >= p[2] + 40; }

struct Check {
    std::string kind;
    int x = 0, y = 0, half = 0, count = 0;
};

bool ParseCheck(const char* text, Check* c)
{
    const char* colon = std::strchr(text, ':');
    if (!colon) return false;
    c->kind.assign(text, size_t(colon - text));
    if (c->kind != "lane" && c->kind != "pin" && c->kind != "lit" && c->kind != "blue" && c->kind != "warm" &&
        c->kind != "green" && c->kind != "dark")
        return false;
    char tail = 0;
    return std::sscanf(colon + 1, "%d,%d,%d,%d%c", &c->x, &c->y, &c->half, &c->count, &tail) == 4 && c->half >= 0 &&
           c->count > 0;
}

// Pixels of the check's colour inside its window (clipped to the image), and where the first one was.
int CountInWindow(const Image& img, const Check& c, int* firstX, int* firstY)
{
    bool (*match)(const unsigned char*) = c.kind == "lane" ? IsLane
                                          : c.kind == "pin"  ? IsPin
                                          : c.kind == "blue" ? IsBlue
                                          : c.kind == "warm" ? IsWarm
                                          : c.kind == "green" ? IsGreen
                                          : c.kind == "dark" ? IsDark
                                                             : IsLit;
    int n = 0;
    *firstX = *firstY = -1;
    for (int y = std::max(0, c.y - c.half); y <= std::min(img.height - 1, c.y + c.half); ++y)
        for (int x = std::max(0, c.x - c.half); x <= std::min(img.width - 1, c.x + c.half); ++x)
            if (match(img.At(x, y))) {
                if (!n) *firstX = x, *firstY = y;
                ++n;
            }
    return n;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s IMAGE.png KIND:X,Y,HALF,COUNT...  (KIND lane, pin, lit, blue, warm, green or dark)\n", argv[0]);
        return 2;
    }
    Image img;
    if (!ReadPng(argv[1], &img)) return 2;
    int failed = 0;
    for (int i = 2; i < argc; ++i) {
        Check c;
        if (!ParseCheck(argv[i], &c)) {
            std::fprintf(stderr, "bad check '%s' (KIND:X,Y,HALF,COUNT, KIND lane, pin, lit, blue, warm, green or dark)\n", argv[i]);
            return 2;
        }
        int fx = 0, fy = 0;
        const int n = CountInWindow(img, c, &fx, &fy);
        const bool ok = n >= c.count;
        const unsigned char* centre =
            c.x >= 0 && c.y >= 0 && c.x < img.width && c.y < img.height ? img.At(c.x, c.y) : nullptr;
        std::printf("%s %s: %d of %d wanted pixels in %dx%d around (%d, %d)", ok ? "ok  " : "FAIL", argv[i], n,
                    c.count, 2 * c.half + 1, 2 * c.half + 1, c.x, c.y);
        if (centre) std::printf("; centre colour %d %d %d", centre[0], centre[1], centre[2]);
        if (n) std::printf("; first at (%d, %d)", fx, fy);
        std::printf("\n");
        if (!ok) failed = 1;
    }
    return failed;
}
