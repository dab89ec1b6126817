// The assembled editor page inside the program's own engine (Qt WebEngine,
// an older Chromium than Debian's browser): it loads from file://, runs its
// script, takes typed keys through the real key path and edits.
// Usage: page_engine_smoke PAGE.html   (exit 0 when every check holds)
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest/QTest>

#include "tests/page/engine_page_calls.h"

#include <cstdio>
#include <string>

namespace {

QVariant run(QWebEnginePage* page, const QString& script) { return RunInPage(page, script, 60000); }
void wait(int ms) { WaitInEventLoop(ms); }

int failures = 0;

void expect(const char* what, const QString& actual, const QString& expected) {
  if (actual == expected) {
    std::printf("ok   %s\n", what);
  } else {
    std::printf("FAIL %s\n     expected %s\n     actual   %s\n", what, expected.toStdString().c_str(),
                actual.toStdString().c_str());
    ++failures;
  }
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

  expect("the script ran and the page starts empty", run(page, "getTextJson()").toString(), "[\"text\"]");
  run(page, "setTextJson('[\"text\",[\"para\",{\"level\":0},[\"plain\",\"Hello world\"]]]');"
            "editor.setCaret(Point(0, 0, 5)); true");

  // Typed through the real key path: Qt key events to the view's focus proxy.
  QWidget* target = view.focusProxy() ? view.focusProxy() : &view;
  target->setFocus();
  wait(200);
  QTest::keyClicks(target, ",x");
  wait(300);
  expect("typed keys land at the caret", run(page, "getTextJson()").toString(),
         "[\"text\",[\"para\",{\"level\":0},[\"plain\",\"Hello,x world\"]]]");

  run(page, "insertNewline(); true");
  expect("Enter splits the paragraph", run(page, "getTextJson()").toString(),
         "[\"text\",[\"para\",{\"level\":0},[\"plain\",\"Hello,x\"]],[\"para\",{\"level\":0},[\"plain\",\" world\"]]]");
  run(page, "deleteBackward(); true");
  expect("Backspace joins it again", run(page, "getTextJson()").toString(),
         "[\"text\",[\"para\",{\"level\":0},[\"plain\",\"Hello,x world\"]]]");
  QTest::keyClicks(target, "- ");
  wait(200);
  // The two typed characters are one step, then the join.
  run(page, "undo(); undo(); true");
  expect("undo walks back through the edits", run(page, "getTextJson()").toString(),
         "[\"text\",[\"para\",{\"level\":0},[\"plain\",\"Hello,x\"]],[\"para\",{\"level\":0},[\"plain\",\" world\"]]]");
  run(page, "setTextJson('[\"text\",[\"para\",{\"level\":0}]]'); editor.setCaret(Point(0, 0, 0)); true");
  QTest::keyClicks(target, "1. item");
  wait(300);
  expect("the autoformat on space makes a numbered item", run(page, "getTextJson()").toString(),
         "[\"text\",[\"numbered\",{\"level\":0},[\"plain\",\"item\"]]]");

  // A long document: blocks out of view are skipped by layout and paint, yet
  // typing far down lands in order and printing gives every paragraph and the
  // image at the end (a 2 x 2 PNG in the document's folder, fetched only when
  // near the viewport or printed).
  QTemporaryDir folder;
  QFile image(folder.filePath(QStringLiteral("far.png")));
  image.open(QIODevice::WriteOnly);
  image.write(QByteArray::fromBase64("iVBORw0KGgoAAAANSUhEUgAAAAIAAAACCAIAAAD91JpzAAAAFklEQVR4nGP8z8DAwMDAxMDAwMDAAAANHQEDasKb6QAAAABJRU5ErkJggg=="));
  image.close();
  run(page, QString("setBaseUrl('%1/');").arg(QUrl::fromLocalFile(folder.path()).toString()) +
            "const blocks = ['text'];"
            "for (let i = 1; i <= 3000; i++) blocks.push(['para', {level: 0}, ['plain', 'Paragraph ' + i]]);"
            "blocks.push(['image', {level: 0}, ['url', 'far.png']]);"
            "setTextJson(JSON.stringify(blocks)); editor.setCaret(Point(2999, 0, 14)); true");
  wait(300);
  QTest::keyClicks(target, " end");
  wait(300);
  expect("typing at the end of a long document", run(page, "editor.getBlockSpans(2999)[0].Text").toString(),
         "Paragraph 3000 end");
  expect("the caret stays after the typed text", run(page, "JSON.stringify(editor.getSelection().focus)").toString(),
         "{\"block\":2999,\"span\":0,\"offset\":18}");

  const QString pdf = folder.filePath(QStringLiteral("long.pdf"));
  QEventLoop printing;
  QObject::connect(page, &QWebEnginePage::pdfPrintingFinished, &printing, &QEventLoop::quit);
  page->printToPdf(pdf);
  QTimer::singleShot(60000, &printing, &QEventLoop::quit);
  printing.exec();
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
  text.waitForFinished(60000);
  // Each span's text sits between zero-width spaces.
  const QString printed = QString::fromUtf8(text.readAllStandardOutput()).remove(QChar(0x200B));
  expect("printing gives the first, a middle and the last paragraph",
         QStringList{printed.contains("Paragraph 1\n") ? "first" : "-",
                     printed.contains("Paragraph 1500\n") ? "middle" : "-",
                     printed.contains("Paragraph 3000 end") ? "last" : "-"}
             .join(' '),
         "first middle last");
  QProcess images;
  images.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
  images.waitForFinished(60000);
  expect("printing gives the image at the end",
         QString::fromUtf8(images.readAllStandardOutput()).contains(QRegularExpression("\\n\\s*\\d+\\s+\\d+\\s+image\\s+2\\s+2\\s"))
             ? "image" : "none", "image");
  return failures == 0 ? 0 : 1;
}
