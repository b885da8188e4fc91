// The game data of the build holds every resource the game asks for by a shared id, with the type
// the game reads it as.
#include <gtest/gtest.h>

#include "lib/resourceids.h"
#include "lib/resources.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

struct AskedFor {
    int id;
    int type;
};

const AskedFor kAskedFor[] = {
    {kGameFontDefault, kResourceTypeBitmap},     {kGameFontSmallTotals, kResourceTypeBitmap},
    {kGameFontTotals, kResourceTypeBitmap},      {kGameFontMarks, kResourceTypeBitmap},
    {kGameFontSmallMarks, kResourceTypeBitmap},  {kGameFontNumbers, kResourceTypeBitmap},
    {kGameFontBingoMarked, kResourceTypeBitmap}, {kGameFontGoldNumbers, kResourceTypeBitmap},
    {kGameFontNames, kResourceTypeBitmap},       {kGameFontLargeGold, kResourceTypeBitmap},
    {kGameFontSmallNumbers, kResourceTypeBitmap}, {kGameFontBusy, kResourceTypeBitmap},
    {kGameFontHeadings, kResourceTypeBitmap},    {kGameFontBody, kResourceTypeBitmap},
    {kGameFontTitles, kResourceTypeBitmap},      {kGameFontHints, kResourceTypeBitmap},
    {kGameFontSmallNames, kResourceTypeBitmap},  {kSplashImage, kResourceTypeBitmap},
    {kLaneObjectTextures, kResourceTypeGroup},   {kBallModel, kResourceTypeModel},
    {kBallShadowModel, kResourceTypeModel},      {kBallReflTopModel, kResourceTypeModel},
    {kBallReflBotModel, kResourceTypeModel},     {kCharacterShadowModel, kResourceTypeModel},
    {kPinModel, kResourceTypeModel},             {kBumperModel, kResourceTypeModel},
    {kAimModel, kResourceTypeModel},             {kAimPosLModel, kResourceTypeModel},
    {kAimPosRModel, kResourceTypeModel},         {kAimAngleLModel, kResourceTypeModel},
    {kAimAngleRModel, kResourceTypeModel},       {kOilModel, kResourceTypeModel},
    {kOilTextureGroup, kResourceTypeGroup},      {kBallTextureGroup, kResourceTypeGroup},
    {kBallPictureGroup, kResourceTypeGroup},     {kSoundMenuMove, kResourceTypeSound},
    {kSoundMenuSelect, kResourceTypeSound},      {kSoundChime, kResourceTypeSound},
    {kSoundMenuBack, kResourceTypeSound},        {kSoundGutter, kResourceTypeSound},
    {kSoundOverlayPop, kResourceTypeSound},      {kMenuMusic, kResourceTypeSound},
    {kSoundBallLands, kResourceTypeSound},       {kSoundBallRolls, kResourceTypeSound},
    {kSoundPinsLight, kResourceTypeSound},       {kSoundPinsSide, kResourceTypeSound},
    {kSoundPinsMedium, kResourceTypeSound},      {kSoundPinsHeavy, kResourceTypeSound},
    {kSoundPinsPocket, kResourceTypeSound},      {kSoundStrikeFast, kResourceTypeSound},
    {kSoundStrikeSlow, kResourceTypeSound},      {kDefaultSong, kResourceTypeSound},
    {kFirstSong, kResourceTypeSound},            {kFirstSong + 1, kResourceTypeSound},
    {kImageGlyphSheet, kResourceTypeBitmap}, {kImageBusyFirst, kResourceTypeBitmap},
    {kImageBusyLast, kResourceTypeBitmap}, {kImagePinDiagram, kResourceTypeBitmap},
    {kImagePinMarker, kResourceTypeBitmap}, {kImageSmallStrike, kResourceTypeBitmap},
    {kImageSmallSpare, kResourceTypeBitmap}, {kImageLargeStrike, kResourceTypeBitmap},
    {kImageLargeSpare, kResourceTypeBitmap}, {kImageSpeedPlate, kResourceTypeBitmap},
    {kImageBallFrame, kResourceTypeBitmap}, {kImageHookBadge, kResourceTypeBitmap},
    {kImageBingoCard, kResourceTypeBitmap}, {kImageLastBallFrame, kResourceTypeBitmap},
    {kImageLastBallDigits, kResourceTypeBitmap}, {kImageSpareBanner, kResourceTypeBitmap},
    {kImageStrikeBanner, kResourceTypeBitmap}, {kImageMissBanners, kResourceTypeBitmap},
    {kImageSparesPanel, kResourceTypeBitmap}, {kImageNamePlate, kResourceTypeBitmap},
    {kImageVideoFrame, kResourceTypeBitmap}, {kImageScoreBackground, kResourceTypeBitmap},
    {kImageScoreBand, kResourceTypeBitmap}, {kImageScoreNamePlate, kResourceTypeBitmap},
    {kImageLargeSheet, kResourceTypeBitmap}, {kImageSmallRow, kResourceTypeBitmap},
    {kImageKnobButtons, kResourceTypeBitmap}, {kImageFrameHighlight, kResourceTypeBitmap},
    {kImagePlayerHint, kResourceTypeBitmap}, {kImagePageHint, kResourceTypeBitmap},
    {kImageKnobTouch, kResourceTypeBitmap}, {kImageStartTurnButtons, kResourceTypeBitmap},
    {kImageStartTurnTouch, kResourceTypeBitmap}, {kImagePositionBackground, kResourceTypeBitmap},
    {kImagePositionMarker, kResourceTypeBitmap}, {kImageTouchPositionBackground, kResourceTypeBitmap},
    {kImageTouchPositionArrow, kResourceTypeBitmap}, {kImageTouchPositionLane, kResourceTypeBitmap},
    {kImageAngleBackground, kResourceTypeBitmap}, {kImageAngleArrow, kResourceTypeBitmap},
    {kImageAngleMarker, kResourceTypeBitmap}, {kImagePowerBackground, kResourceTypeBitmap},
    {kImagePowerMeter, kResourceTypeBitmap}, {kImageHookBackground, kResourceTypeBitmap},
    {kImageHookBall, kResourceTypeBitmap}, {kImageHookArc, kResourceTypeBitmap},
    {kImageHookPointer, kResourceTypeBitmap}, {kImageTouchReleaseBackground, kResourceTypeBitmap},
    {kImageTouchReleaseMeter, kResourceTypeBitmap}, {kImageTouchReleaseBall, kResourceTypeBitmap},
    {kImageMessageBackground, kResourceTypeBitmap}, {kImageReplayPanel, kResourceTypeBitmap},
    {kImageSparesBackground, kResourceTypeBitmap}, {kImageTitlePlate, kResourceTypeBitmap},
    {kImageBingoBackground, kResourceTypeBitmap}, {kImagePromptWell, kResourceTypeBitmap},
    {kImagePin, kResourceTypeBitmap}, {kImagePinSelectBackground, kResourceTypeBitmap},
    {kImagePinHighlight, kResourceTypeBitmap}, {kImageNoHomeIcon, kResourceTypeBitmap},
};

TEST(ResourceIds, TheGameDataHoldsEveryIdTheGameAsksFor)
{
    ASSERT_EQ(UseFreshDeviceHeap(32 << 20), 1);
    ASSERT_EQ(OpenBuildGameData(), 1);
    for (const AskedFor& r : kAskedFor) EXPECT_EQ(ResourceType(r.id), r.type) << "resource " << r.id;
    // The menu widgets' images fill their range; the hint's frames are a group at its end.
    for (int id = kUiWidgetImagesFirst; id < kUiHintTapGroup; ++id)
        EXPECT_EQ(ResourceType(id), kResourceTypeBitmap) << "resource " << id;
    EXPECT_EQ(ResourceType(kUiHintTapGroup), kResourceTypeGroup);
    // The ball table is a plain table, at its id.
    EXPECT_EQ(ResourceType(kBallPropertyTable), 1);
    // The ranges loaded whole begin with resources of their kind.
    EXPECT_EQ(ResourceType(kGameSoundsFirst), kResourceTypeSound);
    EXPECT_EQ(ResourceType(kFontsFirst), kResourceTypeFontInfo);
    CloseBuildGameData();
    ReleaseDeviceHeap();
}

}  // namespace
