#include "src/win/document/recovery_keeper.h"

#include <QPointer>

namespace qorva {

RecoveryWriter::RecoveryWriter(RecoverySlot slot) : slot_(std::move(slot)), thread_([this] { Run(); }) {}

RecoveryWriter::~RecoveryWriter() {
    {
        std::lock_guard guard(lock_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void RecoveryWriter::Write(RecoveryRecord record) {
    {
        std::lock_guard guard(lock_);
        pending_.emplace(std::move(record));
    }
    wake_.notify_all();
}

void RecoveryWriter::Remove() {
    {
        std::lock_guard guard(lock_);
        pending_.emplace(std::nullopt);
    }
    wake_.notify_all();
}

void RecoveryWriter::Flush() {
    std::unique_lock guard(lock_);
    done_.wait(guard, [this] { return !pending_ && !busy_; });
}

void RecoveryWriter::Run() {
    std::unique_lock guard(lock_);
    for (;;) {
        wake_.wait(guard, [this] { return pending_ || stopping_; });
        if (!pending_) return;  // stopping with nothing left to do
        std::optional<RecoveryRecord> request = std::move(*pending_);
        pending_.reset();
        busy_ = true;
        guard.unlock();
        try {
            if (request) {
                slot_.Write(*request);
            } else {
                slot_.Remove();
            }
        } catch (const std::exception&) {
            // A full or read-only disk: the document itself is untouched, and the
            // next change tries again.
        }
        guard.lock();
        busy_ = false;
        done_.notify_all();
    }
}

RecoveryKeeper::RecoveryKeeper(Document document, RecoverySlot slot, RecoveryTiming timing, QObject* parent)
    : QObject(parent), document_(std::move(document)), writer_(std::move(slot)) {
    pause_.setSingleShot(true);
    pause_.setInterval(timing.pause);
    longest_.setSingleShot(true);
    longest_.setInterval(timing.longest);
    connect(&pause_, &QTimer::timeout, this, &RecoveryKeeper::KeepNow);
    connect(&longest_, &QTimer::timeout, this, &RecoveryKeeper::KeepNow);
}

void RecoveryKeeper::DocumentChanged() {
    pause_.start();  // restarted by every change: fires once typing pauses
    if (!longest_.isActive()) longest_.start();  // not restarted: bounds the wait
}

void RecoveryKeeper::KeepNow() {
    pause_.stop();
    longest_.stop();
    if (!document_.isModified()) {
        writer_.Remove();
        return;
    }
    const std::uint64_t generation = ++generation_;
    document_.snapshot([keeper = QPointer<RecoveryKeeper>(this), generation](std::optional<RecoveryRecord> record) {
        if (!keeper || keeper->generation_ != generation || !record) return;
        keeper->writer_.Write(std::move(*record));
    });
}

void RecoveryKeeper::Discard() {
    ++generation_;
    pause_.stop();
    longest_.stop();
    writer_.Remove();
}

void RecoveryKeeper::DocumentReplaced(const std::string&) {
    // A restored document is kept at once: it exists nowhere else.
    if (document_.isModified()) {
        KeepNow();
    } else {
        Discard();
    }
}

}  // namespace qorva
