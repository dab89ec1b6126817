// Script calls and waits in the program's engine, shared by the engine smoke test and benchmark.
#pragma once

#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QWebEnginePage>

#include <memory>

// Runs a script and waits for its result, as the shell's page calls do; an
// invalid value when no answer came within the time limit. A late answer lands
// in state that outlives this call, not in a dead stack frame.
inline QVariant RunInPage(QWebEnginePage* page, const QString& script, int timeoutMs) {
  auto answer = std::make_shared<QVariant>();
  QEventLoop loop;
  QPointer<QEventLoop> waiting(&loop);
  page->runJavaScript(script, [answer, waiting](const QVariant& value) {
    *answer = value;
    if (waiting) waiting->quit();
  });
  QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
  loop.exec();
  return *answer;
}

inline void WaitInEventLoop(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}
