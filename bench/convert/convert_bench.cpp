// Converter speed against the reference tools on the same document, in one run:
//   WriteHtml against cmark rendering the equivalent CommonMark to HTML;
//   ReadPandocJson and WritePandocJson against pandoc's own json-to-json pass.
// Usage: qorva_convert_bench [MEGABYTES=10] [RUNS=3]. Prints the best of RUNS in CPU
// seconds (ours: this process; the tools: the child, from its resource usage) and in
// wall seconds. On a shared machine wall time includes waiting for a core, so the
// ratios are taken from CPU time.
#include "bench/convert/bench_corpus.h"
#include "convert/converters.h"
#include "tools/pandoc/pandoc.h"
#include "tools/process/process_runner.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include <sys/resource.h>
#include <time.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Timing {
    double cpu = 1e300;
    double wall = 1e300;
};

double ownCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double childrenCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Best of `runs`; `inChild` takes the CPU time of the child processes the work waited for.
Timing bestOf(int runs, const std::function<void()>& work, bool inChild = false) {
    Timing best;
    for (int i = 0; i < runs; ++i) {
        const double cpuStart = inChild ? childrenCpuSeconds() : ownCpuSeconds();
        const auto start = Clock::now();
        work();
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        const double cpu = (inChild ? childrenCpuSeconds() : ownCpuSeconds()) - cpuStart;
        best.cpu = std::min(best.cpu, cpu);
        best.wall = std::min(best.wall, wall);
    }
    return best;
}

// Runs a tool on `input`; exits the benchmark with its messages when it fails.
std::string runTool(const std::string& commandLine, const std::string& input) {
    std::string output, errors;
    const qorva::ProcessResult result = qorva::RunChild({commandLine, "", "", input}, output, &errors);
    if (!result.succeeded()) {
        std::fprintf(stderr, "%s\n%s\n", qorva::DescribeFailure(commandLine, result).c_str(), errors.c_str());
        std::exit(1);
    }
    return output;
}

double megabytes(std::size_t bytes) { return static_cast<double>(bytes) / 1e6; }

void row(const char* what, std::size_t bytes, const Timing& t) {
    std::printf("  %-44s %7.3f s CPU %8.1f MB/s   %7.3f s wall   (%.1f MB in)\n", what, t.cpu,
                megabytes(bytes) / t.cpu, t.wall, megabytes(bytes));
}

}  // namespace

int main(int argc, char** argv) {
    const double targetMb = argc > 1 ? std::atof(argv[1]) : 10.0;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const qorva::bench::ConvertCorpus corpus =
        qorva::bench::MakeConvertCorpus(static_cast<std::size_t>(targetMb * 1e6));
    std::printf("Document: %.1f MB model JSON, %.1f MB CommonMark; best of %d runs\n\n",
                megabytes(corpus.modelJson.size()), megabytes(corpus.commonMark.size()), runs);

    // HTML: our writer from model JSON, cmark from the equivalent CommonMark.
    std::string html;
    const Timing ours = bestOf(runs, [&] { html = qorva::convert::WriteHtml(corpus.modelJson, nullptr); });
    std::string cmarkHtml;
    const Timing cmark = bestOf(runs, [&] { cmarkHtml = runTool("cmark", corpus.commonMark); }, true);
    std::printf("HTML\n");
    row("WriteHtml (model JSON -> HTML)", corpus.modelJson.size(), ours);
    row("cmark (CommonMark -> HTML)", corpus.commonMark.size(), cmark);
    const double throughputRatio =
        (megabytes(corpus.modelJson.size()) / ours.cpu) / (megabytes(corpus.commonMark.size()) / cmark.cpu);
    std::printf("  CPU throughput WriteHtml / cmark: %.2fx   CPU time cmark / WriteHtml: %.2fx"
                "   (goal: throughput >= 1x)\n\n",
                throughputRatio, cmark.cpu / ours.cpu);

    // Pandoc JSON in the installed Pandoc's dialect.
    const qorva::PandocInstallation pandoc = qorva::DetectPandoc();
    if (!pandoc.usable()) {
        std::printf("Pandoc JSON: skipped, no usable Pandoc found\n");
        return 0;
    }
    const std::string options = pandoc.writerOptions();
    std::string ourJson;
    const Timing write =
        bestOf(runs, [&] { ourJson = qorva::convert::WritePandocJson(corpus.modelJson, options.c_str()); });
    // Pandoc's own rendering of the document is what the reader gets in practice.
    const std::string command = "\"" + pandoc.location + "\" --from json --to json";
    std::string pandocJson;
    const Timing pandocPass = bestOf(runs, [&] { pandocJson = runTool(command, ourJson); }, true);
    std::string model;
    const Timing read = bestOf(runs, [&] { model = qorva::convert::ReadPandocJson(pandocJson, nullptr); });
    // The same pass on Pandoc's own compact rendering, which is what the reader gets.
    const Timing pandocCompact = bestOf(runs, [&] { runTool(command, pandocJson); }, true);
    std::printf("Pandoc JSON (pandoc %s, pandoc-types %s)\n", pandoc.version.c_str(), pandoc.jsonApi.c_str());
    row("WritePandocJson (model JSON -> Pandoc JSON)", corpus.modelJson.size(), write);
    row("ReadPandocJson (Pandoc JSON -> model JSON)", pandocJson.size(), read);
    row("pandoc json -> json, our indented output", ourJson.size(), pandocPass);
    row("pandoc json -> json, its own compact output", pandocJson.size(), pandocCompact);
    std::printf("  CPU time pandoc / WritePandocJson: %.1fx (on our output)\n", pandocPass.cpu / write.cpu);
    std::printf("  CPU time pandoc / ReadPandocJson: %.1fx (on our output), %.1fx (on its compact output)"
                "   (goal: >= 20x)\n",
                pandocPass.cpu / read.cpu, pandocCompact.cpu / read.cpu);
    return 0;
}
