// Checks one frame of a tour of the screens: the lines of text the frame drew (the file that
// --layout-out writes beside its screenshots) and, optionally, that its screenshots are not
// entirely black.
//
//   layout_check LINES.txt [--except TEXT]... [PNG...]
//
// A line of LINES.txt is "DISPLAY X Y W H TEXT"; "cover DISPLAY X Y W H" for a panel that hides the
// lines and boxes drawn before it where it lies over them (a question over its dimmed page): those
// are not checked; "box DISPLAY X Y W H" for a button or a panel's well whose text belongs inside it;
// "touch lower X Y W H" for a place the stylus presses; "button DISPLAY X Y W H" for a drawn button
// that a touch anywhere on it should press; or "mark DISPLAY X Y W H" for a marker, a pointer or a
// stop it moves to, which hides what lies under it. The check fails when a line reaches outside
// its screen (the lower one 320 x 240, the upper one 400 x 240), when two lines of one display
// overlap by more than 2 pixels both across and down, when a line that overlaps a box runs past any
// of its edges by more than 2 pixels, when a line and a mark overlap so, when a touch target lies
// off the lower screen, when the middle or a corner (3 pixels in) of a button on the lower screen
// lies in no touch target, or when a named PNG holds only black pixels (where a page, a box or a
// fade should show). A fault whose message
// contains an --except text is known: it is printed as such and does not fail the check.
//
// Prints each fault and exits 0 when there is none (known ones aside), 1 when there is one, 2 for
// bad arguments or a file that cannot be read.
#include "shotimage.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Line {
    std::string display;
    int x, y, w, h;
    std::string text;
    bool hidden = false;
};

// The overlap allowed between two lines, across and down.
const int kSlack = 2;
// How far inside a drawn button's corners a touch must press it (its corners may be rounded).
const int kCornerInset = 3;

std::string Describe(const Line& l)
{
    return "'" + l.text + "' (" + l.display + " " + std::to_string(l.x) + "," + std::to_string(l.y) + " " +
           std::to_string(l.w) + "x" + std::to_string(l.h) + ")";
}

bool Overlap(const Line& a, const Line& b)
{
    return a.x + kSlack < b.x + b.w && b.x + kSlack < a.x + a.w && a.y + kSlack < b.y + b.h && b.y + kSlack < a.y + a.h;
}

std::string Rect(const Line& l)
{
    return std::to_string(l.x) + "," + std::to_string(l.y) + " " + std::to_string(l.w) + "x" + std::to_string(l.h);
}

// 1 when a touch target presses at (x, y): a touch strictly inside its rectangle.
bool Answered(const std::vector<Line>& touches, int x, int y)
{
    for (const Line& t : touches)
        if (t.x < x && x < t.x + t.w && t.y < y && y < t.y + t.h) return true;
    return false;
}

// The parts of a drawn button that no touch target presses: its middle and its corners.
std::string DeadParts(const Line& b, const std::vector<Line>& touches)
{
    const int inX = b.w / 4 < kCornerInset ? b.w / 4 : kCornerInset, inY = b.h / 4 < kCornerInset ? b.h / 4 : kCornerInset;
    const int left = b.x + inX, right = b.x + b.w - 1 - inX, top = b.y + inY, bottom = b.y + b.h - 1 - inY;
    const struct {
        const char* name;
        int x, y;
    } parts[] = {{"middle", b.x + b.w / 2, b.y + b.h / 2},
                 {"top left", left, top},
                 {"top right", right, top},
                 {"bottom left", left, bottom},
                 {"bottom right", right, bottom}};
    std::string dead;
    for (const auto& p : parts)
        if (!Answered(touches, p.x, p.y))
            dead += (dead.empty() ? "" : ", ") + std::string(p.name) + " (" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
    return dead;
}

// 1 when every pixel is black, 0 when one is not, -1 when the image cannot be read.
int AllBlack(const char* path)
{
    ShotImage image;
    if (!ReadShotImage(path, &image, nullptr)) return -1;
    const std::vector<unsigned char>& rgb = image.rgb;
    for (unsigned char c : rgb)
        if (c > 8) return 0;
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: layout_check LINES.txt [--except TEXT]... [PNG...]\n");
        return 2;
    }
    const char* linesPath = argv[1];
    std::vector<std::string> known, images;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--except") == 0) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "layout_check: --except needs a text\n");
                return 2;
            }
            known.push_back(argv[++i]);
        } else {
            images.push_back(argv[i]);
        }
    }
    std::ifstream in(linesPath);
    if (!in) {
        std::fprintf(stderr, "layout_check: %s cannot be read\n", linesPath);
        return 2;
    }
    std::vector<Line> lines, boxes, touches, buttons, marks;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        std::istringstream s(text);
        Line l;
        if (text.compare(0, 7, "button ") == 0) {
            s.ignore(7);
            if (s >> l.display >> l.x >> l.y >> l.w >> l.h) {
                buttons.push_back(l);
                continue;
            }
        }
        if (text.compare(0, 5, "mark ") == 0) {
            s.ignore(5);
            if (s >> l.display >> l.x >> l.y >> l.w >> l.h) {
                marks.push_back(l);
                continue;
            }
        }
        if (text.compare(0, 6, "touch ") == 0) {
            s.ignore(6);
            if (s >> l.display >> l.x >> l.y >> l.w >> l.h) {
                touches.push_back(l);
                continue;
            }
        }
        if (text.compare(0, 4, "box ") == 0) {
            s.ignore(4);
            if (s >> l.display >> l.x >> l.y >> l.w >> l.h) {
                boxes.push_back(l);
                continue;
            }
        }
        if (text.compare(0, 6, "cover ") == 0) {
            s.ignore(6);
            if (s >> l.display >> l.x >> l.y >> l.w >> l.h) {
                for (Line& under : lines) under.hidden = under.hidden || (under.display == l.display && Overlap(under, l));
                for (std::vector<Line>* drawn : {&boxes, &buttons, &marks})
                    for (Line& under : *drawn) under.hidden = under.hidden || (under.display == l.display && Overlap(under, l));
                continue;
            }
        }
        if (!(s >> l.display >> l.x >> l.y >> l.w >> l.h) ||
            (l.display != "lower" && l.display != "upper-left" && l.display != "upper-right")) {
            std::fprintf(stderr, "layout_check: %s line %d is not DISPLAY X Y W H TEXT: %s\n", linesPath, number,
                         text.c_str());
            return 2;
        }
        s.get();
        std::getline(s, l.text);
        lines.push_back(l);
    }

    std::vector<std::string> faults;
    for (size_t i = 0; i < lines.size(); ++i) {
        const Line& a = lines[i];
        if (a.hidden) continue;
        const int width = a.display == "lower" ? 320 : 400;
        if (a.x < 0 || a.y < 0 || a.x + a.w > width || a.y + a.h > 240)
            faults.push_back(Describe(a) + " lies outside the " + (a.display == "lower" ? "lower" : "upper") +
                             " screen");
        for (size_t j = i + 1; j < lines.size(); ++j)
            if (!lines[j].hidden && lines[j].display == a.display && Overlap(a, lines[j]))
                faults.push_back(Describe(a) + " overlaps " + Describe(lines[j]));
        // A line on a box belongs inside it, whichever way it grows from where it is aligned: a
        // right-aligned number that gains a digit grows out of its box's left edge.
        for (const Line& b : boxes) {
            const bool on = !b.hidden && b.display == a.display && Overlap(a, b);
            if (on && (a.x + kSlack < b.x || a.y + kSlack < b.y || a.x + a.w > b.x + b.w + kSlack ||
                       a.y + a.h > b.y + b.h + kSlack))
                faults.push_back(Describe(a) + " runs past the edge of its box (" + std::to_string(b.x) + "," +
                                 std::to_string(b.y) + " " + std::to_string(b.w) + "x" + std::to_string(b.h) + ")");
        }
    }
    for (const Line& m : marks)
        for (const Line& a : lines)
            if (!m.hidden && !a.hidden && a.display == m.display && Overlap(a, m))
                faults.push_back(Describe(a) + " lies under a mark (" + m.display + " " + Rect(m) + ")");
    for (const Line& b : buttons) {
        const std::string dead = b.hidden || b.display != "lower" ? std::string() : DeadParts(b, touches);
        if (!dead.empty()) faults.push_back("the button at " + Rect(b) + " does not answer a touch at its " + dead);
    }
    for (const Line& t : touches)
        if (t.x < 0 || t.y < 0 || t.x + t.w > 320 || t.y + t.h > 240)
            faults.push_back("the touch target at " + std::to_string(t.x) + "," + std::to_string(t.y) + " " +
                             std::to_string(t.w) + "x" + std::to_string(t.h) + " lies outside the lower screen");
    for (const std::string& image : images) {
        const int black = AllBlack(image.c_str());
        if (black < 0) {
            std::fprintf(stderr, "layout_check: %s cannot be read\n", image.c_str());
            return 2;
        }
        if (black) faults.push_back(image + " is entirely black");
    }

    int failed = 0;
    for (const std::string& fault : faults) {
        int isKnown = 0;
        for (const std::string& k : known) isKnown = isKnown || fault.find(k) != std::string::npos;
        std::printf("%s: %s%s\n", linesPath, isKnown ? "known: " : "", fault.c_str());
        failed = failed || !isKnown;
    }
    return failed;
}
