// The assembled editor page inside the program's own engine (Qt WebEngine,
// an older Chromium than Debian's browser): it loads from file://, runs its
// script, takes typed keys through the real key path, and prints a long document
// with a typeset formula and coloured code at its end.
// Usage: page_engine_smoke PAGE.html   (exit 0 when every check holds)
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest/QTest>

#include "tests/page/engine_page_calls.h"

#include <cstdio>

namespace {

int failures = 0;

void expect(const char* what, bool holds, const QString& seen) {
  std::printf(holds ? "ok   %s\n" : "FAIL %s\n     seen: %s\n", what, qPrintable(seen.left(300)));
  if (!holds) ++failures;
}

QString toolOutput(const QString& tool, const QStringList& arguments) {
  QProcess process;
  process.start(tool, arguments);
  process.waitForFinished(60000);
  return QString::fromUtf8(process.readAllStandardOutput()) + QString::fromUtf8(process.readAllStandardError());
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
  view.load(QUrl::fromLocalFile(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath()));
  QSignalSpy(&view, &QWebEngineView::loadFinished).wait(30000);
  QWebEnginePage* page = view.page();
  const auto run = [page](const QString& script) { return RunInPage(page, script, 60000).toString(); };
  // Typed through the real key path: Qt key events to the view's focus proxy.
  QWidget* target = view.focusProxy() ? view.focusProxy() : &view;
  const auto type = [target](const QString& keys) {
    QTest::keyClicks(target, keys);
    WaitInEventLoop(300);
  };

  // Blocks out of view are skipped by layout and paint, yet typing far down
  // lands in order and printing gives every paragraph and the image at the end
  // (fetched only when near the viewport or printed).
  QTemporaryDir folder;
  QFile image(folder.filePath(QStringLiteral("far.png")));
  image.open(QIODevice::WriteOnly);
  image.write(QByteArray::fromBase64("iVBORw0KGgoAAAANSUhEUgAAAAIAAAACCAIAAAD91JpzAAAAFklEQVR4nGP8z8DAwMDAxMDAwMDAAAANHQEDasKb6QAAAABJRU5ErkJggg=="));
  image.close();
  // The last base URL set is the one images resolve against.
  run(QString("setBaseUrl('file:///nonexistent/'); setBaseUrl('%1/');")
          .arg(QUrl::fromLocalFile(folder.path()).toString()) +
      "const blocks = ['text'];"
      "for (let i = 1; i <= 3000; i++) blocks.push(['para', {level: 0}, ['plain', 'Paragraph ' + i]]);"
      "blocks.push(['image', {level: 0}, ['url', 'far.png']], ['para', {level: 0}, ['plain', 'Formula '], ['math', '\\\\sqrt{\\\\pi}']],"
      "  ['verbatim', {level: 0, info: 'js'}, ['plain', 'const far = 1;']]);"
      "setTextJson(JSON.stringify(blocks)); goToBlock(2999); moveToEndOfParagraph(); ''");
  target->setFocus();
  WaitInEventLoop(200);
  type(" end");
  const QString model = run("getTextJson()");
  expect("typed keys land at the caret far down a long document", model.contains("\"Paragraph 3000 end\"]],[\"image\""),
         model.right(200));

  const QString pdf = folder.filePath(QStringLiteral("long.pdf"));
  QSignalSpy printing(page, &QWebEnginePage::pdfPrintingFinished);
  page->printToPdf(pdf);
  printing.wait(60000);
  // Each span's text sits between zero-width spaces.
  const QString printed = toolOutput(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).remove(QChar(0x200B));
  expect("printing gives the first, a middle and the last paragraph",
         printed.contains("Paragraph 1\n") && printed.contains("Paragraph 1500\n") && printed.contains("Paragraph 3000 end"), printed.right(300));
  const QString images = toolOutput(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
  expect("printing gives the image at the end", images.contains(QRegularExpression("\\n\\s*\\d+\\s+\\d+\\s+image\\s+2\\s+2\\s")), images);
  expect("printing gives the formula typeset, not its source", printed.contains(QRegularExpression("Formula\\s+π")) && !printed.contains("sqrt"),
         printed.right(300));
  const QString last = printed.count(QChar('\f')) > 0 ? QString::number(printed.count(QChar('\f'))) : QStringLiteral("1");
  toolOutput(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-png"), QStringLiteral("-f"), last,
                                           QStringLiteral("-singlefile"), pdf, folder.filePath(QStringLiteral("last"))});
  const QImage lastPage(folder.filePath(QStringLiteral("last.png")));
  int keyword = 0;  // pixels of the keyword colour, #a626a4
  for (int y = 0; y < lastPage.height(); ++y) {
    for (int x = 0; x < lastPage.width(); ++x) {
      const QColor c = lastPage.pixelColor(x, y);
      if (std::abs(c.red() - 0xa6) < 40 && std::abs(c.green() - 0x26) < 40 && std::abs(c.blue() - 0xa4) < 40) ++keyword;
    }
  }
  expect("printing gives the code coloured", keyword > 5, QString("%1 pixels of the keyword colour on page %2").arg(keyword).arg(last));
  return failures == 0 ? 0 : 1;
}
