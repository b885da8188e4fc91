// The screen loop: hands the main thread to the front end's screens or to the game, by the screen
// result, until the program ends.
#pragma once

int RunScreenLoop();
// The count of messages reported (HostErrorsReported) when the loop's latest step began: after a
// failure, the step that failed.
long ScreenLoopStepBegan();
