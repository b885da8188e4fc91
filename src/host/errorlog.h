// Capture of the game's diagnostic messages (PrintError). The game itself shows nothing; the host
// keeps the recent messages in a buffer that tests read, and echoes them to standard error when
// the program runs with --verbose.
#pragma once

#include <cstdarg>
#include <string>

void HostReportError(const char* message);

// Formats a diagnostic message (at most 254 chars) and records it with HostReportError. Returns 0,
// so that failing callers can write "return PrintError(...)". The game formats with its own
// printer (lib/printing), which stands above the host and is registered as the formatter at
// start-up; until then the C library formats, which is the same for the host's own messages.
int PrintError(const char* format, ...) __attribute__((format(printf, 1, 2)));
// As PrintError, for a fault that is met again each frame (a texture missing from a model drawn
// every frame): a message whose text was said before, since the last clear, is not said again.
int PrintErrorOnce(const char* format, ...) __attribute__((format(printf, 1, 2)));
// What the calling thread is working on, said before each message it reports until it is set
// again (null or "" for nothing): a step that reads a file names the file in the faults of the
// code it calls, which knows only the bytes. Returns what was set before, for the step to put
// back when it ends.
std::string HostSetErrorContext(const char* context);
// Set (1) while the calling thread runs work that is not its step's own, such as the completion of
// another file request retired while a load waits for its read: what it says is logged and echoed
// as any message, but is never the first fault HostErrorReported names for a step that counted
// before it. Returns the setting before, for the work to put back when it ends.
int HostSetErrorsAside(int aside);
typedef int (*ErrorFormatter)(char* out, int size, const char* format, va_list args);
void HostSetErrorFormatter(ErrorFormatter formatter);
void HostSetVerbose(int verbose);
// How many messages have been reported since the program started (a clear does not reset it), so
// that a step can tell whether it met a fault on its way.
long HostErrorsReported();
// Message number n of those (0 the first), or "" when it is no longer in the log. For one of the
// last few counts HostErrorsReported gave, the first message after it not said aside, kept whole
// however many follow it ("" until one comes).
std::string HostErrorReported(long n);
// Everything reported since the last clear, one message a line (the oldest dropped past 64 KB).
std::string HostErrorLog();
void HostClearErrorLog();

// Standard error sent nowhere, and back, around a call into a system library that prints its own
// complaints while it probes (the sound servers, the display servers) before it answers: its
// answer is what counts, and the game reports that itself. Silence returns what Restore takes.
int HostSilenceStandardError();
void HostRestoreStandardError(int saved);
