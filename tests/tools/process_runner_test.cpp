// The child-process runner: streams, exit status, PATH handling, working folder,
// large inputs that would deadlock a write-then-read runner; and its command lines.
#include "tools/process/command_line.h"
#include "tools/process/process_runner.h"
#include "tests/tools/tool_test_support.h"
#include <gtest/gtest.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <unistd.h>

namespace qorva {
namespace {

using testing::ScopedEnv;
using testing::TempFolder;

std::string sh(const std::string& script) { return "/bin/sh -c " + QuoteArgument(script); }

// The output starts out non-empty, so that an empty result is seen to replace it.
TEST(ProcessStreams, VerdictAndOutputOfACommand) {
    const std::tuple<std::string, bool, std::string> cases[] = {
        {sh("echo 'bad input' >&2; exit 3"), false, "bad input\n"},
        {sh("echo one; sleep 0.1; echo two >&2; sleep 0.1; echo three"), true, "one\ntwo\nthree\n"},
        {sh("printf 'a\\000b\\377'"), true, std::string("a\0b\xff", 4)}, {"cat", true, ""},
    };
    for (const auto& [command, succeeds, expected] : cases) {
        std::string output = "old";
        EXPECT_EQ(RunProcess(command, "", "", "", output), succeeds) << command;
        EXPECT_EQ(output, expected) << command;
    }
}

TEST(ProcessExitStatus, StderrApartNonZeroExitAndSignals) {
    std::string out, err;
    EXPECT_TRUE(RunChild({sh("echo document; echo '[WARNING] odd' >&2"), "", "", ""}, out, &err).succeeded());
    EXPECT_EQ(std::tuple(out, err), std::tuple("document\n", "[WARNING] odd\n"));
    ProcessResult exited = RunChild({sh("echo partial; exit 7"), "", "", ""}, out, &err);
    EXPECT_EQ(std::tuple(exited.started, exited.exitCode, exited.succeeded(), out),
              std::tuple(true, 7, false, "partial\n"));
    ProcessResult killed = RunChild({sh("kill -TERM $$"), "", "", ""}, out, nullptr);
    EXPECT_EQ(std::tuple(killed.succeeded(), killed.signal), std::tuple(false, 15));
    EXPECT_NE(DescribeFailure("sh", killed).find("signal 15"), std::string::npos);
}

TEST(ProcessStart, ProgramsThatCannotStartLeaveTheOutputUntouched) {
    std::string output = "kept";
    errno = 0;
    EXPECT_FALSE(RunProcess("\"qorva-no-such-program-here\" --version", "", "", "", output));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(RunProcess("   ", "", "", "", output));
    EXPECT_EQ(DescribeFailure("tool", RunChild({"/nonexistent/tool", "", "", ""}, output, nullptr)),
              "Could not start tool: No such file or directory");
    TempFolder folder;
    folder.Write("not-a-program", "#!/bin/sh\necho hi\n", 0644);
    const std::string work = folder.path().string();
    for (auto [run, error] : {std::pair{ProcessRequest{"pwd", "/nonexistent/folder", "", ""}, ENOENT},
                              {ProcessRequest{"not-a-program", "", work, ""}, EACCES}}) {
        ProcessResult result = RunChild(run, output, nullptr);
        EXPECT_FALSE(result.started) << run.commandLine;
        EXPECT_EQ(result.startError, error) << run.commandLine;
    }
    EXPECT_EQ(output, "kept");
}

TEST(ProcessStart, RelativeProgramPathIsTakenFromTheParentsFolderAndRunsInTheWorkingFolder) {
    TempFolder program, work;
    program.Write("tool.sh", "#!/bin/sh\npwd\n", 0755);
    std::string previous = test::Shell("pwd");
    ASSERT_EQ(chdir(program.path().c_str()), 0);
    std::string output;
    bool ok = RunProcess("./tool.sh", work.path().string(), "", "", output);
    ASSERT_EQ(chdir(previous.substr(0, previous.size() - 1).c_str()), 0);
    EXPECT_EQ(std::tuple(ok, output), std::tuple(true, work.path().string() + "\n"));
}

TEST(ProcessSearchPath, ExtraFolderIsAppendedForTheChildOnly) {
    std::string output;
    EXPECT_TRUE(RunProcess(sh("printf %s \"$PATH\""), "", "", "", output));
    EXPECT_EQ(output, getenv("PATH"));
    ScopedEnv path("PATH", "/usr/bin:/bin");
    EXPECT_TRUE(RunProcess(sh("printf %s \"$PATH\""), "", "/opt/extra tools", "", output));
    EXPECT_EQ(output, "/usr/bin:/bin:/opt/extra tools");
    EXPECT_STREQ(getenv("PATH"), "/usr/bin:/bin");
    TempFolder folder;
    folder.Write("qorva-probe", "#!/bin/sh\necho found \"$1\"\n", 0755);
    EXPECT_TRUE(RunProcess("qorva-probe \"two words\"", "", folder.path().string(), "", output));
    EXPECT_EQ(output, "found two words\n");
    EXPECT_FALSE(RunProcess("qorva-probe", "", "", "", output));
}

// Fifty megabytes through cat would deadlock a runner that writes all before reading.
TEST(ProcessInput, LargeInputsDoNotDeadlockBytesArriveUnchangedAndAChildMayStopReadingEarly) {
    std::string input, output;
    input.reserve(50u << 20);
    for (int i = 0; input.size() < (50u << 20); ++i) input += "line " + std::to_string(i) + " of the input\n";
    EXPECT_TRUE(RunProcess("cat", "", "", input, output));
    EXPECT_TRUE(output == input) << output.size() << " of " << input.size() << " bytes";
    EXPECT_TRUE(RunProcess("od -An -tx1", "", "", std::string("caf\xc3\xa9\r\n\x01\xff", 9), output));
    EXPECT_EQ(test::Squeeze(output), "63 61 66 c3 a9 0d 0a 01 ff");
    EXPECT_TRUE(RunProcess("head -c 10", "", "", std::string(8u << 20, 'x'), output));
    EXPECT_EQ(output, "xxxxxxxxxx");
}

TEST(ProcessWaitHook, IsCalledWhileAChildRunsAndRemovedAfterwards) {
    int calls = 0;
    std::string output;
    {
        ScopedProcessWaitHook hook([&] { ++calls; });
        EXPECT_TRUE(RunProcess("sleep 0.5", "", "", "", output));
        EXPECT_GE(calls, 3);
    }
    const int before = calls;
    EXPECT_TRUE(RunProcess("sleep 0.3", "", "", "", output));
    EXPECT_EQ(calls, before);
}

// Whether a process still runs (a zombie waiting for its parent does not count).
bool processRuns(const std::string& pid) {
    std::string stat = test::Shell("cat /proc/" + pid + "/stat 2>/dev/null");
    const size_t close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z';
}

// A child that starts a grandchild and both would sleep for a minute: a time limit
// or a cancel stops the run at once and takes the grandchild with it.
TEST(ProcessLimits, TimeLimitAndCancelKillTheWholeProcessGroup) {
    for (const bool cancel : {false, true}) {
        TempFolder folder;
        const std::string pidFile = folder.File("grandchild");
        int checks = 0;
        ScopedToolRunLimits limits(std::chrono::milliseconds(cancel ? 60000 : 400),
                                   [&] { return cancel && ++checks > 3; });
        const auto start = std::chrono::steady_clock::now();
        std::string output;
        ProcessResult result =
            RunChild({sh("sleep 60 & echo $! > " + test::ShellQuote(pidFile) + "; echo started; sleep 60"), "", "", ""},
                     output, nullptr);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_LT(took, std::chrono::seconds(10)) << cancel;
        EXPECT_FALSE(result.succeeded());
        EXPECT_EQ(result.cancelled, cancel);
        EXPECT_EQ(result.timedOut, !cancel);
        EXPECT_EQ(output, "started\n");
        const std::string grandchild = test::Shell("cat " + test::ShellQuote(pidFile) + " | tr -d '\\n'");
        ASSERT_FALSE(grandchild.empty());
        for (int wait = 0; wait < 50 && processRuns(grandchild); ++wait) usleep(20000);
        EXPECT_FALSE(processRuns(grandchild)) << "grandchild " << grandchild << " survived";
        EXPECT_EQ(DescribeFailure("XeLaTeX", result),
                  cancel ? "XeLaTeX was cancelled." : "XeLaTeX did not finish within 1 second and was stopped.");
    }
}

// Should the program die meanwhile, the system still stops a spinning tool: its
// processor time is limited to a little over the run's time limit.
TEST(ProcessLimits, ChildProcessorTimeIsLimitedToo) {
    ScopedToolRunLimits limits(std::chrono::milliseconds(6500));
    std::string output;
    ASSERT_TRUE(RunProcess(sh("sleep 0.3; ulimit -t; ulimit -H -t"), "", "", "", output));
    EXPECT_EQ(output, "9\n14\n");
}

// A child that closes its output but goes on running is still held to the limit,
// and a child that finishes in time is untouched by it.
TEST(ProcessLimits, SilentChildIsStoppedAndQuickOneSucceeds) {
    ScopedToolRunLimits limits(std::chrono::milliseconds(300));
    std::string output;
    ProcessResult silent = RunChild({sh("exec >/dev/null 2>&1 </dev/null; sleep 60"), "", "", ""}, output, nullptr);
    EXPECT_TRUE(silent.timedOut);
    ProcessResult quick = RunChild({sh("echo done"), "", "", ""}, output, nullptr);
    EXPECT_TRUE(quick.succeeded());
    EXPECT_FALSE(quick.timedOut);
    EXPECT_EQ(output, "done\n");
}

// Command lines split with double-quote rules, and quoting that survives them.
using Args = std::vector<std::string>;

TEST(CommandLineSplit, WhitespaceSeparatesQuotesGroupAndBackslashesAreLiteralExceptBeforeAQuote) {
    const std::pair<std::string, Args> lines[] = {
        {"\"pandoc\" --from json  --to docx", {"pandoc", "--from", "json", "--to", "docx"}},
        {"\"/opt/tex live/bin/\"xelatex -version", {"/opt/tex live/bin/xelatex", "-version"}},
        {"a \"\" b", {"a", "", "b"}}, {R"(a\b c\\d)", {R"(a\b)", R"(c\\d)"}}, {R"("dir\\" next)", {R"(dir\)", "next"}},
    };
    for (const auto& [line, args] : lines) EXPECT_EQ(SplitCommandLine(line), args) << line;
}

TEST(CommandLineQuote, AnyArgumentSurvivesQuotingAndSplitting) {
    for (std::string argument : {"", "plain", "two words", "quote\"inside", "trailing\\", "back\\\\\"mixed",
                                 "tab\tand\nnewline", "\xc3\xa9t\xc3\xa9 \xe2\x86\xa9"}) {
        EXPECT_EQ(SplitCommandLine("prog " + QuoteArgument(argument) + " end"), (Args{"prog", argument, "end"}));
    }
}

}  // namespace
}  // namespace qorva
