#include "src/win/document/tool_run_watch.h"

#include "src/win/export/export_progress.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QTimer>

namespace qorva {
namespace {

// The runner looks in about ten times a second while a child runs; a longer gap
// means the run is over and the next one is another.
constexpr auto kRunGap = std::chrono::milliseconds(500);
// Quick runs (most conversions) finish before anything is shown; until then the
// window simply waits, as it always did, and takes no input.
constexpr auto kShowAfter = std::chrono::milliseconds(800);

}  // namespace

ToolRunWatch::ToolRunWatch(QWidget* owner, std::chrono::milliseconds timeLimit)
    : owner_(owner), endCheck_(std::make_unique<QTimer>()) {
    endCheck_->setInterval(200);
    QObject::connect(endCheck_.get(), &QTimer::timeout, [this] {
        if (!RunGoingOn()) EndOfRun();
    });
    limits_.emplace(timeLimit, [this] { return CancelRequested(); });
    hook_.emplace([this] { OnWait(); });
}

void ToolRunWatch::SetTimeLimit(std::chrono::milliseconds timeLimit) {
    limits_.reset();
    limits_.emplace(timeLimit, [this] { return CancelRequested(); });
}

ToolRunWatch::~ToolRunWatch() {
    hook_.reset();
    limits_.reset();
}

bool ToolRunWatch::RunGoingOn() const { return Clock::now() - lastWait_ < kRunGap; }

// A cancel holds for the run it was given in and for the runs of the same
// command that follow at once, not for a later command.
bool ToolRunWatch::CancelRequested() const { return cancelled_ && RunGoingOn(); }

void ToolRunWatch::OnWait() {
    const auto now = Clock::now();
    if (!RunGoingOn()) {
        runStart_ = now;
        cancelled_ = false;
    }
    lastWait_ = now;
    if (!dialog_ && now - runStart_ < kShowAfter) return;
    if (!dialog_) {
        dialog_ = ShowToolProgress(owner_, QStringLiteral("Waiting for Pandoc\u2026"), "toolProgress", &cancelled_);
        endCheck_->start();
    }
    QCoreApplication::processEvents();
}

void ToolRunWatch::EndOfRun() {
    endCheck_->stop();
    dialog_.reset();
    cancelled_ = false;
}

}  // namespace qorva
