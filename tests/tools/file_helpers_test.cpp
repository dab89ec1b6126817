// Whole-file reading and atomic writing, temporary work folders, error texts.
#include "src/win/tools/file_helpers.h"
#include "tests/tools/tool_test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace qorva {
namespace {

using test::EnvOverride;
using test::ScratchFolder;

// Runs `body` in a child process and returns its exit code; used to drop root's
// privileges, which would otherwise ignore file permissions.
int inChild(const std::function<int()>& body) {
    pid_t pid = fork();
    if (pid == 0) _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

const std::string kOddBytes("line one\r\nnul\0here \xff\xfe invalid \xc3 utf-8\n", 39);

TEST(ReadWholeFile, ReturnsTheBytesExactly) {
    ScratchFolder folder;
    std::string path = folder.write("odd.bin", kOddBytes);
    EXPECT_EQ(ReadWholeFile(path), kOddBytes);
    EXPECT_EQ(ReadWholeFile(folder.write("empty", "")), "");
}

TEST(ReadWholeFile, MissingFileRaisesAnErrorNamingPathAndReason) {
    try {
        ReadWholeFile("/nonexistent/doc.text");
        FAIL() << "no error raised";
    } catch (const FileError& error) {
        EXPECT_STREQ(error.what(), "/nonexistent/doc.text: No such file or directory");
        EXPECT_EQ(error.errorCode(), ENOENT);
    }
}

TEST(ReadWholeFile, FolderIsNotReadAsAFile) {
    ScratchFolder folder;
    EXPECT_THROW(ReadWholeFile(folder.path()), FileError);
}

TEST(WriteWholeFile, CreatesAndReplacesWithExactBytes) {
    ScratchFolder folder;
    std::string path = folder.file("out.html");
    WriteWholeFile(path, kOddBytes);
    EXPECT_EQ(ReadWholeFile(path), kOddBytes);
    WriteWholeFile(path, "short");
    EXPECT_EQ(ReadWholeFile(path), "short");
    EXPECT_EQ(test::FolderEntries(folder.path()), std::vector<std::string>{"out.html"});
}

unsigned modeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 0777;
}

TEST(WriteWholeFile, ANewFileGetsTheUsualOrTheGivenModeAReplacedFileKeepsItsOwn) {
    ScratchFolder folder;
    mode_t old = umask(022);
    WriteWholeFile(folder.file("new.html"), "x");
    umask(old);
    EXPECT_EQ(modeOf(folder.file("new.html")), 0644u);
    WriteWholeFile(folder.file("private.json"), "{}", 0600);
    EXPECT_EQ(modeOf(folder.file("private.json")), 0600u);
    std::string kept = folder.write("private.tex", "old", 0600);
    WriteWholeFile(kept, "new");
    EXPECT_EQ(modeOf(kept), 0600u);
    std::string shared = folder.write("shared.json", "old", 0644);
    WriteWholeFile(shared, "new", 0600);
    EXPECT_EQ(modeOf(shared), 0644u);
}

TEST(WriteWholeFile, WritingThroughASymbolicLinkUpdatesTheLinkedFile) {
    ScratchFolder folder;
    std::string real = folder.write("real.text", "old");
    ASSERT_EQ(symlink("real.text", folder.file("link.text").c_str()), 0);
    WriteWholeFile(folder.file("link.text"), "new");
    EXPECT_EQ(ReadWholeFile(real), "new");
    struct stat info {};
    ASSERT_EQ(lstat(folder.file("link.text").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST(WriteWholeFile, FailedWriteOnAFullDiskLeavesTheOldFileIntact) {
    ScratchFolder folder;
    std::string path = folder.write("doc.html", "the old document");
    // A file-size limit makes the write fail part-way, as a full disk would.
    int code = inChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            WriteWholeFile(path, std::string(100000, 'n'));
        } catch (const FileError& error) {
            return error.errorCode() == EFBIG ? 0 : 2;
        }
        return 1;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ReadWholeFile(path), "the old document");
    EXPECT_EQ(test::FolderEntries(folder.path()), std::vector<std::string>{"doc.html"});
}

TEST(WriteWholeFile, UnwritableFolderLeavesTheOldFileIntact) {
    ScratchFolder folder;
    std::string path = folder.write("doc.html", "the old document");
    ASSERT_EQ(chmod(folder.path().c_str(), 0555), 0);
    int code = inChild([&] {
        if (geteuid() == 0 && setuid(65534) != 0) return 3;
        try {
            WriteWholeFile(path, "replacement");
        } catch (const FileError& error) {
            return error.errorCode() == EACCES ? 0 : 2;
        }
        return 1;
    });
    chmod(folder.path().c_str(), 0755);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ReadWholeFile(path), "the old document");
}

TEST(WriteWholeFile, MissingFolderOrFolderAsTargetRaisesAnError) {
    ScratchFolder folder;
    EXPECT_THROW(WriteWholeFile("/nonexistent/folder/out.html", "x"), FileError);
    EXPECT_THROW(WriteWholeFile(folder.path(), "x"), FileError);
}

TEST(MoveFileReplacing, ReplacesTheTarget) {
    ScratchFolder folder;
    std::string source = folder.write("x.pdf", "%PDF new");
    std::string target = folder.write("out.pdf", "%PDF old");
    MoveFileReplacing(source, target);
    EXPECT_EQ(ReadWholeFile(target), "%PDF new");
    EXPECT_FALSE(FileExists(source));
}

TEST(MoveFileReplacing, CopiesAcrossFileSystems) {
    struct stat shm {}, tmp {};
    if (stat("/dev/shm", &shm) != 0 || stat("/tmp", &tmp) != 0 || shm.st_dev == tmp.st_dev)
        GTEST_SKIP() << "no second file system to move across";
    ScratchFolder folder;
    std::string source = "/dev/shm/qorva-move-test-" + std::to_string(getpid());
    FILE* file = fopen(source.c_str(), "w");
    ASSERT_NE(file, nullptr);
    fputs("%PDF across", file);
    fclose(file);
    MoveFileReplacing(source, folder.file("out.pdf"));
    EXPECT_EQ(ReadWholeFile(folder.file("out.pdf")), "%PDF across");
    EXPECT_FALSE(FileExists(source));
}

TEST(TempFolder, IsNewEmptyAndNamedWithTheTexPrefix) {
    ScratchFolder base;
    EnvOverride tmp("TMPDIR", base.path());
    std::string first, second;
    ASSERT_TRUE(MakeTempFolder(first));
    ASSERT_TRUE(MakeTempFolder(second));
    EXPECT_NE(first, second);
    EXPECT_EQ(FolderOf(first), base.path());
    EXPECT_EQ(first.substr(base.path().size() + 1, 3), "TEX");
    EXPECT_TRUE(FolderExists(first));
    EXPECT_TRUE(test::FolderEntries(first).empty());
}

TEST(TempFolder, FailsWhenTheTemporaryFolderIsMissing) {
    EnvOverride tmp("TMPDIR", "/nonexistent/tmp");
    std::string path = "unchanged";
    EXPECT_FALSE(MakeTempFolder(path));
    EXPECT_EQ(path, "unchanged");
}

TEST(TempFolder, RemovalDeletesFilesAndTheFolder) {
    std::string path;
    ASSERT_TRUE(MakeTempFolder(path));
    for (auto name : {"x.tex", "x.aux", "x.log", "x.pdf"}) WriteWholeFile(JoinPath(path, name), "data");
    RemoveTempFolder(path);
    EXPECT_FALSE(FolderExists(path));
}

TEST(TempFolder, RemovalLeavesAFolderThatHoldsASubFolder) {
    std::string path;
    ASSERT_TRUE(MakeTempFolder(path));
    WriteWholeFile(JoinPath(path, "x.tex"), "data");
    ASSERT_EQ(mkdir(JoinPath(path, "sub").c_str(), 0755), 0);
    RemoveTempFolder(path);
    EXPECT_TRUE(FolderExists(path));
    EXPECT_EQ(test::FolderEntries(path), std::vector<std::string>{"sub"});
    rmdir(JoinPath(path, "sub").c_str());
    rmdir(path.c_str());
}

TEST(SystemErrorText, GivesTheSystemsMessage) {
    EXPECT_EQ(SystemErrorText(ENOENT), "No such file or directory");
    EXPECT_EQ(SystemErrorText(EACCES), "Permission denied");
}

TEST(PathHelpers, FolderOfAndJoin) {
    EXPECT_EQ(FolderOf("/home/a/doc.text"), "/home/a");
    EXPECT_EQ(FolderOf("/doc.text"), "/");
    EXPECT_EQ(FolderOf("doc.text"), ".");
    EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(AbsolutePath("/x/y"), "/x/y");
    EXPECT_EQ(AbsolutePath("y"), CurrentFolder() + "/y");
}

}  // namespace
}  // namespace qorva
