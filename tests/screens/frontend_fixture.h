// What the front end's tests share: the UI test environment (a fresh game heap, the UI's memory
// slots, one environment that a test loads a description into) with the game data's "save" and
// "game" databases loaded from content/ and registered as the menu registers them, and a small
// "ui" database that a test writes for the texts it needs.
#pragma once

#include "platform/input.h"

#include <gtest/gtest.h>

#include <string>

#include "db/database.h"
#include "ui/uiload_fixture.h"

class FrontEndTest : public UiLoadTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads xml as a database file and registers its first database (say, a "ui" of test texts).
    sBasicDb* RegisterText(const std::string& xml);
    sBasicDbTable* Save(const char* table) { return BasicDbTable_Find(save, table); }
    sBasicDbTable* Game(const char* table) { return BasicDbTable_Find(game, table); }
    sBasicUiWidget* Widget(const char* name) { return BasicUi_FindWidget(env, name); }

    sBasicDb* save = nullptr;
    sBasicDb* game = nullptr;
    // The controllers' devices as the test found them: tests plug pads into slots.
    DS3_controller* devices[kNumControllerStates] = {};
};

// A cell as the database formats it (the column's name for row -1).
std::string FrontEndCell(sBasicDbTable* table, int row, int column);
