// A fixture for tests that run the front end's menus headless on the build's game data: a fresh
// game heap, the renderer, the screen API, streams and sound, and the screen stack at the title's
// tab group, and a save folder of the test's own ("data:/"); torn down in the order a run of the
// game leaves them, the save folder removed.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "host/host.h"
#include "ui/widgettypes.h"

// A widget of the running menus by name.
sBasicUiWidget* MenuWidget(const char* name);
// n frames of the menus as the screen loop runs them: drawn, then the framework's update.
void MenuFrames(int n);

class MenuScreensTest : public ::testing::Test {
protected:
    HostOptions saved;
    std::string dataDir;

    void SetUp() override;
    void TearDown() override;
};
