// What the database tests share: a fresh game heap, a scratch game data directory for XML written
// by a test, and the hand-written database under content/.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "db/database.h"

class DbTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes xml as "rom:/test.xml" and loads it; null when nothing was loaded.
    sBasicDb* LoadText(const std::string& xml);
    // Loads the hand-written database file from content/.
    sBasicDb* LoadContent(const char* path = "db/test.db.xml");
    // The scratch directory (also the "rom:/" of LoadText).
    std::string scratch;
};

// The text of one cell as the database formats it.
std::string CellText(sBasicDbTable* table, int row, int column);
