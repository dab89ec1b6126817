// Throughput and peak memory of the text reader and writer on a generated 10 MB
// document mixing every construct, side by side in one run with cmark turning the same
// bytes (a Markdown document to it) into HTML; then inputs built to be hard for the
// reader, each against prose of the same size. Prints figures; asserts nothing.
//
//   build-model/bin/model_bench [megabytes]
#include "model/model_json.h"
#include "model/text_reader.h"
#include "model/text_writer.h"

#include <cmark.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {


// ------------------------------------------------------------------ inputs

const char* const kWords[] = {"the", "editor", "keeps", "plain", "text", "with", "a", "little", "mark-up",
                              "documents", "stay", "readable", "in", "any", "program", "über", "naïve", "日本語", "😀"};

class DocumentBuilder {
public:
    explicit DocumentBuilder(unsigned seed) : random_(seed) {}

    // Model JSON of about `bytes` once written, with every block and span kind.
    std::string model(std::size_t bytes) {
        std::string out = "[\"text\"";
        std::size_t approx = 0;
        while (approx < bytes) {
            const std::string block = nextBlock();
            approx += block.size() * 3 / 4;
            out += ',';
            out += block;
        }
        return out + "]";
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    std::string words(int count) {
        std::string text;
        for (int i = 0; i < count; ++i) text += std::string(i ? " " : "") + kWords[pick(std::size(kWords))];
        return text;
    }
    std::string span(const char* tag, const std::string& text) { return qorva::Json::array({tag, text}).dump(); }
    std::string runningText() {
        std::string spans;
        const int count = 3 + pick(8);
        for (int i = 0; i < count; ++i) {
            if (i) spans += ',';
            switch (pick(12)) {
                case 0: spans += span("emph", words(2)); break;
                case 1: spans += span("strong", words(2)); break;
                case 2: spans += span("code", "x = y * 2"); break;
                case 3: spans += span("math", "a^2 + b^2"); break;
                case 4: spans += span("url", "https://example.org/page"); break;
                case 5: spans += span("linktext", words(2)) + "," + span("url", "https://example.org"); break;
                case 6: spans += span("linktext", words(2)) + "," + span("linkref", "ref"); break;
                case 7: spans += span("noteref", "1"); break;
                case 8: spans += span("break", "\n"); break;
                default: spans += span("plain", " " + words(6 + pick(20)) + " "); break;
            }
        }
        return spans;
    }
    std::string nextBlock() {
        const std::string level = std::to_string(pick(3));
        switch (pick(16)) {
            case 0: return "[\"heading\",{\"level\":-" + std::to_string(1 + pick(3)) + "}," + span("plain", words(4)) + "]";
            case 1: return "[\"bulleted\",{\"level\":" + level + "}," + runningText() + "]";
            case 2: return "[\"numbered\",{\"level\":" + level + "}," + runningText() + "]";
            case 3: return "[\"quote\",{\"level\":" + level + "}," + span("plain", words(30)) + "]";
            case 4: return "[\"comment\",{\"level\":0}," + span("plain", words(12)) + "]";
            case 5: return "[\"verbatim\",{\"level\":0}," + span("plain", "int main() {") + ",[\"break\",\"\\n\"]," +
                           span("plain", "    return 0;") + ",[\"break\",\"\\n\"]," + span("plain", "}") + "]";
            case 6: return "[\"formula\",{\"level\":0}," + span("plain", "\\sum_{i=1}^n i = \\frac{n(n+1)}{2}") + "]";
            case 7: return "[\"image\",{\"level\":0}," + span("url", "images/figure 1.png") + "]";
            case 8: return "[\"note\",{\"level\":0}," + span("noteref", "1") + "," + span("plain", words(15)) + "]";
            case 9: return "[\"link\",{\"level\":0}," + span("linkref", "ref") + "," + span("url", "https://example.org/ref") + "]";
            case 10: return "[\"row\",{\"level\":1}," + span("strong", "Name") + "],[\"col\",{\"level\":2}," + span("plain", words(3)) +
                            "],[\"row\",{\"level\":1}," + span("plain", words(2)) + "],[\"col\",{\"level\":2}," + span("plain", words(12)) + "]";
            case 11: return "[\"para\",{\"level\":0,\"direction\":\"rtl\"}," + runningText() + "]";
            default: return "[\"para\",{\"level\":" + std::to_string(pick(2)) + "}," + runningText() + "]";
        }
    }
    std::mt19937 random_;
};

std::string repeatTo(const std::string& unit, std::size_t bytes) {
    std::string out;
    out.reserve(bytes + unit.size());
    while (out.size() < bytes) out += unit;
    return out;
}

std::string prose(std::size_t bytes) {
    std::mt19937 random(7);
    std::string out;
    while (out.size() < bytes) {
        for (int i = 0; i < 60; ++i) out += std::string(i ? " " : "") + kWords[random() % std::size(kWords)];
        out += "\n\n";
    }
    return out;
}

// ------------------------------------------------------------------ measuring

// CPU time of the process: every operation here runs on one thread, and on a shared
// machine CPU time varies far less than wall-clock time.
double cpuNow() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

double seconds(const std::function<void()>& run) {
    const double start = cpuNow();
    run();
    return cpuNow() - start;
}

// Runs the operations in turn `rounds` times (so that load on the machine hits all of
// them alike) and returns the median time of each.
std::vector<double> medians(const std::vector<std::function<void()>>& operations, int rounds) {
    std::vector<std::vector<double>> times(operations.size());
    for (int r = 0; r < rounds; ++r)
        for (std::size_t i = 0; i < operations.size(); ++i) times[i].push_back(seconds(operations[i]));
    std::vector<double> out;
    for (auto& t : times) {
        std::sort(t.begin(), t.end());
        out.push_back(t[t.size() / 2]);
    }
    return out;
}

long statusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::char_traits<char>::length(field));
    return -1;
}

// Peak resident memory an operation adds, in bytes, measured in a child process so
// that no earlier run has left memory behind: free memory is returned first and the
// kernel's high-water mark reset, so this is the operation's own peak.
long peakBytes(const std::function<void()>& run) {
    int channel[2];
    if (pipe(channel) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        malloc_trim(0);
        { std::ofstream("/proc/self/clear_refs") << "5"; }
        const long before = statusKilobytes("VmRSS:");
        run();
        const long peak = statusKilobytes("VmHWM:");
        const long bytes = before < 0 || peak < 0 ? -1 : (peak - before) * 1024;
        (void)!write(channel[1], &bytes, sizeof bytes);
        _exit(0);
    }
    close(channel[1]);
    long bytes = -1;
    if (read(channel[0], &bytes, sizeof bytes) != sizeof bytes) bytes = -1;
    close(channel[0]);
    waitpid(child, nullptr, 0);
    return bytes;
}

double megabytes(std::size_t bytes) { return bytes / 1e6; }

}  // namespace

int main(int argc, char** argv) {
    const std::size_t size = static_cast<std::size_t>((argc > 1 ? std::atof(argv[1]) : 10.0) * 1e6);
    const std::string model = DocumentBuilder(2026).model(size);
    const std::string text = qorva::writeTextFormat(model, qorva::TextWriterOptions{true, false});
    const std::string modelOfText = qorva::readTextFormat(text);

    std::printf("document: %.1f MB of text format (%.1f MB as model JSON), every block and span kind\n",
                megabytes(text.size()), megabytes(modelOfText.size()));
    std::printf("cmark %s reads the same bytes as CommonMark and renders HTML\n", cmark_version_string());
    std::printf("times are CPU seconds, median of 5 rounds taken in turn\n\n");

    std::size_t sink = 0;
    const auto read = [&] { sink += qorva::readTextFormat(text).size(); };
    const auto write = [&] { sink += qorva::writeTextFormat(modelOfText, qorva::TextWriterOptions{true, false}).size(); };
    const auto cmark = [&] {
        char* html = cmark_markdown_to_html(text.data(), text.size(), CMARK_OPT_DEFAULT);
        sink += std::char_traits<char>::length(html);
        std::free(html);
    };
    const long readPeak = peakBytes(read);
    const long writePeak = peakBytes(write);
    const long cmarkPeak = peakBytes(cmark);
    const std::vector<double> t = medians({read, write, cmark}, 5);
    const double mbps[] = {megabytes(text.size()) / t[0], megabytes(text.size()) / t[1], megabytes(text.size()) / t[2]};
    std::printf("%-40s %8.1f MB/s  (median %.3f s)\n", "reader: text format to model JSON", mbps[0], t[0]);
    std::printf("%-40s %8.1f MB/s  (median %.3f s)\n", "writer: model JSON to text format", mbps[1], t[1]);
    std::printf("%-40s %8.1f MB/s  (median %.3f s)\n", "cmark: CommonMark to HTML", mbps[2], t[2]);
    std::printf("%-40s %8.2f   (goal >= 1)\n", "reader / cmark throughput", mbps[0] / mbps[2]);
    std::printf("%-40s %8.2f   (goal >= 2)\n\n", "writer / cmark throughput", mbps[1] / mbps[2]);

    std::printf("%-40s %8.1f MB = %.1f x input  (goal < 10)\n", "peak memory reading", megabytes(readPeak), double(readPeak) / text.size());
    std::printf("%-40s %8.1f MB = %.1f x input\n", "peak memory writing", megabytes(writePeak), double(writePeak) / text.size());
    std::printf("%-40s %8.1f MB = %.1f x input\n\n", "peak memory of cmark", megabytes(cmarkPeak), double(cmarkPeak) / text.size());

    // Inputs built against the grammar, each the size of the document, against prose.
    const std::size_t n = text.size();
    const std::vector<std::pair<const char*, std::string>> hard = {
        {"prose", prose(n)},
        {"deep indentation", repeatTo(std::string(4000, ' ') + "-   x\n\n", n)},
        {"one run of spaces", std::string(n, ' ') + "x"},
        {"unclosed inline markers", repeatTo("[a <b `c $d *e **f [^g ", n)},
        {"unclosed code fences", repeatTo("~~~~\nline\n\n", n)},
        {"one long table", "+---+---+\n" + repeatTo("| a | b |\n", n) + "+---+---+\n"},
        {"backslash runs", repeatTo("\\\\\\\\\\*x*", n)},
        {"right-to-left marks", repeatTo("\xE2\x80\x8F-   a  \n\xE2\x80\x8F    b\n\n", n)},
    };
    std::vector<std::function<void()>> runs;
    for (const auto& [name, input] : hard) {
        const std::string* in = &input;
        runs.push_back([in, &sink] {
            try {
                sink += qorva::readTextFormat(*in).size();
            } catch (const qorva::ConverterError&) {
            }
        });
    }
    const std::vector<double> times = medians(runs, 3);
    std::printf("reading %.1f MB built against the grammar, time relative to prose:\n", megabytes(n));
    for (std::size_t i = 0; i < hard.size(); ++i)
        std::printf("  %-30s %8.3f s  %6.2f x prose\n", hard[i].first, times[i], times[i] / times[0]);
    return sink == 0 ? 1 : 0;
}
