// Figures for the engine layer, printed side by side:
//   page-calls  round trips of page calls on a 10,000-block document, next to a
//               call that does no page work (the engine's own cost)
//   bare-start  time for a bare browser view to show a tiny page (the floor for
//               the program's start-up; startup.mjs runs it next to the program)
//   recovery-keystroke  a key typed into a 10,000-block document on its own, and
//               as a recovery copy is being kept: with the file written on the
//               keeper's thread, and written on the user-interface thread
//   recovery-start  claiming the recovery files at start: a whole record of a
//               document just under the page's limit, and a planted 300 MB record
//               (sparse), which is set aside unread; time and peak memory
//   page-limit [MiB...]  the largest document the page takes and gives back whole
//               within the page call's time limit: setTextJson then getTextJson on
//               documents of growing size, in prose-sized paragraphs and in long
//               ones of ASCII and of three-byte UTF-8 characters
#include "src/win/platform/browser.h"
#include "src/win/document/recovery_keeper.h"
#include "src/win/document/recovery_store.h"

#include <sys/resource.h>

#include <QApplication>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QWebEngineView>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
Clock::time_point gStart;

class QuietClient : public qorva::BrowserWindowClient {
public:
    int changes = 0;
    void callbackOpenUrl_(const std::string&) override {}
    void callbackOpenFile_(const std::string&) override {}
    void callbackChangeDone() override { ++changes; }
    void callbackChangeUndone() override { ++changes; }
    bool OnKeyMessage(QObject*, QKeyEvent*) override { return false; }
};

std::string LargeDocument(int blocks) {
    std::string json = "[\"text\"";
    for (int i = 0; i < blocks; ++i) {
        json += ",[\"para\",{\"level\":0},[\"plain\",\"Paragraph " + std::to_string(i) +
                " holds a handful of ordinary words\"],[\"strong\",\"and some strong ones\"]]";
    }
    return json + "]";
}

struct Figures {
    double median, mean, best;
};

template <typename F>
Figures Time(int runs, F&& call) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        call();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], std::accumulate(ms.begin(), ms.end(), 0.0) / ms.size(), ms.front()};
}

void Print(const char* what, const Figures& f) {
    std::printf("%-52s median %8.3f ms  mean %8.3f ms  best %8.3f ms\n", what, f.median, f.mean, f.best);
}

// A shown window with the editor page loaded in a browser of its own.
struct EditorWindow {
    QWidget host;
    QuietClient client;
    std::unique_ptr<qorva::BrowserWindow> browser;
    double loadMs = 0;

    EditorWindow() {
        host.resize(800, 600);
        browser = qorva::Browser::CreateBrowserWindow(&client, &host);
        QFile page(QStringLiteral(":/qorva/editor.html"));
        page.open(QIODevice::ReadOnly);
        host.show();
        const auto loadStart = Clock::now();
        browser->LoadHtml(page.readAll().toStdString());
        loadMs = std::chrono::duration<double, std::milli>(Clock::now() - loadStart).count();
    }
};

int PageCalls() {
    EditorWindow window;
    auto& browser = window.browser;
    const double loadMs = window.loadMs;

    const std::string document = LargeDocument(10000);
    const Figures set = Time(3, [&] { browser->CallFunction("setTextJson", document); });
    const std::string words = browser->CallFunction("getWordCount");
    std::string json;
    const Figures get = Time(3, [&] { json = browser->CallFunction("getTextJson"); });

    const Figures empty = Time(200, [&] { browser->CallFunction("String", std::string("1")); });
    const Figures count = Time(200, [&] { browser->CallFunction("getWordCount"); });
    const Figures selected = Time(200, [&] { browser->CallFunction("getWordCountSelected"); });

    std::printf("editor page load: %.1f ms; document: 10000 blocks, %zu bytes of model JSON, "
                "getWordCount = %s\n", loadMs, document.size(), words.c_str());
    Print("call without page work (String(\"1\"))", empty);
    Print("getWordCount", count);
    Print("getWordCountSelected", selected);
    Print("setTextJson (10000 blocks)", set);
    Print("getTextJson (10000 blocks)", get);
    std::printf("getWordCount / empty call: %.2fx (goal: getWordCount under 5 ms)\n",
                count.median / std::max(empty.median, 1e-6));
    std::printf("getTextJson returned %zu bytes\n", json.size());
    browser.reset();
    return 0;
}

int BareStart() {
    QWebEngineView view;
    view.resize(700, 480);
    QObject::connect(&view, &QWebEngineView::loadFinished, [&] {
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - gStart).count();
        std::printf("bare-start %.1f\n", ms);
        std::fflush(stdout);
        QApplication::exit(0);
    });
    view.setHtml(QStringLiteral("<p contenteditable>Welcome</p>"));
    view.show();
    return QApplication::exec();
}

// From the key press until the page reports the change it made.
double Keystroke(QWidget* target, QuietClient& client, Clock::time_point from) {
    const int before = client.changes;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QCoreApplication::sendEvent(target, &press);
    QCoreApplication::sendEvent(target, &release);
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (client.changes == before && Clock::now() < deadline) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

Figures Summary(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], std::accumulate(ms.begin(), ms.end(), 0.0) / ms.size(), ms.front()};
}

int RecoveryKeystroke() {
    EditorWindow window;
    auto& browser = window.browser;
    QuietClient& client = window.client;
    browser->CallFunction("setTextJson", LargeDocument(10000));
    browser->Focus();
    QWidget* view = browser->GetWindowHandle();
    QWidget* target = view->focusProxy() ? view->focusProxy() : view;
    Keystroke(target, client, Clock::now());  // the first key lays out the caret's block

    QTemporaryDir folder;
    qorva::RecoveryWriter writer{qorva::RecoverySlot(folder.filePath("threaded").toStdString())};
    qorva::RecoverySlot inlineSlot(folder.filePath("inline").toStdString());
    auto copyWith = [&](const char* function) {
        return qorva::RecoveryRecord{"/bench.text", qorva::DocumentFormat::QorvaMarkdown, false,
                                     browser->CallFunction(function), 0};
    };
    auto since = [](Clock::time_point start) {
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    copyWith("getRecoveryJson");  // the first copy reads every block
    constexpr int kRuns = 15;
    std::vector<double> alone, kept, naive, cachedCopies, fullCopies;
    for (int i = 0; i < kRuns; ++i) {
        alone.push_back(Keystroke(target, client, Clock::now()));

        // The key comes in as the keeper's timer fires, just after a key typed
        // into one block: the copy is asked for without waiting, the key goes to
        // the page at once, and the file is written on the keeper's thread.
        auto start = Clock::now();
        bool copied = false;
        Clock::time_point copyDone;
        browser->CallFunctionLater("getRecoveryJson", [&](std::optional<std::string> model) {
            copyDone = Clock::now();
            if (model) writer.Write({"/bench.text", qorva::DocumentFormat::QorvaMarkdown, false, std::move(*model), 0});
            copied = true;
        });
        kept.push_back(Keystroke(target, client, start));
        while (!copied) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        cachedCopies.push_back(std::chrono::duration<double, std::milli>(copyDone - start).count());
        writer.Flush();

        // The same with a whole-document copy written on the user-interface thread.
        start = Clock::now();
        qorva::RecoveryRecord record = copyWith("getTextJson");
        fullCopies.push_back(since(start));
        inlineSlot.Write(record);
        naive.push_back(Keystroke(target, client, start));
    }
    std::printf("recovery at 10000 blocks: %zu bytes of model JSON per copy, %d runs\n",
                copyWith("getTextJson").model.size(), kRuns);
    Print("keystroke alone", Summary(alone));
    Print("keystroke as a copy is kept (program)", Summary(kept));
    Print("keystroke as a whole copy is taken and written (UI)", Summary(naive));
    Print("  copy arrives (getRecoveryJson, not waited for)", Summary(cachedCopies));
    Print("  copy taken (getTextJson, waited for)", Summary(fullCopies));
    std::printf("keystroke during recovery / alone: %.2fx (program), %.2fx (whole copy written on UI)\n",
                Summary(kept).median / std::max(Summary(alone).median, 1e-6),
                Summary(naive).median / std::max(Summary(alone).median, 1e-6));
    browser.reset();
    return 0;
}

// Model JSON of about `bytes` bytes in paragraphs of about `paragraphBytes`, each
// filled with `unit` repeated.
std::string DocumentOfSize(size_t bytes, const std::string& unit, size_t paragraphBytes) {
    std::string paragraph;
    while (paragraph.size() < paragraphBytes) paragraph += unit;
    const std::string block = ",[\"para\",{\"level\":0},[\"plain\",\"" + paragraph + "\"],[\"strong\",\"and some strong words\"]]";
    std::string json = "[\"text\"";
    json.reserve(bytes + block.size() + 2);
    while (json.size() < bytes) json += block;
    return json + "]";
}

std::vector<int> gLimitSizes;

int PageLimit() {
    EditorWindow window;
    auto& browser = window.browser;
    std::vector<int> sizes = gLimitSizes;
    if (sizes.empty()) sizes = {4, 8, 16, 20, 24, 32};
    // Long paragraphs show what the call itself can carry; prose-sized ones (about
    // 150 bytes each, as in real documents) what the page can build and hold.
    struct Kind {
        const char* name;
        std::string unit;
        size_t paragraphBytes;
    };
    const Kind kinds[] = {{"prose", "word ", 120}, {"ascii", "word ", 65536}, {"3-byte", "\xE6\x96\x87", 65536}};
    std::printf("%-7s %8s %10s %10s %8s %10s\n", "text", "MiB", "set", "get", "whole", "UTF-16 units");
    for (const auto& [kind, unit, paragraphBytes] : kinds) {
        for (int mib : sizes) {
            const std::string document = DocumentOfSize(static_cast<size_t>(mib) << 20, unit, paragraphBytes);
            const size_t units = QString::fromStdString(document).size();
            browser->CallFunction("setTextJson", std::string("[\"text\"]"));
            std::string setError, getError;
            const auto setStart = Clock::now();
            browser->CallFunction("setTextJson", document, std::nullopt, &setError);
            const double setMs = std::chrono::duration<double, std::milli>(Clock::now() - setStart).count();
            const auto getStart = Clock::now();
            std::string back = browser->CallFunction("getTextJson", std::nullopt, std::nullopt, &getError);
            const double getMs = std::chrono::duration<double, std::milli>(Clock::now() - getStart).count();
            const bool whole = setError.empty() && getError.empty() && back.size() == document.size();
            std::printf("%-7s %8.1f %8.0fms %8.0fms %8s %10zu %s%s\n", kind, document.size() / 1048576.0, setMs,
                        getMs, whole ? "yes" : "NO", units, setError.substr(0, 60).c_str(),
                        getError.empty() ? "" : (" / " + getError.substr(0, 60)).c_str());
            std::fflush(stdout);
        }
    }
    browser.reset();
    return 0;
}

int RecoveryStart() {
    QTemporaryDir folder;
    const std::string path = folder.path().toStdString();
    std::string model = LargeDocument(170000);
    {
        qorva::RecoverySlot slot(path);  // dropped without removing: an orphan
        slot.Write({"/bench.text", qorva::DocumentFormat::QorvaMarkdown, false, model, 1});
    }
    QFile planted(folder.filePath("planted.json"));
    planted.open(QIODevice::WriteOnly);
    planted.resize(300'000'000);
    planted.close();
    model.clear();
    model.shrink_to_fit();
    rusage before {};
    getrusage(RUSAGE_SELF, &before);
    const auto start = Clock::now();
    std::vector<std::string> setAside;
    const auto orphans = qorva::ClaimOrphanedRecoveries(path, &setAside);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    rusage after {};
    getrusage(RUSAGE_SELF, &after);
    std::printf("recovery-start: %zu claimed (%zu bytes of model), %zu set aside: %.0f ms, peak memory %ld MB -> %ld MB\n",
                orphans.size(), orphans.empty() ? 0 : orphans[0].record.model.size(), setAside.size(), ms,
                before.ru_maxrss / 1024, after.ru_maxrss / 1024);
    return 0;
}

const char* gMode = "page-calls";

int Run() {
    if (std::strcmp(gMode, "bare-start") == 0) return BareStart();
    if (std::strcmp(gMode, "recovery-keystroke") == 0) return RecoveryKeystroke();
    if (std::strcmp(gMode, "page-limit") == 0) return PageLimit();
    if (std::strcmp(gMode, "recovery-start") == 0) return RecoveryStart();
    return PageCalls();
}

}  // namespace

int main(int argc, char** argv) {
    gStart = Clock::now();
    if (argc > 1) gMode = argv[1];
    for (int i = 2; i < argc; ++i) gLimitSizes.push_back(std::atoi(argv[i]));
    return qorva::Browser::RunMain(argc, argv, &Run);
}
