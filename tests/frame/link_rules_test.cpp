// Following links: which texts open, what a file link resolves to, and which files
// are programs that must not be handed to the desktop's opener.
#include "src/win/view/link_rules.h"
#include "tools/files/file_url.h"
#include "tests/frame/temp_folder.h"
#include <gtest/gtest.h>

namespace qorva {
namespace {

using testing::TempFolder;

TEST(LinkRules, OnlyAnAllowedSchemeAtTheStartOpensAUrl) {
    const std::pair<const char*, LinkAction> links[] = {
        {"http://example.org/a?b=c", LinkAction::OpenUrl},
        {"  HTTPS://example.org ", LinkAction::OpenUrl},
        {"ftp://host/file", LinkAction::OpenUrl},
        {"mailto:someone@example.org?subject=Hi", LinkAction::OpenUrl},
        {"mailto:someone@example.org?attach=/tmp/x", LinkAction::Refuse},
        {"mailto:a@b.c?%61ttach=/tmp/x", LinkAction::Refuse}, {"mailto:a@b.c%3FATTAC%2548=/tmp/x", LinkAction::Refuse},
        {"mailto:attach%40example.org?subject=Hi", LinkAction::OpenUrl},
        {"javascript:alert(1)//http://a.b", LinkAction::Refuse},
        {"smb://host/share http://x.y", LinkAction::Refuse},
        {"see http://a.b", LinkAction::Refuse},
        {"java\tscript:alert(1)", LinkAction::Refuse}, {"data:text/html,<script>", LinkAction::Refuse},
        {"file://otherhost/etc/hosts", LinkAction::Refuse},
        {"file:relative/path", LinkAction::Refuse}, {"", LinkAction::Refuse},
    };
    for (const auto& [url, action] : links) EXPECT_EQ(DecideUrlLink(url).action, action) << url;
}

TEST(LinkRules, FileUrlsAreDecodedAndResolvedBeforeAnythingElse) {
    const std::pair<const char*, const char*> urls[] = {
        {"file:///../etc/shadow", "/etc/shadow"},
        {"file://localhost/a/./b/../../../c%20d", "/c d"},
        {"file:/tmp/x?query#part", "/tmp/x"}, {"FILE:///a//b/", "/a/b"},
        {"file:///a%00b", ""},
        {"http:///a", ""},
    };
    for (const auto& [url, path] : urls) EXPECT_EQ(FileUrlPath(url), path) << url;
    EXPECT_EQ(DecideUrlLink("file:///../../etc/hostname").target, "/etc/hostname");
}

TEST(LinkRules, ProgramsScriptsAndDesktopEntriesAreAskedAboutEvenBehindALink) {
    TempFolder folder;
    const std::string document = folder.Write("notes.txt", "just text\n");
    const std::string executable = folder.Write("tool", "\x7f" "ELF", 0755);
    const std::string script = folder.Write("run-me", "#!/bin/sh\necho hi\n");
    const std::string entry = folder.Write("App.Desktop", "[Desktop Entry]\nExec=xterm\n");
    const std::string python = folder.Write("x.py", "print(1)\n");
    std::filesystem::create_symlink(executable, folder.File("innocent.txt"));
    const std::pair<std::string, LinkAction> files[] = {
        {document, LinkAction::OpenFile}, {folder.path(), LinkAction::OpenFile},
        {folder.File("missing.pdf"), LinkAction::OpenFile}, {executable, LinkAction::AskProgram},
        {script, LinkAction::AskProgram}, {entry, LinkAction::AskProgram}, {python, LinkAction::AskProgram},
        {folder.Write("App.kdelnk", "Exec=xterm\n"), LinkAction::AskProgram},  // desktop entries, by name or content
        {folder.Write("letter.pdf", "# made by hand\n[Desktop Entry]\nExec=xterm\n"), LinkAction::AskProgram},
        {folder.File("innocent.txt"), LinkAction::AskProgram},
        {folder.path().string() + "/sub/../tool", LinkAction::AskProgram}, {"relative/path", LinkAction::Refuse},
    };
    for (const auto& [path, action] : files) EXPECT_EQ(DecideFileLink(path).action, action) << path;
    // The link is shown and opened as the file it really is.
    EXPECT_EQ(DecideFileLink(folder.File("innocent.txt")).target, executable);
    EXPECT_EQ(DecideUrlLink("file://" + folder.path().string() + "/x/../notes.txt").target, document);
}

}  // namespace
}  // namespace qorva
