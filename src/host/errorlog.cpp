// The error log behind PrintError: one buffer of recent messages guarded by a lock, since the file
// server and sound threads report too, echoed to standard error with --verbose.
#include "host/errorlog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>
#include <unordered_set>
#include <vector>

static std::mutex logMutex;
static std::string logText;
static int verboseOutput = 0;
static const size_t kMaxLogBytes = 64 * 1024;
static ErrorFormatter errorFormatter = nullptr;
// The messages of PrintErrorOnce said since the last clear, up to a limit.
static std::unordered_set<std::string> saidOnce;
static const size_t kMaxSaidOnce = 4096;
static long errorsReported = 0;
static int logTrimmed = 0;  // the oldest messages were dropped (the first line may be cut)
// The message that came first after each of the last counts asked for. A step takes the count
// before it begins and names its first fault after it; a flood of later messages (a badly damaged
// file reports a fault a line) may push that one out of the log, but not out of here.
// Only the marking thread's own messages count: a fault of the sound or file server thread, or of
// work the thread does for another request while it waits (HostSetErrorOtherWork), is not the step's.
struct KeptMessage {
    long number = -1;
    std::thread::id thread;
    std::string text;
};
static KeptMessage keptMessages[8];
static int nextKept = 0;
// Said before each message of this thread (HostSetErrorContext).
static thread_local std::string errorContext;
// The thread runs work of another request than the one it is busy with (HostSetErrorOtherWork).
static thread_local int otherWork = 0;

int HostSetErrorOtherWork(int other)
{
    const int previous = otherWork;
    otherWork = other;
    return previous;
}

// The length of the well-formed UTF-8 sequence of a character other than a control character at s
// (left bytes remain), or 0 where the byte is not one: an ASCII control byte or DEL, a byte that
// starts no sequence, a sequence cut short or overlong, a surrogate, past U+10FFFF, or a C1
// control (U+0080 to U+009F), which some terminals obey as they do ESC.
static size_t PrintableSequence(const unsigned char* s, size_t left)
{
    const unsigned char c = s[0];
    if (c < 0x20 || c == 0x7f) return 0;
    if (c < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xbf;  // the allowed range of the second byte
    if (c >= 0xc2 && c <= 0xdf) length = 2, low = c == 0xc2 ? 0xa0 : 0x80;
    else if (c == 0xe0) length = 3, low = 0xa0;
    else if (c >= 0xe1 && c <= 0xef) length = 3, high = c == 0xed ? 0x9f : 0xbf;
    else if (c == 0xf0) length = 4, low = 0x90;
    else if (c >= 0xf1 && c <= 0xf3) length = 4;
    else if (c == 0xf4) length = 4, high = 0x8f;
    else return 0;
    if (left < length || s[1] < low || s[1] > high) return 0;
    for (size_t i = 2; i < length; ++i)
        if (s[i] < 0x80 || s[i] > 0xbf) return 0;
    return length;
}

// The text cut into the pieces it is written as: a character as it is, or one escaped byte (a
// quote and a backslash too, when names is set), so that a shortened name is cut between pieces.
static std::vector<std::string> EscapedPieces(const char* text, int names)
{
    std::vector<std::string> pieces;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text ? text : "");
    size_t left = std::strlen(reinterpret_cast<const char*>(s));
    while (left > 0) {
        const size_t length = PrintableSequence(s, left);
        if (names && (s[0] == '"' || s[0] == '\\')) {
            pieces.push_back(std::string("\\") + char(s[0]));
        } else if (length > 0) {
            pieces.emplace_back(reinterpret_cast<const char*>(s), length);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", s[0]);
            pieces.push_back(escaped);
        }
        const size_t used = length > 0 ? length : 1;
        s += used;
        left -= used;
    }
    return pieces;
}

std::string HostEscapeName(const char* name)
{
    const std::vector<std::string> pieces = EscapedPieces(name, 1);
    size_t total = 0;
    for (const std::string& piece : pieces) total += piece.size();
    std::string out;
    if (total <= size_t(kMaxEscapedName)) {
        for (const std::string& piece : pieces) out += piece;
        return out;
    }
    // Its beginning and its end, which tell most of a path (the folder and the file).
    static const char kCut[] = "...";
    const size_t half = (size_t(kMaxEscapedName) - (sizeof kCut - 1)) / 2;
    size_t first = 0;
    while (first < pieces.size() && out.size() + pieces[first].size() <= half) out += pieces[first++];
    std::string tail;
    for (size_t last = pieces.size(); last > first && tail.size() + pieces[last - 1].size() <= half; --last)
        tail.insert(0, pieces[last - 1]);
    return out + kCut + tail;
}

std::string HostEscapeLine(const char* text)
{
    std::string out;
    for (const std::string& piece : EscapedPieces(text, 0)) out += piece;
    return out;
}

std::string HostQuoted(const char* name) { return "\"" + HostEscapeName(name) + "\""; }

std::string HostSetErrorContext(const char* context)
{
    std::string previous = errorContext;
    errorContext = context ? context : "";
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
    const std::string message = HostEscapeLine((errorContext + said).c_str());
    std::lock_guard<std::mutex> lock(logMutex);
    // A kept slot waits for the first message of its own thread's own work.
    for (KeptMessage& kept : keptMessages)
        if (kept.text.empty() && kept.number >= 0 && !otherWork && kept.thread == std::this_thread::get_id())
            kept.text = message;
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
        if (kept.number == errorsReported && kept.thread == std::this_thread::get_id()) return errorsReported;
    keptMessages[nextKept].number = errorsReported;
    keptMessages[nextKept].thread = std::this_thread::get_id();
    keptMessages[nextKept].text.clear();
    nextKept = (nextKept + 1) % int(sizeof keptMessages / sizeof keptMessages[0]);
    return errorsReported;
}

std::string HostErrorReported(long n)
{
    std::lock_guard<std::mutex> lock(logMutex);
    long after = errorsReported - 1 - n;  // the messages reported after it
    if (n < 0 || after < 0) return std::string();
    // A mark of this thread's at n: its first own message since, or none.
    for (const KeptMessage& kept : keptMessages)
        if (kept.number == n && kept.thread == std::this_thread::get_id()) return kept.text;
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
