// Times the editor page inside the program's own engine (Qt WebEngine, off
// screen) on generated documents: opening the page, each editing step from the call (or the key)
// until the first frame after it has been painted, loading until painted,
// saving, the first search after loading, and the renderer's memory.
// Several assembled pages can be compared side by side in one run, each as a
// ratio to the first (bench/page/reference-page.sh builds the page of an
// earlier commit to compare with).
// Usage: page_engine_bench PAGE.html [PAGE.html ...] GENERATOR.mjs [--formulas] [BLOCKS...]
// (--formulas: a formula in one block in five, code in a language in one in twenty)
// With QORVA_BENCH_SPELLING naming a folder that holds en-US.bdic, the page is
// spell-checked as in the program, for the cost of checking.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QtTest/QTest>

#include "tests/page/engine_page_calls.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

QVariant run(QWebEnginePage* page, const QString& script) { return RunInPage(page, script, 600000); }
void wait(int ms) { WaitInEventLoop(ms); }

// Fewer rounds for the largest documents, where one step of an old page can take seconds.
int kRounds = 7;
QString gGeneratorOptions = "{}";
constexpr int kQuietMs = 300;

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// Starts the clock and notes the time when the first frame after it is done
// (a task posted from the frame's animation callback runs once it is painted).
const char* kArm =
    "window.benchPainted = -1; window.benchStart = performance.now();"
    "requestAnimationFrame(() => { const c = new MessageChannel();"
    "  c.port1.onmessage = () => { window.benchPainted = performance.now() - window.benchStart; };"
    "  c.port2.postMessage(0); });";

double waitForPainted(QWebEnginePage* page) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 600000) {
    const double painted = run(page, "window.benchPainted").toDouble();
    if (painted >= 0) return painted;
    wait(2);
  }
  return -1;
}

// Runs `prepare`, lets the page settle, then times `step` until painted, then runs `after`.
double untilPainted(QWebEnginePage* page, const QString& prepare, const QString& step, const QString& after) {
  run(page, QString("(function(t){%1; return true;})(window.benchTarget)").arg(prepare));
  wait(kQuietMs);
  run(page, QString("(function(t){%1 %2; return true;})(window.benchTarget)").arg(kArm, step));
  const double painted = waitForPainted(page);
  run(page, QString("(function(t){%1; return true;})(window.benchTarget)").arg(after));
  return painted;
}

double rounds(QWebEnginePage* page, const QString& prepare, const QString& step, const QString& after) {
  std::vector<double> times;
  for (int r = 0; r < kRounds; ++r) times.push_back(untilPainted(page, prepare, step, after));
  return median(times);
}

// Proportional set size of this process's renderers, in MB: descendants started
// with --type=renderer, or forked by a zygote (which keep the zygote's command line).
double rendererMemoryMb() {
  std::map<int, std::vector<int>> children;
  for (const QString& name : QDir("/proc").entryList(QDir::Dirs)) {
    bool number = false;
    const int pid = name.toInt(&number);
    if (!number) continue;
    QFile stat("/proc/" + name + "/stat");
    if (!stat.open(QIODevice::ReadOnly)) continue;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() > 1) children[fields[1].toInt()].push_back(pid);
  }
  double kb = 0;
  std::vector<int> pending = {static_cast<int>(getpid())};
  while (!pending.empty()) {
    const int pid = pending.back();
    pending.pop_back();
    QFile parentCmdline(QString("/proc/%1/cmdline").arg(pid));
    const bool parentIsZygote = parentCmdline.open(QIODevice::ReadOnly) && parentCmdline.readAll().contains("--type=zygote");
    for (int child : children[pid]) {
      pending.push_back(child);
      QFile cmdline(QString("/proc/%1/cmdline").arg(child));
      if (!cmdline.open(QIODevice::ReadOnly)) continue;
      if (!parentIsZygote && !cmdline.readAll().contains("--type=renderer")) continue;
      QFile smaps(QString("/proc/%1/smaps_rollup").arg(child));
      if (!smaps.open(QIODevice::ReadOnly)) continue;
      for (const QByteArray& line : smaps.readAll().split('\n')) {
        if (line.startsWith("Pss:")) kb += line.mid(4).trimmed().split(' ').first().toDouble();
      }
    }
  }
  return kb / 1024;
}

// Opening the page (parsing and starting its script) until its first frame is
// painted: the median over fresh views, in ms.
double openPage(const QString& path) {
  std::vector<double> times;
  for (int r = 0; r < kRounds; ++r) {
    QWebEngineView view;
    view.resize(900, 700);
    view.show();
    QEventLoop loading;
    QObject::connect(&view, &QWebEngineView::loadFinished, &loading, &QEventLoop::quit);
    QElapsedTimer timer;
    timer.start();
    view.load(QUrl::fromLocalFile(path));
    loading.exec();
    // The time from the start of navigation (the page's time origin) to the
    // frame after loading; the view's own set-up before it is left out.
    run(view.page(), QString("window.benchPainted = -1;"
                             "requestAnimationFrame(() => { const c = new MessageChannel();"
                             "  c.port1.onmessage = () => { window.benchPainted = performance.now(); };"
                             "  c.port2.postMessage(0); }); true"));
    times.push_back(waitForPainted(view.page()));
  }
  return median(times);
}

std::map<std::string, double> measure(QWebEngineView& view, const QString& generator, int blocks) {
  QWebEnginePage* page = view.page();
  kRounds = blocks >= 50000 ? 3 : 7;
  std::map<std::string, double> f;
  run(page, generator + QString("; window.benchJson = JSON.stringify(generateDocument(%1, %2)); true").arg(blocks).arg(gGeneratorOptions));
  wait(kQuietMs);
  f["load"] = untilPainted(page, "", "setTextJson(window.benchJson)", "");
  f["memory"] = rendererMemoryMb();
  f["save"] = run(page, "(function(){ const t0 = performance.now(); getTextJson(); return performance.now() - t0; })()").toDouble();
  // A word near the end of a freshly loaded document, searched from the top.
  f["search"] = untilPainted(page, QString("setTextJson(window.benchJson); const near = %1 - Math.floor(%1 / 20);"
                                           "const spans = editor.getBlockSpans(near);"
                                           "spans[spans.length - 1].Text += ' zanzibar'; editor.setBlockSpans(near, spans);"
                                           "editor.setCaret(Point(0, 0, 0)); prepareSearch()")
                                       .arg(blocks),
                             "startSearch('zanzibar')", "");
  run(page, QString("setTextJson(window.benchJson); window.benchTarget = -1;"
                    "for (let i = Math.floor(%1 / 2); i < editor.getBlockCount() - 1; i++) {"
                    "  if (editor.getBlockType(i) === 'Plain' && editor.getBlockType(i - 1) === 'Plain' &&"
                    "      editor.getBlockLevel(i) === 0 && editor.getBlockLevel(i - 1) === 0 &&"
                    "      !editor.isBlockEmpty(i - 1)) { window.benchTarget = i; break; } } true")
                .arg(blocks));
  f["enter"] = rounds(page, "editor.setCaret(Point(t, 0, 4))", "insertNewline()", "undo()");
  f["backspace"] = rounds(page, "editor.setCaret(Point(t, 0, 0))", "deleteBackward()", "undo()");
  f["undo"] = rounds(page, "editor.setCaret(Point(t, 0, 4)); insertNewline()", "undo()", "");
  f["redo"] = rounds(page, "editor.setCaret(Point(t, 0, 4)); insertNewline(); undo()", "redo()", "undo()");
  f["paragraph"] = rounds(page, "editor.setCaret(Point(t, 0, 4))", "styleParagraphQuotation()", "undo()");
  f["character"] = rounds(page, "editor.setCaret(Point(t, 0, 2))", "styleWordStrong()", "undo()");

  // A typed character through the real key path, the clock started by the key.
  QWidget* target = view.focusProxy() ? view.focusProxy() : &view;
  target->setFocus();
  std::vector<double> typing;
  for (int r = 0; r < kRounds; ++r) {
    run(page, QString("editor.setCaret(Point(window.benchTarget, 0, 3)); window.benchPainted = -1;"
                      "document.addEventListener('keydown', () => { %1 }, { capture: true, once: true }); true")
                  .arg(kArm));
    wait(kQuietMs);
    QTest::keyClick(target, 'x');
    typing.push_back(waitForPainted(page));
  }
  f["type"] = median(typing);
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  const QByteArray dictionaries = qgetenv("QORVA_BENCH_SPELLING");
  if (!dictionaries.isEmpty()) qputenv("QTWEBENGINE_DICTIONARIES_PATH", dictionaries);
  QApplication app(argc, argv);
  if (!dictionaries.isEmpty()) {
    QWebEngineProfile::defaultProfile()->setSpellCheckLanguages({QStringLiteral("en-US")});
    QWebEngineProfile::defaultProfile()->setSpellCheckEnabled(true);
  }
  QStringList pages;
  QString generatorPath;
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) {
    const QString arg = QString::fromLocal8Bit(argv[i]);
    if (arg.endsWith(".html")) pages << QFileInfo(arg).absoluteFilePath();
    else if (arg.endsWith(".mjs")) generatorPath = arg;
    else if (arg == "--formulas") gGeneratorOptions = "{ formulas: true }";
    else sizes.push_back(arg.toInt());
  }
  QFile file(generatorPath);
  if (pages.isEmpty() || !file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "usage: %s PAGE.html [PAGE.html ...] GENERATOR.mjs [--formulas] [BLOCKS...]\n", argv[0]);
    return 2;
  }
  // The generator is an ES module; its functions are used as plain script.
  const QString generator = QString::fromUtf8(file.readAll()).replace("export function", "function");
  if (sizes.empty()) sizes = {1000, 10000};

  const std::vector<std::pair<std::string, std::string>> rows = {
      {"open", "page opened until painted"}, {"load", "setTextJson until painted"}, {"save", "getTextJson"}, {"search", "first search after load"},
      {"type", "typed character"}, {"enter", "Enter in the middle"}, {"backspace", "Backspace joining"},
      {"undo", "undo"}, {"redo", "redo"}, {"paragraph", "paragraph style (Quotation)"},
      {"character", "character style (Strong)"}, {"memory", "renderer memory, MB"}};
  std::printf("Qt WebEngine, median ms until painted (memory in MB)\n");
  for (int p = 0; p < pages.size(); ++p) std::printf("  [%d] %s\n", p + 1, qPrintable(pages[p]));
  // The engine's first page of the run pays for starting up; a small document
  // measured in a view of its own and thrown away takes that on.
  {
    QWebEngineView view;
    view.resize(900, 700);
    view.show();
    QEventLoop loading;
    QObject::connect(&view, &QWebEngineView::loadFinished, &loading, &QEventLoop::quit);
    view.load(QUrl::fromLocalFile(pages.front()));
    loading.exec();
    measure(view, generator, 200);
  }
  for (int blocks : sizes) {
    std::vector<std::map<std::string, double>> results;
    for (const QString& path : pages) {
      // A fresh view for each page, so that one page's memory is not counted for the next.
      QWebEngineView view;
      view.resize(900, 700);
      view.show();
      QEventLoop loading;
      QObject::connect(&view, &QWebEngineView::loadFinished, &loading, &QEventLoop::quit);
      view.load(QUrl::fromLocalFile(path));
      loading.exec();
      results.push_back(measure(view, generator, blocks));
      results.back()["open"] = openPage(path);
    }
    std::printf("%d blocks%25s", blocks, "");
    for (int p = 0; p < pages.size(); ++p) std::printf("%10s", qPrintable(QString("[%1]").arg(p + 1)));
    for (int p = 1; p < pages.size(); ++p) std::printf("%9s", qPrintable(QString("[%1]/[1]").arg(p + 1)));
    std::printf("\n");
    for (const auto& [key, label] : rows) {
      std::printf("  %-31s", label.c_str());
      for (const auto& f : results) std::printf("%10.1f", f.at(key));
      for (size_t p = 1; p < results.size(); ++p) std::printf("%9.2f", results[p].at(key) / results.front().at(key));
      std::printf("\n");
    }
    std::fflush(stdout);
  }
  return 0;
}
