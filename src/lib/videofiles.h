// The clip files under the game data's Video folder: tools/mkrom writes them, the game plays
// them (the intro logos at start-up, the celebration clips after strikes, spares and turkeys).
// Names are relative to the game data directory; the game reads them as "rom:/" + name.
#pragma once

inline constexpr const char* kVideoFolder = "Video";

inline constexpr int kIntroVideoCount = 2;
inline constexpr const char* kIntroVideoFiles[kIntroVideoCount] = {
    "Video/Intro_Studio.mkv",
    "Video/Intro_Lanes.mkv",
};

// Celebration clips, played in turn: nine for a strike, nine for a spare, one for a third strike
// in a row.
inline constexpr int kStrikeVideoCount = 9;
inline constexpr int kSpareVideoCount = 9;
inline constexpr int kTurkeyVideoCount = 1;
inline constexpr const char* kStrikeVideoFiles[kStrikeVideoCount] = {
    "Video/Strike_1.mkv", "Video/Strike_2.mkv", "Video/Strike_3.mkv", "Video/Strike_4.mkv", "Video/Strike_5.mkv",
    "Video/Strike_6.mkv", "Video/Strike_7.mkv", "Video/Strike_8.mkv", "Video/Strike_9.mkv",
};
inline constexpr const char* kSpareVideoFiles[kSpareVideoCount] = {
    "Video/Spare_1.mkv", "Video/Spare_2.mkv", "Video/Spare_3.mkv", "Video/Spare_4.mkv", "Video/Spare_5.mkv",
    "Video/Spare_6.mkv", "Video/Spare_7.mkv", "Video/Spare_8.mkv", "Video/Spare_9.mkv",
};
inline constexpr const char* kTurkeyVideoFiles[kTurkeyVideoCount] = {"Video/Turkey.mkv"};

// The clips' picture and sound, as mkrom encodes them.
inline constexpr int kVideoFramesPerSecond = 30;
inline constexpr int kVideoSampleRate = 32000;
