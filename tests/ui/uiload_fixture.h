// Loading UI descriptions in a test: a fresh game heap, the UI's memory slots, one environment,
// and a scratch "rom:/" into which a test writes its description.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/environment.h"

class UiLoadTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the text as "rom:/test.xml" (inside a BasicUiEnvironment element unless bare) and
    // loads it into env. Returns the loader's result.
    int LoadText(const std::string& body, bool bare = false);
    // Loads a file of the hand-written content.
    int LoadContent(const char* path);
    // Brings up the renderer (headless GPU, the build's game data for its vertex programs), for
    // tests that run the render passes; TearDown takes it down again.
    void StartRenderer();

    sBasicUiEnvironment* env = nullptr;
    std::string scratch;
    bool rendering = false;
};

// A line of text a widget drew: its box on the lower screen and its characters.
struct DrawnText {
    int x, y, w, h;
    std::string text;
};
// Draws the widget alone on the lower screen (the renderer started) and returns the lines of text
// it drew there; quads, when given, receives the number of 2D quads it queued.
std::vector<DrawnText> DrawWidgetTexts(sBasicUiWidget* widget, int* quads = nullptr);

// The names of a screen's widget tree in depth-first pre-order, children before the next sibling.
std::vector<std::string> TreeNames(sBasicUiScreen* screen);
// The names of a sibling chain.
std::vector<std::string> ChainNames(sBasicUiWidget* first);
// Whether the messages printed since the test began contain the text.
bool LogHas(const std::string& text);
