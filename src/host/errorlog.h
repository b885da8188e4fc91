// Capture of the game's diagnostic messages (PrintError). The game itself shows nothing; the host
// keeps the recent messages in a buffer that tests read, and echoes them to standard error when
// the program runs with --verbose.
#pragma once

#include <string>

void HostReportError(const char* message);
void HostSetVerbose(int verbose);
// Everything reported since the last clear, one message a line (the oldest dropped past 64 KB).
std::string HostErrorLog();
void HostClearErrorLog();
