// Whole-file reading and atomic writing, temporary work folders, error texts.
#include "tools/files/file_io.h"
#include "tests/tools/tool_test_support.h"
#include <gtest/gtest.h>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#include <functional>

namespace qorva {
namespace {

using testing::ScopedEnv;
using testing::TempFolder;

// Runs `body` in a child process and returns its exit code; used for limits and for
// dropping root's privileges, which would otherwise ignore file permissions.
int inChild(const std::function<int()>& body) {
    pid_t pid = fork();
    if (pid == 0) _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

// The error code and text of the FileError `action` raises; -1 when it raises none.
std::pair<int, std::string> fileErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FileError& error) {
        return {error.errorCode(), error.what()};
    }
    return {-1, ""};
}
// 0 when WriteWholeFile(path, bytes) fails with `expected`.
int failsWith(const std::string& path, const std::string& bytes, int expected) {
    return fileErrorOf([&] { WriteWholeFile(path, bytes); }).first == expected ? 0 : 2;
}

unsigned modeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 0777;
}

const std::string kOddBytes("line one\r\nnul\0here \xff\xfe invalid \xc3 utf-8\n", 39);

TEST(ReadWholeFile, ReturnsTheBytesExactlyWithinItsBoundAndNamesPathAndReasonOnFailure) {
    TempFolder folder;
    EXPECT_EQ(ReadWholeFile(folder.Write("odd.bin", kOddBytes), kOddBytes.size()), kOddBytes);
    EXPECT_EQ(fileErrorOf([&] { ReadWholeFile(folder.File("odd.bin"), kOddBytes.size() - 1); }).first, EFBIG);
    EXPECT_EQ(ReadWholeFile(folder.Write("empty", "")), "");
    EXPECT_EQ(fileErrorOf([&] { ReadWholeFile("/nonexistent/doc.text"); }),
              std::pair(ENOENT, std::string("/nonexistent/doc.text: No such file or directory")));
}

TEST(WriteWholeFile, CreatesAndReplacesWithExactBytesThroughSymbolicLinks) {
    TempFolder folder;
    std::string path = folder.File("out.html");
    for (const std::string& bytes : {kOddBytes, std::string("short")}) {
        WriteWholeFile(path, bytes);
        EXPECT_EQ(ReadWholeFile(path), bytes);
    }
    EXPECT_EQ(test::FolderEntries(folder.path()), std::vector<std::string>{"out.html"});
    ASSERT_EQ(symlink("out.html", folder.File("link.html").c_str()), 0);
    WriteWholeFile(folder.File("link.html"), "new");
    EXPECT_EQ(ReadWholeFile(path), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link.html")));
    EXPECT_EQ(fileErrorOf([&] { WriteWholeFile("/nonexistent/folder/out.html", "x"); }).first, ENOENT);
}

TEST(WriteWholeFile, AGivenModeAppliesToANewFileOnly) {
    TempFolder folder;
    const mode_t old = umask(022);
    // name, mode of the file already there (0: none), mode asked for (0: none), mode after
    const std::tuple<const char*, int, int, unsigned> cases[] = {
        {"new.html", 0, 0, 0644}, {"private.json", 0, 0600, 0600}, {"private.tex", 0600, 0, 0600}, {"shared.json", 0644, 0600, 0644}};
    for (const auto& [name, before, asked, after] : cases) {
        if (before) folder.Write(name, "old", before);
        asked ? WriteWholeFile(folder.File(name), "new", asked) : WriteWholeFile(folder.File(name), "new");
        EXPECT_EQ(modeOf(folder.File(name)), after) << name;
    }
    umask(old);
}

TEST(WriteWholeFile, FailedWritesLeaveTheOldFileIntact) {
    TempFolder folder;
    std::string path = folder.Write("doc.html", "the old document");
    // A file-size limit makes the write fail part-way, as a full disk would.
    EXPECT_EQ(inChild([&] {
                  signal(SIGXFSZ, SIG_IGN);
                  rlimit limit{4096, 4096};
                  setrlimit(RLIMIT_FSIZE, &limit);
                  return failsWith(path, std::string(100000, 'n'), EFBIG);
              }),
              0);
    EXPECT_EQ(ReadWholeFile(path), "the old document");
    EXPECT_EQ(test::FolderEntries(folder.path()), std::vector<std::string>{"doc.html"});
    ASSERT_EQ(chmod(folder.path().c_str(), 0555), 0);
    int code = inChild([&] { return geteuid() == 0 && setuid(65534) != 0 ? 3 : failsWith(path, "replacement", EACCES); });
    chmod(folder.path().c_str(), 0755);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ReadWholeFile(path), "the old document");
}

TEST(WriteWholeFile, AReadOnlyFileIsRefusedWithTheSystemsReasonForRootAndForOthers) {
    TempFolder folder;
    ASSERT_EQ(chmod(folder.path().c_str(), 0777), 0);
    std::string path = folder.Write("kept.text", "read-only content", 0444);
    EXPECT_EQ(failsWith(path, "replacement", EACCES), 0);
    EXPECT_EQ(inChild([&] { return geteuid() == 0 && setuid(65534) != 0 ? 3 : failsWith(path, "other", EACCES); }), 0);
    EXPECT_EQ(ReadWholeFile(path), "read-only content");
    EXPECT_EQ(modeOf(path), 0444u);
    EXPECT_EQ(test::FolderEntries(folder.path()), std::vector<std::string>{"kept.text"});
}

TEST(WriteWholeFile, RemovesOnlyItsOwnStaleTemporariesNeverAUsersFile) {
    TempFolder folder;
    std::string path = folder.Write("doc.text", "old");
    // A writer that was killed left its temporary unlocked; a live one holds its lock.
    folder.Write(".doc.text.qorva-Ab12Cd.tmp", "half a document");
    std::string live = folder.Write(".doc.text.qorva-Xy34Zw.tmp", "being written");
    int liveFd = open(live.c_str(), O_RDONLY);
    ASSERT_EQ(flock(liveFd, LOCK_EX), 0);
    // Users' files and other programs' temporaries (rsync's have the form .NAME.XXXXXX).
    for (const char* other : {".doc.text.backup", ".doc.text.notes1", ".doc.text.Ab12Cd", ".doc.text.qorva-Ab12Cd",
                              ".other.text.qorva-Ab12Cd.tmp", "doc.text.qorva-Ab12Cd.tmp"}) {
        folder.Write(other, "not ours");
    }
    ASSERT_EQ(symlink("doc.text", folder.File(".doc.text.qorva-Li12nk.tmp").c_str()), 0);
    WriteWholeFile(path, "new");
    close(liveFd);
    EXPECT_EQ(ReadWholeFile(path), "new");
    EXPECT_EQ(test::FolderEntries(folder.path()),
              (std::vector<std::string>{".doc.text.Ab12Cd", ".doc.text.backup", ".doc.text.notes1", ".doc.text.qorva-Ab12Cd",
                                        ".doc.text.qorva-Li12nk.tmp", ".doc.text.qorva-Xy34Zw.tmp",
                                        ".other.text.qorva-Ab12Cd.tmp", "doc.text", "doc.text.qorva-Ab12Cd.tmp"}));
}

// Pipes, devices and folders, also behind links, are neither read nor replaced:
// a pipe would hang the reader, a device never ends, and a rename would put a
// regular file where the node was.
TEST(FileIo, OnlyRegularFilesAreReadOrReplaced) {
    TempFolder folder;
    ASSERT_EQ(mkfifo(folder.File("pipe").c_str(), 0644), 0);
    std::vector<std::string> nodes = {"pipe", "to-pipe", "sub"};
    ASSERT_EQ(symlink("pipe", folder.File("to-pipe").c_str()), 0);
    std::filesystem::create_directory(folder.path() / "sub");
    // As root, a node of the null device (reads end at once, writes are dropped).
    if (geteuid() == 0 && mknod(folder.File("device").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        ASSERT_EQ(symlink("device", folder.File("to-device").c_str()), 0);
        nodes.insert(nodes.end(), {"device", "to-device"});
    }
    auto typeOf = [&](const std::string& name) { return std::filesystem::status(folder.File(name)).type(); };
    for (const std::string& name : nodes) {
        const auto type = typeOf(name);
        // In a child with an alarm: a read that hangs fails instead of stopping the suite.
        EXPECT_EQ(inChild([&] { return alarm(5), fileErrorOf([&] { ReadWholeFile(folder.File(name)); }).first == -1; }), 0)
            << name;
        EXPECT_NE(fileErrorOf([&] { WriteWholeFile(folder.File(name), "x"); }).first, -1) << name;
        EXPECT_NE(fileErrorOf([&] { MoveFileReplacing(folder.Write("x.pdf", "%PDF"), folder.File(name)); }).first, -1) << name;
        EXPECT_EQ(typeOf(name), type) << name << " keeps its kind";
    }
}

TEST(MoveFileReplacing, ReplacesTheTargetUnlessReadOnlyAndCopiesAcrossFileSystems) {
    TempFolder folder;
    std::string source = folder.Write("x.pdf", "%PDF new");
    std::string target = folder.Write("out.pdf", "%PDF old");
    MoveFileReplacing(source, target);
    EXPECT_EQ(ReadWholeFile(target), "%PDF new");
    EXPECT_FALSE(FileExists(source));
    // A read-only target is refused with the system's reason and kept, as by a save.
    std::string readOnly = folder.Write("kept.pdf", "%PDF kept", 0444);
    std::string next = folder.Write("y.pdf", "%PDF next");
    EXPECT_EQ(fileErrorOf([&] { MoveFileReplacing(next, readOnly); }).first, EACCES);
    EXPECT_EQ(ReadWholeFile(readOnly), "%PDF kept");
    struct stat shm {}, tmp {};
    if (stat("/dev/shm", &shm) != 0 || stat("/tmp", &tmp) != 0 || shm.st_dev == tmp.st_dev)
        GTEST_SKIP() << "no second file system to move across";
    std::string across = "/dev/shm/qorva-move-test-" + std::to_string(getpid());
    WriteWholeFile(across, "%PDF across");
    MoveFileReplacing(across, target);
    EXPECT_EQ(ReadWholeFile(target), "%PDF across");
    EXPECT_FALSE(FileExists(across));
}

TEST(TexWorkFolder, IsNewAndNamedWithTheTexPrefixRemovalLeavesOnlyASubFolderAndNoTemporaryFolderFails) {
    TempFolder base;
    {
        ScopedEnv tmp("TMPDIR", base.path());
        std::string flat, nested;
        ASSERT_TRUE(MakeTempFolder(flat) && MakeTempFolder(nested));
        EXPECT_NE(flat, nested);
        EXPECT_EQ(flat.substr(0, base.path().string().size() + 4), base.path().string() + "/TEX");
        EXPECT_TRUE(test::FolderEntries(flat).empty());
        for (auto folder : {flat, nested}) WriteWholeFile(JoinPath(folder, "x.tex"), "data");
        ASSERT_TRUE(std::filesystem::create_directory(JoinPath(nested, "sub")));
        RemoveTempFolder(flat);
        RemoveTempFolder(nested);
        EXPECT_FALSE(FolderExists(flat));
        EXPECT_EQ(test::FolderEntries(nested), std::vector<std::string>{"sub"});
    }
    ScopedEnv tmp("TMPDIR", "/nonexistent/tmp");
    std::string path = "unchanged";
    EXPECT_FALSE(MakeTempFolder(path));
    EXPECT_EQ(path, "unchanged");
}

}  // namespace
}  // namespace qorva
