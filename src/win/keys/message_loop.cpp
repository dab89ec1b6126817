#include "src/win/keys/message_loop.h"

#include "src/win/keys/idle_rule.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>
#include <QVariant>

#include <algorithm>
#include <map>
#include <mutex>
#include <thread>

namespace qorva {
namespace {

std::mutex gRegistryLock;
std::map<std::thread::id, ChromiumMessageHandler*>& Registry() {
    static std::map<std::thread::id, ChromiumMessageHandler*> loops;
    return loops;
}

bool IsKeyEvent(QEvent::Type type) {
    return type == QEvent::KeyPress || type == QEvent::KeyRelease;
}

}  // namespace

ChromiumMessageHandler::ChromiumMessageHandler() {
    {
        std::lock_guard lock(gRegistryLock);
        Registry()[std::this_thread::get_id()] = this;
    }
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &ChromiumMessageHandler::RunIdleHandlers);
    }
}

ChromiumMessageHandler::~ChromiumMessageHandler() {
    std::lock_guard lock(gRegistryLock);
    auto found = Registry().find(std::this_thread::get_id());
    if (found != Registry().end() && found->second == this) Registry().erase(found);
}

ChromiumMessageHandler* ChromiumMessageHandler::Current() {
    std::lock_guard lock(gRegistryLock);
    auto found = Registry().find(std::this_thread::get_id());
    return found == Registry().end() ? nullptr : found->second;
}

void ChromiumMessageHandler::AddMessageFilter(CMessageFilter* filter) { filters_.push_back(filter); }
void ChromiumMessageHandler::RemoveMessageFilter(CMessageFilter* filter) {
    std::erase(filters_, filter);
}
void ChromiumMessageHandler::AddIdleHandler(CIdleHandler* handler) {
    idleHandlers_.push_back(handler);
}
void ChromiumMessageHandler::RemoveIdleHandler(CIdleHandler* handler) {
    std::erase(idleHandlers_, handler);
}

int ChromiumMessageHandler::Run() {
    // Idle handlers belong to this loop only, not to the short loops that wait
    // for a page call or run a modal dialog.
    runLevel_ = QThread::currentThread()->loopLevel() + 1;
    const int result = QCoreApplication::exec();
    runLevel_ = -1;
    return result;
}

bool ChromiumMessageHandler::PreTranslateMessage(QObject* receiver, QEvent* event) {
    // A copy, since a filter may remove itself while it runs.
    const std::vector<CMessageFilter*> filters = filters_;
    return std::any_of(filters.begin(), filters.end(), [&](CMessageFilter* filter) {
        return filter->PreTranslateMessage(receiver, event);
    });
}

void ChromiumMessageHandler::RunIdleHandlers() {
    if (!idlePending_ || inIdle_) return;
    if (runLevel_ >= 0 && QThread::currentThread()->loopLevel() != runLevel_) return;
    inIdle_ = true;
    idlePending_ = false;
    bool more = false;
    const std::vector<CIdleHandler*> handlers = idleHandlers_;
    for (CIdleHandler* handler : handlers) more = handler->OnIdle() || more;
    if (more) idlePending_ = true;
    inIdle_ = false;
}

bool ChromiumMessageHandler::eventFilter(QObject* watched, QEvent* event) {
    if (StartsIdlePeriod(event->type())) idlePending_ = true;
    if (!IsKeyEvent(event->type()) || !watched->isWidgetType()) return false;
    if (watched->property(kKeyHookProperty).toBool()) return false;
    return PreTranslateMessage(watched, event);
}

}  // namespace qorva
