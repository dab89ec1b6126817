// Outside tool runs that the window starts on its own (Pandoc when a document is
// opened, saved, imported or pasted) get the time limit of the settings and, once
// one has run for a moment, a progress window whose Cancel stops it. Exports put
// their own progress window over this one while they run.
#pragma once

#include "tools/process/process_runner.h"

#include <chrono>
#include <memory>
#include <optional>

class QProgressDialog;
class QTimer;
class QWidget;

namespace qorva {

class ToolRunWatch {
public:
    ToolRunWatch(QWidget* owner, std::chrono::milliseconds timeLimit);
    ~ToolRunWatch();
    ToolRunWatch(const ToolRunWatch&) = delete;
    ToolRunWatch& operator=(const ToolRunWatch&) = delete;
    // For the runs that start from now on.
    void SetTimeLimit(std::chrono::milliseconds timeLimit);

private:
    using Clock = std::chrono::steady_clock;
    void OnWait();
    bool CancelRequested() const;
    bool RunGoingOn() const;
    void EndOfRun();

    QWidget* owner_;
    bool cancelled_ = false;
    Clock::time_point runStart_{};
    Clock::time_point lastWait_{};
    std::unique_ptr<QProgressDialog> dialog_;
    std::unique_ptr<QTimer> endCheck_;
    std::optional<ScopedToolRunLimits> limits_;
    std::optional<ScopedProcessWaitHook> hook_;
};

}  // namespace qorva
