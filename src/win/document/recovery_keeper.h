// Keeps the window's recovery file while its document has unsaved changes: a
// copy of the model is taken a little after typing pauses, and at least every
// 30 seconds while the changes go on; a save, a reload or a clean close removes
// it. Only the copy is taken on the user-interface thread; the file is written
// on a thread of its own, so the disk never holds up typing.
#pragma once

#include "src/win/document/document_file_observer.h"
#include "src/win/document/recovery_store.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace qorva {

// Runs the slot's writes and removals one after another on its own thread; a
// request still waiting is replaced by a newer one, since only the last counts.
class RecoveryWriter {
public:
    explicit RecoveryWriter(RecoverySlot slot);
    // Finishes the request still waiting, then stops.
    ~RecoveryWriter();

    void Write(RecoveryRecord record);
    void Remove();
    // Blocks until every request so far is done (for tests and benchmarks).
    void Flush();
    const std::string& file() const { return slot_.file(); }

private:
    void Run();

    RecoverySlot slot_;
    std::mutex lock_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::optional<std::optional<RecoveryRecord>> pending_;  // inner nothing: remove
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

// When a copy is taken.
struct RecoveryTiming {
    std::chrono::milliseconds pause{2000};     // after the last change
    std::chrono::milliseconds longest{30000};  // after the first change not yet kept
};

class RecoveryKeeper : public QObject, public DocumentFileObserver {
    Q_OBJECT
public:
    struct Document {
        std::function<bool()> isModified;
        // Asks for the record to keep, model included; `take` receives it later,
        // or nothing when the page gave no model.
        using Take = std::function<void(std::optional<RecoveryRecord>)>;
        std::function<void(Take take)> snapshot;
    };

    RecoveryKeeper(Document document, RecoverySlot slot, RecoveryTiming timing = {}, QObject* parent = nullptr);

    // The page reported a change.
    void DocumentChanged();
    // Asks for a copy now (the timers call this); it is written when it comes.
    void KeepNow();
    // Writes a record the caller already holds (a restored one).
    void Keep(RecoveryRecord record) { writer_.Write(std::move(record)); }
    // The document goes away without being saved on purpose (a clean close).
    void Discard();
    void Flush() { writer_.Flush(); }
    const std::string& file() const { return writer_.file(); }
    // A copy will be asked for when a timer runs out.
    bool CopyDue() const { return pause_.isActive() || longest_.isActive(); }

    // DocumentFileObserver
    void FileLoaded(const std::string&) override { Discard(); }
    void FileSaved(const std::string&) override { Discard(); }
    void DocumentReplaced(const std::string&) override;

private:
    Document document_;
    RecoveryWriter writer_;
    QTimer pause_;
    QTimer longest_;
    // A copy asked for before a save or discard must not bring the file back.
    std::uint64_t generation_ = 0;
};

}  // namespace qorva
