// The autosave's boxes over the real save module: the saving message, then "Save Successful." or
// "Save failed! Try again?" with its two answers, and the old save kept whole through a failure.
#include "overlays/autosave.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "db/dbtest.h"
#include "host/files.h"
#include "host/host.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "overlays/questionoverlays.h"
#include "platform/input.h"
#include "shell/savedata.h"

namespace {

class AutoSave : public DbTest {
protected:
    DS3_controller pad = {};
    DS3_controller* savedPad = nullptr;
    HostOptions saved;
    void SetUp() override
    {
        DbTest::SetUp();
        saved = gHostOptions;
        gHostOptions.dataDir = scratch + "/save";
        // On game time, as in a headless run: the frames do not race the disk.
        gHostOptions.headless = 1;
        ASSERT_EQ(SaveDataInit(), 1);
        OverlayResetStack();
        ClearInputs();
        savedPad = controllers[0].controller;
        controllers[0].controller = &pad;
        SetOverlayControllerNum(-1);
        gAutoSaveSlot = 0;
    }
    void TearDown() override
    {
        while (OverlayExists() && OverlayExit()) {
        }
        OverlayResetStack();
        SaveDataEnd();
        HostFileClearFaults();
        controllers[0].controller = savedPad;
        ClearInputs();
        gAutoSaveSlot = 0;
        gHostOptions = saved;
        DbTest::TearDown();
    }
    // Frames of the front end's save loop with the given new press, until the boxes are gone or
    // one asks a question; the frames run.
    int Pump(uint16_t press = 0)
    {
        int frames = 0;
        for (; frames < 100000 && OverlayExists(); ++frames) {
            allInput.buttons = allInput.edges = frames > 4 ? press : 0;
            OverlayHandleInput();
            OverlayUpdate();
            OverlayDraw();
            if (!press && YesNoOverlayLayout()) break;
        }
        return frames;
    }
    std::string SaveFile()
    {
        std::ifstream in(scratch + "/save/savegame.bin", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

TEST_F(AutoSave, SavesBehindTheMessageThenSaysSo)
{
    std::string image(300, 'a');
    ASSERT_EQ(SeasonSaveGame(image.data(), int(image.size())), 1);
    EXPECT_GE(Pump(), 2 * 91) << "the saving message and the success each stay 3 s";
    EXPECT_EQ(AutoSaveFailed(), 0);
    EXPECT_EQ(SaveFile(), image);
}

// The save is under way from the saving box's first frame, so sleep is refused all through it:
// through the frames before the write starts too, and again when a failed save is tried again.
TEST_F(AutoSave, TheSaveIsUnderWayFromItsFirstFrame)
{
    std::string image(300, 'a');
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (attempt == 1) HostFileSetFault(kHostOpWrite, "savegame", 1, kHostFileNoSpace);
        ASSERT_EQ(SeasonSaveGame(image.data(), int(image.size())), 1);
        EXPECT_EQ(SaveDataProcessComplete(), 0);
        for (int frame = 0; frame < 14; ++frame) {
            OverlayHandleInput();
            OverlayUpdate();
            EXPECT_EQ(SaveDataProcessComplete(), 0) << "frame " << frame;
        }
        Pump();
        SaveDataEnd();
        EXPECT_EQ(SaveDataProcessComplete(), 1);
    }
    ASSERT_NE(YesNoOverlayLayout(), nullptr);
    allInput.buttons = allInput.edges = 0;
    for (int frame = 0; frame < 6; ++frame) {
        allInput.buttons = allInput.edges = frame == 5 ? kButtonA : 0;  // yes: the same save again
        OverlayHandleInput();
        OverlayUpdate();
    }
    EXPECT_EQ(SaveDataProcessComplete(), 0);
}

TEST_F(AutoSave, AFailedSaveKeepsTheOldOneAndAsksToTryAgain)
{
    std::string old(300, 'o'), image(300, 'n');
    ASSERT_EQ(SeasonSaveGame(old.data(), int(old.size())), 1);
    Pump();
    SaveDataEnd();

    HostFileSetFault(kHostOpWrite, "savegame", 1, kHostFileNoSpace);
    SeasonSaveGame(image.data(), int(image.size()));
    Pump();
    ASSERT_NE(YesNoOverlayLayout(), nullptr);
    EXPECT_EQ(AutoSaveFailed(), 1);
    EXPECT_EQ(SaveFile(), old);
    Pump(kButtonA);  // yes: the same image again, and this time it goes through
    EXPECT_EQ(SaveFile(), image);
    EXPECT_EQ(gAutoSaveSlot, 0);
    SaveDataEnd();

    HostFileSetFault(kHostOpCommit, "savegame", 1, kHostFileError);
    SeasonSaveGame(old.data(), int(old.size()));
    Pump();
    ASSERT_NE(YesNoOverlayLayout(), nullptr);
    Pump(kButtonB);  // no: autosave is off
    EXPECT_EQ(gAutoSaveSlot, -1);
    EXPECT_EQ(SaveFile(), image);
    SeasonSaveGame(old.data(), int(old.size()));
    EXPECT_FALSE(OverlayExists());
}

TEST_F(AutoSave, AFailedLoadIsToldOnlyWhenAFileWasThere)
{
    std::vector<char> image(64, 'i');
    EXPECT_EQ(LoadData(image.data(), int(image.size()), 0), 0);
    EXPECT_EQ(StartLoadFailedMessage(nullptr), 0) << "no save yet: nothing to tell";
    std::ofstream(scratch + "/save/savegame.bin", std::ios::binary) << "short";
    EXPECT_EQ(LoadData(image.data(), int(image.size()), 0), 0);
    EXPECT_EQ(StartLoadFailedMessage(nullptr), 1);
    OverlayUpdate();
    EXPECT_NE(InfoOverlayLayout(), nullptr);
}

}  // namespace
