// Shared overlay drawing: resource ids by display variant, the screen selection, glyph numbers,
// the menu list and the message box layout's limits.
#include "overlays/overlaydraw.h"

#include <gtest/gtest.h>

#include <cstring>

#include "lib/screenapi.h"
#include "shell/globals.h"
#include "support/device_heap.h"

namespace {

TEST(OverlayDrawing, IdsFollowTheDisplayVariantAndScreensClamp)
{
    const int saved = gHiDef;
    gHiDef = 0;
    EXPECT_EQ(GetOverlayRSID(3260), 3260);
    EXPECT_EQ(GetFontRSID(0xc05), 0xc05);
    gHiDef = 1;
    EXPECT_EQ(GetOverlayRSID(3260), 3260 + 86);
    EXPECT_EQ(GetFontRSID(0xc05), 0xc05 + 29);
    gHiDef = saved;

    SetHUDDisplay(5);
    EXPECT_EQ(displayNum, 1);
    SetHUDDisplay(-3);
    EXPECT_EQ(displayNum, 0);
}

TEST(OverlayDrawing, GlyphNumbersOutsideTheTableAreRefused)
{
    int x = 10, y = 0;
    EXPECT_EQ(DrawOverlayGraphic(nullptr, 20, &x, &y), 0);
    EXPECT_EQ(DrawOverlayGraphic(nullptr, -1, &x, &y), 0);
    EXPECT_EQ(DrawOverlayGraphic(nullptr, 3, nullptr, &y), 0);
    EXPECT_EQ(DrawOverlayGraphic(nullptr, 15, &x, &y), 1) << "an empty entry draws nothing";
    EXPECT_EQ(x, 10);
    EXPECT_EQ(SetGraphic(20, 3271, 0, 0, 1, 1, 0, 0), 0);
    EXPECT_EQ(SetGraphic(3, -5, 0, 0, 1, 1, 0, 0), 0) << "no such image";
}

TEST(OverlayDrawing, MenuEntriesAreLinkedBothWays)
{
    ASSERT_EQ(UseFreshDeviceHeap(1 << 20), 1);
    MenuEntry_tag *head = nullptr, *tail = nullptr;
    ASSERT_EQ(AddMenuEntry(&head, &tail, "Continue", 25, 17, 0, 0, 0, nullptr), 1);
    ASSERT_EQ(AddMenuEntry(&head, &tail, "A name much longer than an entry holds", 25, 57, 0, 0, 1, nullptr), 1);
    ASSERT_EQ(AddMenuEntry(&head, &tail, "Quit Game", 25, 97, 0, 0, 0, nullptr), 1);
    ASSERT_NE(head, nullptr);
    EXPECT_STREQ(head->string, "Continue");
    EXPECT_EQ(head->prevEntry, nullptr);
    EXPECT_EQ(head->nextEntry->prevEntry, head);
    EXPECT_EQ(head->nextEntry->nextEntry, tail);
    EXPECT_EQ(std::strlen(head->nextEntry->string), 31u) << "cut to fit";
    EXPECT_EQ(tail->textTop, 97);
    EXPECT_EQ(tail->nextEntry, nullptr);
    MenuEntry_tag* noTail = head;
    EXPECT_EQ(AddMenuEntry(&noTail, nullptr, "x", 0, 0, 0, 0, 0, nullptr), 0) << "a list needs its tail";
    EXPECT_EQ(FreeMenuEntries(&head, &tail), 1);
    EXPECT_EQ(head, nullptr);
    EXPECT_EQ(tail, nullptr);
    ReleaseDeviceHeap();
}

TEST(OverlayDrawing, AMessageBoxIsAtLeastItsMinimumAndFailsWhenItCannotFit)
{
    static MsgOverlayProperties_tag p;
    std::memset(&p, 0, sizeof p);
    EXPECT_EQ(GetMsgOverlayProperties(&p, 1), 0) << "no message";
    std::strcpy(p.msg, "Hello");
    p.maxWidth = 300;
    p.maxHeight = 200;
    ASSERT_EQ(GetMsgOverlayProperties(&p, 1), 1);
    EXPECT_GE(p.width, 116) << "no box narrower than 100 plus its margins";
    EXPECT_EQ(p.left, (320 - p.width) / 2) << "centred";
    EXPECT_EQ(p.titleDestTop, p.top + 8);
    EXPECT_EQ(p.msgDestLeft, p.left + p.width / 2);
    EXPECT_GE(p.height, 11);

    std::memset(&p, 0, sizeof p);
    std::strcpy(p.msg, "Hello");
    p.maxWidth = 116;
    p.maxHeight = 5;  // shorter than any box
    EXPECT_EQ(GetMsgOverlayProperties(&p, 1), 0);
}

}  // namespace
