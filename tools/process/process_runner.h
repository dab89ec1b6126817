// Runs an outside program (Pandoc, XeLaTeX) as a child process: feeds it a text on
// standard input while collecting what it writes, and reports how it ended.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qorva {

struct ProcessRequest {
    // Program and arguments as one line, split by SplitCommandLine. A program
    // without a slash is searched on PATH (with the extra search folder appended).
    std::string_view commandLine;
    // Folder the child starts in; empty: the parent's current folder.
    std::string_view workingFolder;
    // Appended to the child's PATH with ":" for this run only; empty: none.
    // The parent's own environment is never changed.
    std::string_view extraSearchFolder;
    std::string_view input;
    // "NAME=value" entries set for this run only, over the parent's environment.
    std::vector<std::string> environment = {};
};

struct ProcessResult {
    bool started = false;
    int startError = 0;  // errno when the child could not be started
    int exitCode = -1;   // -1 when the child did not exit normally
    int signal = 0;      // the signal that ended the child, if any
    bool timedOut = false;   // stopped because it ran past the time limit
    bool cancelled = false;  // stopped because the user cancelled
    std::chrono::milliseconds timeLimit{0};  // the limit in force for the run
    bool succeeded() const { return started && exitCode == 0; }
};

// Runs the child to its end, or until the time limit or a cancel stops it (see
// ScopedToolRunLimits). Input is written while output is read, so a child
// that writes before it has read everything cannot deadlock with us. When
// `standardError` is null, both streams go to `standardOutput` in the order the
// bytes arrived; otherwise they are kept apart. The strings are replaced only when
// the child started; bytes are kept exactly as the child wrote them.
ProcessResult RunChild(const ProcessRequest& request, std::string& standardOutput,
                       std::string* standardError);

// The classic form: both streams together into `output`; true only when the child
// started and exited with code 0. When it cannot be started, `output` is left as it
// was and errno holds the reason.
bool RunProcess(std::string_view commandLine, std::string_view workingFolder,
                std::string_view extraSearchFolder, std::string_view input, std::string& output);

// Called on the running thread about ten times a second while a child runs, so a
// window can repaint and show progress (it must not start another child from
// there). Installed for the lifetime of the object; the previous hook comes back.
class ScopedProcessWaitHook {
public:
    explicit ScopedProcessWaitHook(std::function<void()> hook);
    ~ScopedProcessWaitHook();
    ScopedProcessWaitHook(const ScopedProcessWaitHook&) = delete;
    ScopedProcessWaitHook& operator=(const ScopedProcessWaitHook&) = delete;

private:
    std::function<void()> previous_;
};

// How long a tool may run when no ScopedToolRunLimits says otherwise.
inline constexpr std::chrono::seconds kDefaultToolTimeLimit{300};

// The time limit and the cancel check for every child run on this thread while the
// object lives (the previous ones come back afterwards). The child starts in a
// process group of its own; when the limit passes or `cancelRequested` says so, the
// whole group is killed and the result says which. A zero limit means none.
class ScopedToolRunLimits {
public:
    explicit ScopedToolRunLimits(std::chrono::milliseconds timeLimit, std::function<bool()> cancelRequested = {});
    ~ScopedToolRunLimits();
    ScopedToolRunLimits(const ScopedToolRunLimits&) = delete;
    ScopedToolRunLimits& operator=(const ScopedToolRunLimits&) = delete;

private:
    std::chrono::milliseconds previousLimit_;
    std::function<bool()> previousCancel_;
};

// A readable one-line account of a run that did not succeed, naming the program.
std::string DescribeFailure(std::string_view program, const ProcessResult& result);

}  // namespace qorva
