// Times the editor page inside the program's own engine (Qt WebEngine, off
// screen) on generated documents, with the same steps as page-bench.mjs.
// Usage: page_engine_bench PAGE.html GENERATOR.mjs [BLOCKS...]
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest/QTest>

#include "tests/page/engine_page_calls.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

QVariant run(QWebEnginePage* page, const QString& script) { return RunInPage(page, script, 600000); }
void wait(int ms) { WaitInEventLoop(ms); }

constexpr int kRounds = 7;

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// Runs `prepare`, then times `step` (and the layout after it) in the page.
double timed(QWebEnginePage* page, const QString& prepare, const QString& step, const QString& after) {
  std::vector<double> times;
  for (int r = 0; r < kRounds; ++r) {
    times.push_back(run(page, QString("(function(t){%1; void document.body.offsetHeight;"
                                      "const t0 = performance.now(); %2; void document.body.offsetHeight;"
                                      "const d = performance.now() - t0; %3; return d;})(window.benchTarget)")
                                  .arg(prepare, step, after))
                        .toDouble());
  }
  return median(times);
}

std::map<std::string, double> measure(QWebEngineView& view, const QString& generator, int blocks) {
  QWebEnginePage* page = view.page();
  std::map<std::string, double> f;
  run(page, generator + QString("; window.benchJson = JSON.stringify(generateDocument(%1)); setTextJson(window.benchJson);"
                                "window.benchTarget = -1;"
                                "for (let i = Math.floor(%1 / 2); i < editor.getBlockCount() - 1; i++) {"
                                "  if (editor.getBlockType(i) === 'Plain' && editor.getBlockType(i - 1) === 'Plain' &&"
                                "      editor.getBlockLevel(i) === 0 && editor.getBlockLevel(i - 1) === 0 &&"
                                "      !editor.isBlockEmpty(i - 1)) { window.benchTarget = i; break; } } true")
                        .arg(blocks));
  f["load"] = timed(page, "", "setTextJson(window.benchJson)", "");
  f["save"] = timed(page, "", "getTextJson()", "");
  f["enter"] = timed(page, "editor.setCaret(Point(t, 0, 4))", "insertNewline()", "");
  f["undo"] = timed(page, "", "undo()", "");
  f["redo"] = timed(page, "", "redo()", "undo()");
  f["backspace"] = timed(page, "editor.setCaret(Point(t, 0, 0))", "deleteBackward()", "undo()");
  f["rerender"] = timed(page, "", "editor._rebuild()", "");

  // A typed character through the real key path, timed in the page from the
  // text event to laid-out text.
  run(page, "editor.setCaret(Point(window.benchTarget, 0, 3)); window.benchTyping = [];"
            "document.addEventListener('textInput', () => { window.benchKeyStart = performance.now(); }, true);"
            "editor.root.addEventListener('textInput', () => { void document.body.offsetHeight;"
            "  window.benchTyping.push(performance.now() - window.benchKeyStart); }); true");
  QWidget* target = view.focusProxy() ? view.focusProxy() : &view;
  target->setFocus();
  for (int r = 0; r < kRounds; ++r) {
    QTest::keyClick(target, 'x');
    wait(30);
  }
  std::vector<double> typing;
  for (const QVariant& v : run(page, "window.benchTyping").toList()) typing.push_back(v.toDouble());
  f["type"] = median(typing);
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s PAGE.html GENERATOR.mjs [BLOCKS...]\n", argv[0]);
    return 2;
  }
  QApplication app(argc, argv);
  QFile file(QString::fromLocal8Bit(argv[2]));
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "cannot read %s\n", argv[2]);
    return 1;
  }
  // The generator is an ES module; its functions are used as plain script.
  const QString generator = QString::fromUtf8(file.readAll()).replace("export function", "function");
  std::vector<int> sizes;
  for (int i = 3; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {1000, 10000};

  QWebEngineView view;
  view.resize(900, 700);
  view.show();
  std::vector<std::map<std::string, double>> results;
  for (int blocks : sizes) {
    QEventLoop loading;
    QObject::connect(&view, &QWebEngineView::loadFinished, &loading, &QEventLoop::quit);
    view.load(QUrl::fromLocalFile(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath()));
    loading.exec();
    results.push_back(measure(view, generator, blocks));
    std::fprintf(stderr, "measured %d blocks:", blocks);
    for (const auto& [key, value] : results.back()) std::fprintf(stderr, " %s %.1f", key.c_str(), value);
    std::fprintf(stderr, "\n");
  }
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"load", "setTextJson + layout"}, {"save", "getTextJson"}, {"type", "typed character + layout"},
      {"enter", "Enter in the middle + layout"}, {"backspace", "Backspace joining + layout"},
      {"undo", "undo + layout"}, {"redo", "redo + layout"}, {"rerender", "reference: full re-render + layout"}};
  std::printf("Qt WebEngine, median ms          ");
  for (int blocks : sizes) std::printf("%9d blocks", blocks);
  std::printf("   ratio last/first\n");
  for (const auto& [key, label] : rows) {
    std::printf("%-33s", label.c_str());
    for (const auto& f : results) std::printf("%16.1f", f.at(key));
    const double first = results.front().at(key);
    std::printf("%19.2f\n", first > 0 ? results.back().at(key) / first : 0.0);
  }
  return 0;
}
