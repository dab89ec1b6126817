// Figures for the engine layer, printed side by side:
//   page-calls  round trips of page calls on a 10,000-block document, next to a
//               call that does no page work (the engine's own cost)
//   bare-start  time for a bare browser view to show a tiny page (the floor for
//               the program's start-up; startup.mjs runs it next to the program)
//   page-limit [MiB...]  the largest document the page takes and gives back whole
//               within the page call's time limit: setTextJson then getTextJson on
//               documents of growing size, in prose-sized paragraphs and in long
//               ones of ASCII and of three-byte UTF-8 characters
#include "src/win/platform/browser.h"

#include <QApplication>
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
    void callbackOpenUrl_(const std::string&) override {}
    void callbackOpenFile_(const std::string&) override {}
    void callbackChangeDone() override {}
    void callbackChangeUndone() override {}
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
    std::printf("%-44s median %8.3f ms  mean %8.3f ms  best %8.3f ms\n", what, f.median, f.mean, f.best);
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

const char* gMode = "page-calls";

int Run() {
    if (std::strcmp(gMode, "bare-start") == 0) return BareStart();
    if (std::strcmp(gMode, "page-limit") == 0) return PageLimit();
    return PageCalls();
}

}  // namespace

int main(int argc, char** argv) {
    gStart = Clock::now();
    if (argc > 1) gMode = argv[1];
    for (int i = 2; i < argc; ++i) gLimitSizes.push_back(std::atoi(argv[i]));
    return qorva::Browser::RunMain(argc, argv, &Run);
}
