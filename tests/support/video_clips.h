// Clips made for tests with mkrom's encoder: solid-colour pictures and steady tones, so that a
// test can tell which picture shows and how much sound came out.
#pragma once

#include <string>
#include <vector>

// A new empty folder under the test's temporary directory, with a Video/ folder inside; the test
// removes it.
std::string MakeClipFolder();
// Writes a clip of `frames` pictures at 30 a second: red up to frame redFrames, blue after; one
// mono tone stream per rate given, each as long as the pictures, silent for its first quietFrames
// frames. False when encoding fails.
bool WriteColourClip(const std::string& path, int frames, int redFrames, const std::vector<int>& rates,
                     int quietFrames = 0);
// The file's bytes (empty when it cannot be read).
std::vector<unsigned char> ReadFileBytes(const std::string& path);
// Copies a clip packet for packet, moving every picture packet after the first `shiftSeconds`
// later, and keeps the copy's stated length that of the original (as a damaged clip would state
// it). False when either file cannot be handled.
bool WriteClipWithJump(const std::string& from, const std::string& to, int shiftSeconds);
