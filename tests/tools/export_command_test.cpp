// `qorva-convert export`: the headless export through the real program, as a
// script would run it.
#include "tools/files/file_io.h"
#include "tools/user_files/user_files.h"
#include "tests/tools/tool_test_support.h"
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <functional>

namespace qorva {
namespace {

using testing::TempFolder;
using test::Shell;
using test::ShellQuote;

struct Outcome {
    int exitCode;
    std::string errors;
};

class ExportCommand : public ::testing::Test {
protected:
    void SetUp() override {
        program_ = JoinPath(ProgramFolder(), "qorva-convert");
        ASSERT_TRUE(FileExists(program_)) << program_ << " is not built";
        mkdir(documents_.File("pics").c_str(), 0755);
        test::WriteTinyPng(documents_.File("pics/chart.png"));
        document_ = documents_.Write("report.text",
                                     "Quarterly Report\r\n================\r\n\r\nSales rose in *every* region.\r\n\r\n"
                                     "![](<pics/chart.png>)\r\n");
    }

    // Runs in `cwd` with the user data folder pointed at `userData`.
    Outcome run(const std::string& arguments, const std::string& cwd = "/") {
        int code = -1;
        std::string errors = Shell("cd " + ShellQuote(cwd) + " && XDG_DATA_HOME=" + ShellQuote(userData_.path()) +
                                       " " + ShellQuote(program_) + " export " + arguments + " 2>&1 >/dev/null",
                                   &code);
        return {code, errors};
    }

    std::string program_, document_;
    TempFolder documents_, output_, userData_;
};

// Wrong usage exits with 2, bad input with 1; each says why and writes nothing.
TEST_F(ExportCommand, WrongUsageAndBadInputExitWithTheirCodesSayWhyAndWriteNothing) {
    const std::string bad = documents_.Write("bad.text", "![](<a.png>) x\n");
    const std::string document = ShellQuote(document_);
    // arguments (the output follows), exit code, how the message starts
    const std::tuple<std::string, int, std::string> cases[] = {
        {document, 2, "error: --to FORMAT is required\nusage: "},
        {"--to odt " + document, 2, "error: unknown export format \"odt\"\n"},
        {"--to docx --template Bootstrap " + document, 2, "error: "},
        {"--to html5", 2, "error: "},
        {"--to html5 --bogus " + document, 2, "error: "},
        {"--to html5 /nonexistent/in.text", 1, "error: /nonexistent/in.text: No such file or directory\n"},
        {"--to pdf --template Fancy " + document, 1,
         "error: no pdf template named \"Fancy\" (available: Default, Table of Contents)\n"},
        {"--to html5 " + ShellQuote(bad), 1, "error at line 1, column 13 (offset 12): "}};
    for (const auto& [arguments, code, says] : cases) {
        const Outcome outcome = run(arguments + " " + ShellQuote(output_.File("out")));
        EXPECT_EQ(outcome.exitCode, code) << arguments;
        EXPECT_EQ(outcome.errors.substr(0, says.size()), says) << arguments;
    }
    EXPECT_TRUE(test::FolderEntries(output_.path()).empty());
}

TEST_F(ExportCommand, EveryFormatFromARelativeOutputPath) {
    // format, output, text the file holds (what the archives hold is export_test.cpp's)
    for (auto [format, name, holds] :
         {std::tuple{"html5", "r.html", "<title>Quarterly Report</title>"}, {"xelatex", "r.tex", "pdftitle={Quarterly Report}"},
          {"docx", "r.docx", "PK"}, {"rtf", "r.rtf", "Quarterly Report"}, {"epub", "r.epub", "PK"}, {"pdf", "r.pdf", "%PDF"}}) {
        Outcome outcome = run(std::string("--to ") + format + " " + ShellQuote(document_) + " " + name, output_.path());
        EXPECT_EQ(outcome.exitCode, 0) << format << ": " << outcome.errors;
        EXPECT_NE(ReadWholeFile(output_.File(name)).find(holds), std::string::npos) << name << " holds " << holds;
    }
    EXPECT_EQ(test::Squeeze(test::PdfText(output_.File("r.pdf"))), "Quarterly Report Sales rose in every region. 1");
    // The image is found beside the document, not in the working folder.
    EXPECT_EQ(test::PdfImageCount(output_.File("r.pdf")), "1\n");
}

TEST_F(ExportCommand, ToolFailureExitsWithOneAndTheToolsMessage) {
    mkdir(userData_.File("qorva").c_str(), 0755);
    userData_.Write("qorva/Broken.xelatex",
                    "\\documentclass{article}\n\\begin{document}\n\\input{qorva-missing-part}\n$body$\n\\end{document}\n");
    std::string pdf = output_.Write("r.pdf", "old pdf");
    Outcome outcome = run("--to pdf --template Broken " + ShellQuote(document_) + " " + ShellQuote(pdf));
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(outcome.errors.starts_with("error: Export to PDF via XeLaTeX failed.\n! LaTeX Error: File "))
        << outcome.errors;
    EXPECT_EQ(ReadWholeFile(pdf), "old pdf");
}

// The processes whose command line mentions `text`.
std::vector<pid_t> processesMentioning(const std::string& text) {
    std::vector<pid_t> pids;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (isdigit(name[0]) && testing::ReadFileBytes(entry.path() / "cmdline").find(text) != std::string::npos)
            pids.push_back(std::stoi(name));
    }
    return pids;
}

// Killed while XeLaTeX runs, the export takes the tool and its work folder with it.
TEST_F(ExportCommand, ASignalEndsTheToolRunAndRemovesItsFiles) {
    mkdir(userData_.File("qorva").c_str(), 0755);
    userData_.Write("qorva/Endless.xelatex", "\\documentclass{article}\n\\begin{document}\n\\def\\x{\\x}\\x\n$body$\n\\end{document}\n");
    TempFolder temporaries;
    const std::string data = userData_.path(), tmp = temporaries.path(), pdf = output_.File("r.pdf");
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("XDG_DATA_HOME", data.c_str(), 1);
        setenv("TMPDIR", tmp.c_str(), 1);
        execl(program_.c_str(), program_.c_str(), "export", "--to", "pdf", "--template", "Endless", document_.c_str(),
              pdf.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    auto within = [](int seconds, const std::function<bool()>& done) {  // polls `done`
        for (int i = 0; i < seconds * 20 && !done(); ++i) usleep(50'000);
        return done();
    };
    EXPECT_TRUE(within(60, [&] { return !processesMentioning(tmp).empty(); })) << "XeLaTeX did not start";
    sleep(2);  // past its start-up output, into the endless loop
    kill(pid, SIGTERM);
    int status = 0;
    if (!within(20, [&] { return status != 0 || waitpid(pid, &status, WNOHANG) == pid; }))
        kill(pid, SIGKILL), waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_TRUE(within(5, [&] { return processesMentioning(tmp).empty(); })) << "XeLaTeX outlived the program";
    for (pid_t left : processesMentioning(tmp)) kill(left, SIGKILL);
    EXPECT_EQ(test::FolderEntries(tmp), std::vector<std::string>{});
    EXPECT_FALSE(FileExists(pdf));
}

}  // namespace
}  // namespace qorva
