// Times each export of a large document against Pandoc converting the equivalent
// Markdown to the same format in one run, and prints the figures side by side.
// Usage: qorva_tools_bench [BLOCKS=10000] [RUNS=3]
#include "bench/tools/bench_document.h"
#include "tools/process/command_line.h"
#include "tools/converter_host/converter_host.h"
#include "tools/export/export.h"
#include "tools/files/file_io.h"
#include "tools/pandoc/pandoc.h"
#include "tools/process/process_runner.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace qorva;

namespace {

// Median wall time in milliseconds; stops the whole run if an attempt fails.
double medianMs(int runs, const std::function<bool()>& attempt, const char* what) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        if (!attempt()) {
            std::fprintf(stderr, "%s failed\n", what);
            std::exit(1);
        }
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int blocks = argc > 1 ? std::atoi(argv[1]) : 10000;
    int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    bench::BenchDocument document = bench::MakeBenchDocument(blocks);
    std::string folder;
    if (!MakeTempFolder(folder)) return 1;
    PandocInstallation pandoc = DetectPandoc();
    // The same document as a native .text file, as `qorva-convert export` reads it.
    std::string error;
    const std::string nativeText = TryWriteTextFormat(document.modelJson, true, &error);
    if (!error.empty()) {
        std::fprintf(stderr, "WriteTextFormat failed: %s\n", error.c_str());
        return 1;
    }
    std::printf("%d blocks (%zu bytes of model JSON, %zu of Markdown), median of %d runs, Pandoc %s\n", blocks,
                document.modelJson.size(), document.markdown.size(), runs, pandoc.version.c_str());
    std::printf("%-8s %10s %14s %10s %8s   %s\n", "format", "export ms", "from .text ms", "pandoc ms", "ratio",
                "target (ratio = pandoc / from .text)");

    struct Row {
        const char* name;
        const char* pandocFormat;
        const char* extension;
        std::function<ExportResult(const std::string& model, const std::string& out)> exporter;
        double minimumRatio;
    };
    std::vector<Row> rows = {
        {"html5", "html5", ".html", [&](auto& model, auto& out) { return ExportHtml(model, out, "Default", {}); }, 20},
        {"xelatex", "latex", ".tex", [&](auto& model, auto& out) { return ExportLatex(model, out, "Default", {}); }, 20},
        {"docx", "docx", ".docx", [&](auto& model, auto& out) { return ExportWithPandoc(model, out, "docx", folder); }, 1},
        {"rtf", "rtf", ".rtf", [&](auto& model, auto& out) { return ExportWithPandoc(model, out, "rtf", folder); }, 1},
        {"epub", "epub", ".epub", [&](auto& model, auto& out) { return ExportWithPandoc(model, out, "epub", folder); }, 1},
    };
    for (const Row& row : rows) {
        std::string ours = JoinPath(folder, std::string("ours") + row.extension);
        std::string theirs = JoinPath(folder, std::string("pandoc") + row.extension);
        double exportMs = medianMs(runs, [&] { return row.exporter(document.modelJson, ours).succeeded; }, row.name);
        double fromTextMs = medianMs(
            runs,
            [&] {
                std::string readError;
                std::string model = TryReadTextFormat(nativeText, &readError);
                return readError.empty() && model.size() > 2 && row.exporter(model, ours).succeeded;
            },
            row.name);
        // Pandoc alone gets the options our export hands it (EPUB's contents included),
        // reading Markdown instead of JSON.
        std::string command = PandocExportCommand(pandoc, row.pandocFormat, theirs);
        command.replace(command.find("--from json"), 11, "--from markdown");
        double pandocMs = medianMs(
            runs,
            [&] {
                std::string out, err;
                return RunChild({command, folder, "", document.markdown}, out, &err).succeeded();
            },
            "pandoc");
        double ratio = pandocMs / fromTextMs;
        std::printf("%-8s %10.1f %14.1f %10.1f %7.1fx   %s %.0fx: %s\n", row.name, exportMs, fromTextMs, pandocMs, ratio,
                    row.minimumRatio > 1 ? "at least" : "no slower,", row.minimumRatio,
                    ratio >= row.minimumRatio ? "met" : "NOT met");
    }
    for (const char* name : {"ours.html", "ours.tex", "ours.docx", "ours.rtf", "ours.epub", "pandoc.html",
                             "pandoc.tex", "pandoc.docx", "pandoc.rtf", "pandoc.epub"})
        std::remove(JoinPath(folder, name).c_str());
    RemoveTempFolder(folder);
    return 0;
}
