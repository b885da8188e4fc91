// The error log behind PrintError: one buffer of recent messages guarded by a lock, since the file
// server and sound threads report too, echoed to standard error with --verbose.
#include "host/errorlog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <mutex>
#include <unordered_set>

static std::mutex logMutex;
static std::string logText;
static int verboseOutput = 0;
static const size_t kMaxLogBytes = 64 * 1024;
static const int kErrorMessageSize = 255;
static ErrorFormatter errorFormatter = nullptr;
// The messages of PrintErrorOnce said since the last clear, up to a limit.
static std::unordered_set<std::string> saidOnce;
static const size_t kMaxSaidOnce = 4096;
static long errorsReported = 0;
static int logTrimmed = 0;  // the oldest messages were dropped (the first line may be cut)
// The message that came first after each of the last counts asked for, of those not said aside
// (HostSetErrorsAside). A step takes the count before it begins and names its first fault after
// it; a flood of later messages (a badly damaged file reports a fault a line) may push that one
// out of the log, but not out of here.
struct KeptMessage {
    long number = -1;
    int found = 0;
    std::string text;
};
static KeptMessage keptMessages[8];
static int nextKept = 0;
// Said before each message of this thread (HostSetErrorContext).
static thread_local std::string errorContext;
// This thread's messages are of other work than its step's (HostSetErrorsAside).
static thread_local int errorsAside = 0;

std::string HostSetErrorContext(const char* context)
{
    std::string previous = errorContext;
    errorContext = context ? context : "";
    return previous;
}

int HostSetErrorsAside(int aside)
{
    const int previous = errorsAside;
    errorsAside = aside;
    return previous;
}

void HostSetErrorFormatter(ErrorFormatter formatter) { errorFormatter = formatter; }

static void Format(char* message, const char* format, va_list args)
{
    message[0] = 0;
    if (format && errorFormatter)
        errorFormatter(message, kErrorMessageSize, format, args);
    else if (format)
        std::vsnprintf(message, kErrorMessageSize, format, args);
}

int PrintError(const char* format, ...)
{
    char message[kErrorMessageSize];
    va_list args;
    va_start(args, format);
    Format(message, format, args);
    va_end(args);
    HostReportError(message);
    return 0;
}

int PrintErrorOnce(const char* format, ...)
{
    char message[kErrorMessageSize];
    va_list args;
    va_start(args, format);
    Format(message, format, args);
    va_end(args);
    {
        std::lock_guard<std::mutex> lock(logMutex);
        // Past the limit the messages are still said, each as often as it comes.
        if (saidOnce.count(message)) return 0;
        if (saidOnce.size() < kMaxSaidOnce) saidOnce.insert(message);
    }
    HostReportError(message);
    return 0;
}

void HostReportError(const char* said)
{
    if (!said) return;
    const std::string message = errorContext + said;
    std::lock_guard<std::mutex> lock(logMutex);
    for (KeptMessage& kept : keptMessages) {
        if (errorsAside || kept.found || kept.number < 0 || kept.number > errorsReported) continue;
        kept.text = message;
        kept.found = 1;
    }
    ++errorsReported;
    logText += message;
    logText += '\n';
    if (logText.size() > kMaxLogBytes) {
        logText.erase(0, logText.size() - kMaxLogBytes);
        logTrimmed = 1;
    }
    if (verboseOutput) std::fprintf(stderr, "zendrolyx: %s\n", message.c_str());
}

void HostSetVerbose(int verbose) { verboseOutput = verbose; }

long HostErrorsReported()
{
    std::lock_guard<std::mutex> lock(logMutex);
    for (const KeptMessage& kept : keptMessages)
        if (kept.number == errorsReported) return errorsReported;
    keptMessages[nextKept].number = errorsReported;
    keptMessages[nextKept].found = 0;
    keptMessages[nextKept].text.clear();
    nextKept = (nextKept + 1) % int(sizeof keptMessages / sizeof keptMessages[0]);
    return errorsReported;
}

std::string HostErrorReported(long n)
{
    std::lock_guard<std::mutex> lock(logMutex);
    long after = errorsReported - 1 - n;  // the messages reported after it
    if (n < 0 || after < 0) return std::string();
    for (const KeptMessage& kept : keptMessages)
        if (kept.number == n) return kept.text;
    // Each message ends with a newline; step back over those after it.
    size_t end = logText.size();  // just past the newline of the message looked at
    while (end > 0) {
        const size_t newline = end >= 2 ? logText.rfind('\n', end - 2) : std::string::npos;
        const size_t start = newline == std::string::npos ? 0 : newline + 1;
        if (after == 0) return start == 0 && logTrimmed ? std::string() : logText.substr(start, end - 1 - start);
        end = start;
        --after;
    }
    return std::string();
}

std::string HostErrorLog()
{
    std::lock_guard<std::mutex> lock(logMutex);
    return logText;
}

void HostClearErrorLog()
{
    std::lock_guard<std::mutex> lock(logMutex);
    logText.clear();
    logTrimmed = 0;
    saidOnce.clear();
}

int HostSilenceStandardError()
{
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    const int nowhere = open("/dev/null", O_WRONLY);
    if (saved >= 0 && nowhere >= 0) dup2(nowhere, STDERR_FILENO);
    if (nowhere >= 0) close(nowhere);
    return saved;
}

void HostRestoreStandardError(int saved)
{
    if (saved < 0) return;
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
}
