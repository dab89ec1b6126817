#include "tools/process/run_leftovers.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/wait.h>
#include <unistd.h>

namespace qorva {
namespace {

constexpr int kSlots = 32;
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT};

struct LeftoverSlot {
    std::atomic<bool> used{false};
    char path[PATH_MAX];
};

LeftoverSlot leftovers[kSlots];
std::atomic<pid_t> groups[kSlots];
std::mutex registration;
// Set once a signal is ending the program: no tool may start from then on.
std::atomic<bool> ending{false};

bool isDots(const char* name) { return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)); }

// Removes `name` under the folder `at`: a file or link as it is, a folder with
// everything in it. Only system calls, so that a signal handler may use it.
void removeTree(int at, const char* name, int depth) {
    if (unlinkat(at, name, 0) == 0 || (errno != EISDIR && errno != EPERM) || depth > 16) return;
    const int folder = openat(at, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0) return;
    // Entries removed while the folder is read may hide others: read it again
    // until a pass finds nothing left (three at most: some may not be removable).
    for (int pass = 0; pass < 3; ++pass) {
        bool found = false;
        lseek(folder, 0, SEEK_SET);
        alignas(dirent64) char buffer[2048];  // small: this may run on any thread's stack
        for (ssize_t n; (n = getdents64(folder, buffer, sizeof buffer)) > 0;) {
            for (ssize_t offset = 0; offset < n;) {
                const auto* entry = reinterpret_cast<const dirent64*>(buffer + offset);
                offset += entry->d_reclen;
                if (isDots(entry->d_name)) continue;
                found = true;
                removeTree(folder, entry->d_name, depth + 1);
            }
        }
        if (!found) break;
    }
    close(folder);
    unlinkat(at, name, AT_REMOVEDIR);
}

void pause10ms() {
    timespec wait{0, 10'000'000};
    nanosleep(&wait, nullptr);
}

void onEndingSignal(int signal) {
    ending = true;
    for (auto& group : groups)
        if (const pid_t id = group.load(); id > 0) kill(-id, SIGKILL);
    // The killed tools may not write into their folders once these are gone: wait
    // (a second at most) until their groups are empty.
    for (int round = 0; round < 100; ++round) {
        bool alive = false;
        for (auto& group : groups) {
            const pid_t id = group.load();
            if (id <= 0) continue;
            waitpid(id, nullptr, WNOHANG);
            if (kill(-id, 0) == 0) alive = true;
        }
        if (!alive) break;
        pause10ms();
    }
    for (auto& slot : leftovers)
        if (slot.used.load(std::memory_order_acquire)) removeTree(AT_FDCWD, slot.path, 0);
    // The signal's own action ends the program once this handler returns.
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    sigaction(signal, &standard, nullptr);
    raise(signal);
}

void installOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction ours {};
        ours.sa_handler = onEndingSignal;
        sigemptyset(&ours.sa_mask);
        for (int signal : kSignals) sigaddset(&ours.sa_mask, signal);
        for (int signal : kSignals) {
            struct sigaction current {};
            if (sigaction(signal, nullptr, &current) != 0) continue;
            const bool standard = !(current.sa_flags & SA_SIGINFO) && current.sa_handler == SIG_DFL;
            if (standard) sigaction(signal, &ours, nullptr);
        }
    });
}

}  // namespace

ScopedRunLeftover::ScopedRunLeftover(const std::string& path) : slot_(-1) {
    if (path.empty() || path.size() >= PATH_MAX) return;
    installOnce();
    std::lock_guard lock(registration);
    for (int i = 0; i < kSlots; ++i) {
        if (leftovers[i].used.load()) continue;
        std::memcpy(leftovers[i].path, path.c_str(), path.size() + 1);
        leftovers[i].used.store(true, std::memory_order_release);
        slot_ = i;
        return;
    }
}

ScopedRunLeftover::~ScopedRunLeftover() {
    if (slot_ >= 0) leftovers[slot_].used.store(false, std::memory_order_release);
}

ScopedRunningGroup::ScopedRunningGroup(pid_t group) : slot_(-1) {
    installOnce();
    {
        std::lock_guard lock(registration);
        for (int i = 0; i < kSlots; ++i) {
            pid_t free = 0;
            if (groups[i].compare_exchange_strong(free, group)) {
                slot_ = i;
                break;
            }
        }
    }
    // Started just as a signal ends the program: it goes too.
    if (ending) kill(-group, SIGKILL);
}

ScopedRunningGroup::~ScopedRunningGroup() {
    if (slot_ >= 0) groups[slot_].store(0);
}

}  // namespace qorva
