// Recording doubles of the modules that the shell's start-up and screen loop call: each call is
// written to a list, and any function can be told to fail.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

extern std::vector<std::string> gCalls;
extern std::set<std::string> gFailing;     // names of functions that return failure
extern std::deque<int> gScriptedResults;   // screen results to hand out, one per read
extern int gStoredResult;                  // what ScreenSetResult stored
extern std::string gSetDoneIn;             // a function that raises done when called
extern int gStopToldByGame;                // what start-up told the host of its own box
extern std::string gStopLine;              // the line start-up gave the host
extern std::map<std::string, std::string> gReports;  // a message a function reports when called

void ResetNeighbours();
