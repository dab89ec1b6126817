#include "tools/process/process_runner.h"

#include "tools/process/command_line.h"
#include "tools/files/file_io.h"
#include "tools/process/run_leftovers.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <vector>

extern char** environ;

namespace qorva {
namespace {

constexpr int kWaitHookIntervalMs = 100;

// One per thread: the tools run on the thread that owns the window.
thread_local std::function<void()> waitHook;
thread_local std::chrono::milliseconds timeLimit = kDefaultToolTimeLimit;
thread_local std::function<bool()> cancelRequested;

using Clock = std::chrono::steady_clock;

// Watches one run: calls the wait hook now and then, and tells when the run must
// stop (cancelled or past its time limit), killing the child's process group then.
class RunWatch {
public:
    RunWatch(pid_t group, ProcessResult& result)
        : group_(group), result_(result), lastHook_(Clock::now()), limit_(timeLimit) {
        result_.timeLimit = limit_;
        if (limit_.count() > 0) deadline_ = Clock::now() + limit_;
    }

    // How long a wait may block before the watch must look again; -1 for ever.
    int pollTimeoutMs() const {
        long long wait = -1;
        if (waitHook || cancelRequested) wait = kWaitHookIntervalMs;
        if (deadline_) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline_ - Clock::now()).count();
            left = left < 0 ? 0 : left + 1;
            wait = wait < 0 ? left : std::min<long long>(wait, left);
        }
        return static_cast<int>(wait);
    }

    // True once the run has been stopped; the group is killed the first time.
    bool stopped() {
        if (stopped_) return true;
        const auto now = Clock::now();
        if (waitHook && now - lastHook_ >= std::chrono::milliseconds(kWaitHookIntervalMs)) {
            lastHook_ = now;
            waitHook();
        }
        if (cancelRequested && cancelRequested()) result_.cancelled = true;
        else if (deadline_ && Clock::now() >= *deadline_) result_.timedOut = true;
        else return false;
        // Grandchildren (a TeX engine's helpers, a shell's commands) go with it.
        ::kill(-group_, SIGKILL);
        stopped_ = true;
        return true;
    }

private:
    pid_t group_;
    ProcessResult& result_;
    Clock::time_point lastHook_;
    std::chrono::milliseconds limit_;
    std::optional<Clock::time_point> deadline_;
    bool stopped_ = false;
};

// A file descriptor closed when it goes out of scope.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { close(); }
    int get() const { return fd_; }
    bool open() const { return fd_ >= 0; }
    void reset(int fd) {
        close();
        fd_ = fd;
    }
    void close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
};

struct Pipe {
    Fd read, write;
    bool make() {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return false;
        read.reset(fds[0]);
        write.reset(fds[1]);
        return true;
    }
};

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string childSearchPath(std::string_view extraFolder) {
    const char* current = getenv("PATH");
    std::string path = current ? current : "";
    if (!extraFolder.empty()) {
        if (!path.empty()) path += ':';
        path += extraFolder;
    }
    return path;
}

// Finds the program the way a shell would, but on the child's PATH. Empty PATH
// entries (meaning the current folder) are skipped on purpose.
std::string resolveProgram(const std::string& program, const std::string& searchPath, int& error) {
    if (program.find('/') != std::string::npos) {
        if (program.front() == '/') return program;
        // Relative to the parent's folder, not to the child's working folder.
        return CurrentFolder() + "/" + program;
    }
    error = ENOENT;
    size_t start = 0;
    while (start <= searchPath.size()) {
        size_t end = searchPath.find(':', start);
        if (end == std::string::npos) end = searchPath.size();
        std::string folder = searchPath.substr(start, end - start);
        if (!folder.empty()) {
            std::string candidate = folder + (folder.back() == '/' ? "" : "/") + program;
            if (isExecutableFile(candidate)) return candidate;
            if (access(candidate.c_str(), F_OK) == 0) error = EACCES;
        }
        start = end + 1;
    }
    return {};
}

std::string_view variableName(std::string_view entry) { return entry.substr(0, entry.find('=')); }

std::vector<std::string> childEnvironment(std::string_view extraFolder, const std::vector<std::string>& overrides) {
    std::vector<std::string> replaced = overrides;
    if (!extraFolder.empty()) replaced.push_back("PATH=" + childSearchPath(extraFolder));
    std::vector<std::string> environment;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string_view name = variableName(*entry);
        const bool overridden = std::any_of(replaced.begin(), replaced.end(),
                                            [&](const std::string& set) { return variableName(set) == name; });
        if (!overridden) environment.emplace_back(*entry);
    }
    environment.insert(environment.end(), replaced.begin(), replaced.end());
    return environment;
}

// Blocks SIGPIPE on this thread while we write to a child that may have exited, and
// swallows a SIGPIPE that our own writes raised.
class SigpipeGuard {
public:
    SigpipeGuard() {
        sigemptyset(&pipeSet_);
        sigaddset(&pipeSet_, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        alreadyPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipeSet_, &previous_);
    }
    ~SigpipeGuard() {
        if (raised_ && !alreadyPending_) {
            timespec zero{0, 0};
            while (sigtimedwait(&pipeSet_, nullptr, &zero) == -1 && errno == EINTR) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    void noteRaised() { raised_ = true; }

private:
    sigset_t pipeSet_{}, previous_{};
    bool alreadyPending_ = false;
    bool raised_ = false;
};

// Feeds `input` to the child and drains its output pipes until both are closed.
// Stops early, leaving the pipes closed, when the watch stops the run.
void exchange(Fd& inputFd, std::string_view input, Fd& outFd, std::string& out, Fd& errFd,
              std::string* err, RunWatch& watch) {
    SigpipeGuard guard;
    size_t written = 0;
    if (input.empty()) inputFd.close();
    for (int fd : {inputFd.get(), outFd.get(), errFd.get()})
        if (fd >= 0) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);

    char buffer[65536];
    while (inputFd.open() || outFd.open() || errFd.open()) {
        pollfd fds[3];
        int count = 0;
        int inIndex = -1, outIndex = -1, errIndex = -1;
        if (inputFd.open()) inIndex = count, fds[count++] = {inputFd.get(), POLLOUT, 0};
        if (outFd.open()) outIndex = count, fds[count++] = {outFd.get(), POLLIN, 0};
        if (errFd.open()) errIndex = count, fds[count++] = {errFd.get(), POLLIN, 0};
        int ready = poll(fds, count, watch.pollTimeoutMs());
        if (watch.stopped()) break;
        if (ready < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (ready == 0) continue;
        if (inIndex >= 0 && fds[inIndex].revents) {
            ssize_t n = write(inputFd.get(), input.data() + written, input.size() - written);
            if (n > 0) written += static_cast<size_t>(n);
            if (n < 0 && errno == EPIPE) guard.noteRaised();
            // A child that stopped reading is not an error: its output still counts.
            if (written == input.size() || (n < 0 && errno != EAGAIN && errno != EINTR))
                inputFd.close();
        }
        auto drain = [&](int index, Fd& fd, std::string& target) {
            if (index < 0 || !fds[index].revents) return;
            ssize_t n = read(fd.get(), buffer, sizeof buffer);
            if (n > 0)
                target.append(buffer, static_cast<size_t>(n));
            else if (n == 0 || (errno != EAGAIN && errno != EINTR))
                fd.close();
        };
        drain(outIndex, outFd, out);
        drain(errIndex, errFd, err ? *err : out);
    }
}

// Should this program die while a tool runs, nobody is left to stop the tool at its
// time limit; the system then stops it once it has used that much processor time
// (what it and the children it starts from now on use, each on its own).
void limitProcessorTime(pid_t pid) {
    if (timeLimit.count() <= 0) return;
    // A little over the wall-clock limit, so that the watch, which says why it
    // stopped the run, comes first whenever it is there.
    const rlim_t seconds = static_cast<rlim_t>((timeLimit.count() + 999) / 1000) + 2;
    const rlimit limit{seconds, seconds + 5};
    prlimit(pid, RLIMIT_CPU, &limit, nullptr);
}

}  // namespace

ProcessResult RunChild(const ProcessRequest& request, std::string& standardOutput,
                       std::string* standardError) {
    ProcessResult result;
    std::vector<std::string> arguments = SplitCommandLine(request.commandLine);
    if (arguments.empty()) {
        result.startError = EINVAL;
        return result;
    }
    std::string program =
        resolveProgram(arguments[0], childSearchPath(request.extraSearchFolder), result.startError);
    if (program.empty()) return result;
    if (!request.workingFolder.empty()) {
        struct stat info {};
        if (stat(std::string(request.workingFolder).c_str(), &info) != 0) {
            result.startError = errno;
            return result;
        }
        if (!S_ISDIR(info.st_mode)) {
            result.startError = ENOTDIR;
            return result;
        }
    }

    Pipe input, output, error;
    if (!input.make() || !output.make() || (standardError && !error.make())) {
        result.startError = errno;
        return result;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input.read.get(), 0);
    posix_spawn_file_actions_adddup2(&actions, output.write.get(), 1);
    posix_spawn_file_actions_adddup2(&actions, standardError ? error.write.get() : output.write.get(), 2);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    std::string folder(request.workingFolder);
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());

    // The child starts with default signal handling, whatever this process does.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGXFSZ);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    // A group of its own, so that stopping the run reaches everything it started.
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);

    std::vector<char*> argv;
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment = childEnvironment(request.extraSearchFolder, request.environment);
    std::vector<char*> envp;
    for (auto& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);

    pid_t pid = 0;
    int spawnError = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (spawnError != 0) {
        result.startError = spawnError;
        return result;
    }
    result.started = true;
    // A signal that ends this program ends the run too (its group is its own).
    ScopedRunningGroup running(pid);
    limitProcessorTime(pid);

    // Our copies of the child's ends must go, or we would never see end of output.
    input.read.close();
    output.write.close();
    error.write.close();

    std::string out, err;
    RunWatch watch(pid, result);
    exchange(input.write, request.input, output.read, out, error.read, standardError ? &err : nullptr, watch);

    // A child may close its output and still run; the watch goes on until it ends.
    int status = 0;
    for (;;) {
        const pid_t ended = waitpid(pid, &status, watch.stopped() ? 0 : WNOHANG);
        if (ended == pid) break;
        if (ended < 0 && errno == EINTR) continue;
        if (ended < 0) {
            result.exitCode = -1;
            standardOutput = std::move(out);
            if (standardError) *standardError = std::move(err);
            return result;
        }
        const int wait = watch.pollTimeoutMs();
        poll(nullptr, 0, wait < 0 || wait > 20 ? 20 : wait);
    }
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    standardOutput = std::move(out);
    if (standardError) *standardError = std::move(err);
    return result;
}

bool RunProcess(std::string_view commandLine, std::string_view workingFolder,
                std::string_view extraSearchFolder, std::string_view input, std::string& output) {
    ProcessResult result = RunChild({commandLine, workingFolder, extraSearchFolder, input}, output, nullptr);
    if (!result.started) errno = result.startError;
    return result.succeeded();
}

ScopedProcessWaitHook::ScopedProcessWaitHook(std::function<void()> hook) : previous_(std::move(waitHook)) {
    waitHook = std::move(hook);
}

ScopedProcessWaitHook::~ScopedProcessWaitHook() { waitHook = std::move(previous_); }

ScopedToolRunLimits::ScopedToolRunLimits(std::chrono::milliseconds limit, std::function<bool()> cancel)
    : previousLimit_(timeLimit), previousCancel_(std::move(cancelRequested)) {
    timeLimit = limit;
    cancelRequested = std::move(cancel);
}

ScopedToolRunLimits::~ScopedToolRunLimits() {
    timeLimit = previousLimit_;
    cancelRequested = std::move(previousCancel_);
}

std::string DescribeFailure(std::string_view program, const ProcessResult& result) {
    std::string name(program);
    if (!result.started) return "Could not start " + name + ": " + SystemErrorText(result.startError);
    if (result.cancelled) return name + " was cancelled.";
    if (result.timedOut) {
        const auto seconds = (result.timeLimit.count() + 999) / 1000;
        return name + " did not finish within " + std::to_string(seconds) + (seconds == 1 ? " second" : " seconds") +
               " and was stopped.";
    }
    if (result.signal != 0)
        return name + " was ended by signal " + std::to_string(result.signal) + " (" +
               strsignal(result.signal) + ")";
    return name + " exited with code " + std::to_string(result.exitCode);
}

}  // namespace qorva
