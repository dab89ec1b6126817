// The user-interface thread's message loop over Qt's event loop: message filters
// see key events before they are delivered, and idle handlers run once per idle
// period when the loop is about to wait.
#pragma once

#include <QObject>

#include <vector>

namespace qorva {

class CMessageFilter {
public:
    virtual ~CMessageFilter() = default;
    // True when the filter took the event; it is then not delivered.
    virtual bool PreTranslateMessage(QObject* receiver, QEvent* event) = 0;
};

class CIdleHandler {
public:
    virtual ~CIdleHandler() = default;
    // True when more idle work is wanted.
    virtual bool OnIdle() = 0;
};

// Widgets whose key events reach the filters through their own key hook (the
// editor page) carry this property, so the filters see each key only once.
inline constexpr char kKeyHookProperty[] = "qorvaKeyHook";

class ChromiumMessageHandler : public QObject {
    Q_OBJECT
public:
    // Creates the loop and registers it for the current thread.
    ChromiumMessageHandler();
    // Unregisters it.
    ~ChromiumMessageHandler() override;

    // The loop registered for the calling thread, or nullptr.
    static ChromiumMessageHandler* Current();

    void AddMessageFilter(CMessageFilter* filter);
    void RemoveMessageFilter(CMessageFilter* filter);
    void AddIdleHandler(CIdleHandler* handler);
    void RemoveIdleHandler(CIdleHandler* handler);

    // Runs until the application quits; returns the exit code.
    int Run();

    // Asks the filters in turn; true when one took the event.
    bool PreTranslateMessage(QObject* receiver, QEvent* event);

    // Starts a new idle period, for activity that does not arrive as an event.
    void StartIdlePeriod() { idlePending_ = true; }

    // Runs the idle handlers now if an idle period is pending (called when the
    // loop is about to wait; exposed for tests).
    void RunIdleHandlers();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<CMessageFilter*> filters_;
    std::vector<CIdleHandler*> idleHandlers_;
    bool idlePending_ = true;
    bool inIdle_ = false;
    int runLevel_ = -1;
};

}  // namespace qorva
