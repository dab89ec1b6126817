// What a tool run leaves behind when the program is ended by a signal. Tools run
// in process groups of their own, which a signal to the program does not reach;
// their work folders would stay. While a run or a folder is registered here, a
// SIGTERM, SIGINT, SIGHUP or SIGQUIT that ends the program first kills the running
// tools and removes the registered files and folders, then ends the program as
// the signal asked. Signals the program ignores or handles itself stay as they are.
#pragma once

#include <string>
#include <sys/types.h>

namespace qorva {

// A file or folder (with everything in it) removed should a signal end the program
// while the object lives.
class ScopedRunLeftover {
public:
    explicit ScopedRunLeftover(const std::string& path);
    ~ScopedRunLeftover();
    ScopedRunLeftover(const ScopedRunLeftover&) = delete;
    ScopedRunLeftover& operator=(const ScopedRunLeftover&) = delete;

private:
    int slot_;
};

// A running child's process group, killed should a signal end the program while
// the object lives.
class ScopedRunningGroup {
public:
    explicit ScopedRunningGroup(pid_t group);
    ~ScopedRunningGroup();
    ScopedRunningGroup(const ScopedRunningGroup&) = delete;
    ScopedRunningGroup& operator=(const ScopedRunningGroup&) = delete;

private:
    int slot_;
};

}  // namespace qorva
