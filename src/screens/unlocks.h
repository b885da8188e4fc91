// The career bowler's equipment and event states: the unlock groups that events hand out, and the
// accessors of the career row ("players" row r, r = column 1 of "career setup") that the pro shop,
// the trophy case and the career events share. State characters: 'L' locked, 'N' newly unlocked,
// 'U' unlocked, 'O' owned; 'X' is what a missing character reads as.
#pragma once

// For each group of two columns c, c + 1 (c = firstColumn, firstColumn + 2, ... up to lastColumn)
// of row defRow of the "game" table defTable: column c names a column of the "save" table
// `players`, column c + 1 lists item indices (an int array; negative entries are skipped). Every
// listed item that is 'L' in row `row` of the named column becomes 'U'.
// 1 when both tables were found.
int HandleUnlockables(const char* defTable, int firstColumn, int lastColumn, int defRow, const char* players,
                      int row);
// The same with groups of three columns: the third is the worst place that still earns the group;
// a group is handed out only when place <= that place.
int HandlePlacedUnlockables(const char* defTable, int firstColumn, int lastColumn, int defRow, const char* players,
                            int row, int place);

// The career slot r, or -1 when "career setup" is missing.
int GetCareerID();
// Column `column` (element 0) of the career row; 0 when missing.
int GetCareerPlayerValue(int column);
void SetCareerPlayerValue(int column, int value);
// Character `item` of state column `column` of the career row; 'X' when missing.
char GetCareerPlayerItemState(int column, int item);
void SetCareerPlayerItemState(int column, int item, char state);
// The career bowler's money (column 8).
int GetCareerPlayerFunds();
void SetCareerPlayerFunds(int funds);
// 1 for a left-handed career bowler (element 4 of column 6), else 0.
int GetCareerPlayerHand();
// 1 for a female career bowler (column 7).
int GetCareerPlayerGender();
// The price of item `item` of the "game" table `table` (column 6); 0 when missing.
int GetCareerItemValue(const char* table, int item);
