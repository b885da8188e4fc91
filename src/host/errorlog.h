// Capture of the game's diagnostic messages (PrintError). The game itself shows nothing; the host
// keeps the recent messages in a buffer that tests read, and echoes them to standard error when
// the program runs with --verbose.
#pragma once

#include <cstdarg>
#include <string>

// Records a message in the log, written as one line: a control byte or a byte that is not UTF-8
// is written escaped (\x1b), so that no message breaks its line or steers a terminal.
void HostReportError(const char* message);

enum { kErrorMessageSize = 2048 };

// Every name a message quotes (a path, a database's table or cell) is written by one rule, so that
// no name can end its quotes, break its line or steer a terminal: a quote and a backslash are
// written \" and \\, a control byte and a byte that is not UTF-8 as \xNN. A name longer than
// kMaxEscapedName characters once escaped is shortened in its middle ("..."). HostQuoted gives the
// name in its quotes; the message writes it with %s.
enum { kMaxEscapedName = 320 };
std::string HostEscapeName(const char* name);
std::string HostQuoted(const char* name);
// A whole line by the same rule, but for quotes and backslashes, which it keeps (its names were
// written escaped already): what HostReportError logs.
std::string HostEscapeLine(const char* text);

// Formats a diagnostic message (at most kErrorMessageSize - 1 chars, room for a few names of the
// longest kind whole) and records it with HostReportError. Returns 0,
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
typedef int (*ErrorFormatter)(char* out, int size, const char* format, va_list args);
void HostSetErrorFormatter(ErrorFormatter formatter);
void HostSetVerbose(int verbose);
// Marks the calling thread's messages, until it is set back, as those of work for another request
// than the one it is busy with (a finished read's callback run while a load waits for its own):
// they are logged, but a step never takes one as its first fault. Returns what was set before.
int HostSetErrorOtherWork(int other);
// How many messages have been reported since the program started (a clear does not reset it), so
// that a step can tell whether it met a fault on its way.
long HostErrorsReported();
// Message number n of those (0 the first), or "" when it is no longer in the log. Where n is one of
// the last few counts HostErrorsReported gave the calling thread, it is the first message the thread
// reported of its own work from then on ("" for none), kept whole however many follow it.
std::string HostErrorReported(long n);
// Everything reported since the last clear, one message a line (the oldest dropped past 64 KB).
std::string HostErrorLog();
void HostClearErrorLog();

// Standard error sent nowhere, and back, around a call into a system library that prints its own
// complaints while it probes (the sound servers, the display servers) before it answers: its
// answer is what counts, and the game reports that itself. Silence returns what Restore takes.
int HostSilenceStandardError();
void HostRestoreStandardError(int saved);
