// The assembled editor page inside the program's own engine (Qt WebEngine,
// an older Chromium than Debian's browser): it loads from file://, runs its
// script, takes typed keys through the real key path, and prints a long document.
// Usage: page_engine_smoke PAGE.html   (exit 0 when every check holds)
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest/QTest>

#include "tests/page/engine_page_calls.h"

#include <cstdio>

namespace {

int failures = 0;

void expect(const char* what, const QString& actual, const QString& expected) {
  if (actual == expected) {
    std::printf("ok   %s\n", what);
    return;
  }
  std::printf("FAIL %s\n     expected %s\n     actual   %s\n", what, qPrintable(expected), qPrintable(actual));
  ++failures;
}

QString toolOutput(const QString& tool, const QStringList& arguments) {
  QProcess process;
  process.start(tool, arguments);
  process.waitForFinished(60000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PAGE.html\n", argv[0]);
    return 2;
  }
  QApplication app(argc, argv);
  QWebEngineView view;
  view.resize(900, 700);
  view.show();
  bool loaded = false;
  QEventLoop loading;
  QObject::connect(&view, &QWebEngineView::loadFinished, [&](bool ok) {
    loaded = ok;
    loading.quit();
  });
  view.load(QUrl::fromLocalFile(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath()));
  QTimer::singleShot(30000, &loading, &QEventLoop::quit);
  loading.exec();
  if (!loaded) {
    std::printf("FAIL the page did not load\n");
    return 1;
  }
  QWebEnginePage* page = view.page();
  const auto run = [page](const QString& script) { return RunInPage(page, script, 60000).toString(); };

  expect("the script ran and the page starts empty", run("getTextJson()"), "[\"text\"]");
  run("setTextJson('[\"text\",[\"para\",{\"level\":0},[\"plain\",\"Hello world\"]]]'); editor.setCaret(Point(0, 0, 5)); ''");
  // Typed through the real key path: Qt key events to the view's focus proxy.
  QWidget* target = view.focusProxy() ? view.focusProxy() : &view;
  target->setFocus();
  WaitInEventLoop(200);
  QTest::keyClicks(target, ",x");
  WaitInEventLoop(300);
  expect("typed keys land at the caret", run("getTextJson()"), "[\"text\",[\"para\",{\"level\":0},[\"plain\",\"Hello,x world\"]]]");
  run("setTextJson('[\"text\",[\"para\",{\"level\":0}]]'); editor.setCaret(Point(0, 0, 0)); ''");
  QTest::keyClicks(target, "1. item");
  WaitInEventLoop(300);
  expect("the autoformat on space makes a numbered item", run("getTextJson()"), "[\"text\",[\"numbered\",{\"level\":0},[\"plain\",\"item\"]]]");

  // Blocks out of view are skipped by layout and paint, yet typing far down
  // lands in order and printing gives every paragraph and the image at the end
  // (fetched only when near the viewport or printed).
  QTemporaryDir folder;
  QFile image(folder.filePath(QStringLiteral("far.png")));
  image.open(QIODevice::WriteOnly);
  image.write(QByteArray::fromBase64("iVBORw0KGgoAAAANSUhEUgAAAAIAAAACCAIAAAD91JpzAAAAFklEQVR4nGP8z8DAwMDAxMDAwMDAAAANHQEDasKb6QAAAABJRU5ErkJggg=="));
  image.close();
  run(QString("setBaseUrl('%1/');").arg(QUrl::fromLocalFile(folder.path()).toString()) +
      "const blocks = ['text'];"
      "for (let i = 1; i <= 3000; i++) blocks.push(['para', {level: 0}, ['plain', 'Paragraph ' + i]]);"
      "blocks.push(['image', {level: 0}, ['url', 'far.png']]);"
      "setTextJson(JSON.stringify(blocks)); editor.setCaret(Point(2999, 0, 14)); ''");
  WaitInEventLoop(300);
  QTest::keyClicks(target, " end");
  WaitInEventLoop(300);
  const QString model = run("getTextJson()");
  expect("typing at the end of a long document", model.contains("\"Paragraph 3000 end\"") ? "typed" : model.right(120), "typed");
  expect("the caret stays after the typed text", run("JSON.stringify(editor.getSelection().focus)"), "{\"block\":2999,\"span\":0,\"offset\":18}");

  const QString pdf = folder.filePath(QStringLiteral("long.pdf"));
  QEventLoop printing;
  QObject::connect(page, &QWebEnginePage::pdfPrintingFinished, &printing, &QEventLoop::quit);
  page->printToPdf(pdf);
  QTimer::singleShot(60000, &printing, &QEventLoop::quit);
  printing.exec();
  // Each span's text sits between zero-width spaces.
  const QString printed = toolOutput(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).remove(QChar(0x200B));
  expect("printing gives the first, a middle and the last paragraph",
         QStringList{printed.contains("Paragraph 1\n") ? "first" : "-", printed.contains("Paragraph 1500\n") ? "middle" : "-",
                     printed.contains("Paragraph 3000 end") ? "last" : "-"}.join(' '),
         "first middle last");
  const QRegularExpression twoByTwoImage("\\n\\s*\\d+\\s+\\d+\\s+image\\s+2\\s+2\\s");
  expect("printing gives the image at the end",
         toolOutput(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).contains(twoByTwoImage) ? "image" : "none", "image");
  return failures == 0 ? 0 : 1;
}
