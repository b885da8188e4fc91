// The error log behind PrintError: one buffer of recent messages guarded by a lock, since the file
// server and sound threads report too, echoed to standard error with --verbose.
#include "host/errorlog.h"

#include <cstdio>
#include <mutex>

static std::mutex logMutex;
static std::string logText;
static int verboseOutput = 0;
static const size_t kMaxLogBytes = 64 * 1024;
static const int kErrorMessageSize = 255;
static ErrorFormatter errorFormatter = nullptr;

void HostSetErrorFormatter(ErrorFormatter formatter) { errorFormatter = formatter; }

int PrintError(const char* format, ...)
{
    char message[kErrorMessageSize];
    va_list args;
    va_start(args, format);
    message[0] = 0;
    if (format && errorFormatter)
        errorFormatter(message, kErrorMessageSize, format, args);
    else if (format)
        std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    HostReportError(message);
    return 0;
}

void HostReportError(const char* message)
{
    if (!message) return;
    std::lock_guard<std::mutex> lock(logMutex);
    logText += message;
    logText += '\n';
    if (logText.size() > kMaxLogBytes) logText.erase(0, logText.size() - kMaxLogBytes);
    if (verboseOutput) std::fprintf(stderr, "zendrolyx: %s\n", message);
}

void HostSetVerbose(int verbose) { verboseOutput = verbose; }

std::string HostErrorLog()
{
    std::lock_guard<std::mutex> lock(logMutex);
    return logText;
}

void HostClearErrorLog()
{
    std::lock_guard<std::mutex> lock(logMutex);
    logText.clear();
}
