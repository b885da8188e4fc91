// Instant replay of the ball's run down the lane after each ball: the ball and pins are recorded
// each frame while the ball is in the pin area, and played back from one of nine replay cameras
// (game camera slots 2..10) in a frame loop of its own, skipped by A or the touch button. After a
// person's strike, spare or third strike in a row a celebration clip plays on the lower screen
// while the replay loops above.
#pragma once

struct TITLE_PlayerInfoStruct;

// Frames the recording arrays hold; one fewer is ever recorded.
constexpr int kReplayFrames = 500;
constexpr int kReplayCameras = 9;
constexpr int kFirstReplayCamera = 2;  // game camera slot of replay camera 0
// Celebration clips of each kind, played in turn.
constexpr int kStrikeClips = 9;
constexpr int kSpareClips = 9;
constexpr int kTurkeyClips = 1;
// The ball's Y beyond which a ball is recorded.
constexpr float kReplayRecordY = 1320.0f;

enum eCelebration { kCelebrationNone = 0, kCelebrationStrike, kCelebrationSpare, kCelebrationTurkey };

struct CelebrationClip {
    int kind;   // eCelebration
    int index;  // of the kind's clips
};

// Records the ball and the pins of this frame; nothing once 499 frames are held. Always 1.
int StoreReplayData();
// Keeps which pin actors are visible after the ball, for the replay to show. Always 1.
int StoreReplayPinVisible();
// Plays the replay to its end (or a skip). 1 when it ended or the program is closing, 0 when a
// video, overlay or drawing step failed (the replay is cleaned up all the same).
int StartReplay(int turnContinues);
// Frames recorded so far.
int ReplayFramesRecorded();
// Drops what was recorded of a shot that never reached its replay (a game left mid-shot), so that
// the next game's first replay shows only its own ball.
void ForgetReplay();
// The game camera slot the replay shows now.
int ReplayCameraSlot();
// 1 while the skip button exists: only during playback.
int ReplaySkipButtonExists();

// 1 while a replay is being shown.
int IsReplayActive();
// 0 ends the replay state, 1 starts it; any larger value ends it too. Returns IsReplayActive().
int SetReplayActive(int active);

// The clip a replay after this ball plays: none in the spares challenge, for a computer bowler,
// when the game is being left or during a transition; a turkey on exactly the third strike in a
// row, else the next strike or spare clip in turn (the turn advances). A player who neither struck
// nor spared gets none.
CelebrationClip ChooseCelebrationClip(const TITLE_PlayerInfoStruct& player, int gameType, int computer);
// Starts the chosen clip at the video volume option. 0 when it cannot play (the replay goes on
// without it).
int StartCelebrationClip(CelebrationClip clip);
// Back to the first clip of every kind (a new program run).
void ResetCelebrationClips();
