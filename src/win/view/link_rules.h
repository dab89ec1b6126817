// What following a link in a document may do. Documents come from strangers, so a
// link opens only with a known scheme at its very start, a file link is resolved
// to the real file first, and a program, script or desktop entry is never handed to
// the desktop's opener (which would run it).
#pragma once

#include <string>
#include <string_view>

namespace qorva {

enum class LinkAction {
    OpenUrl,       // hand `target` (a web or mail address) to the desktop
    OpenFile,      // hand the local file or folder `target` to the desktop
    AskProgram,    // `target` is a program or script: ask, and at most show its folder
    Refuse,        // not a link this program follows
};

struct LinkDecision {
    LinkAction action = LinkAction::Refuse;
    std::string target;
};

// For a link the page took for a URL: http, https, ftp and mailto open as they
// are (but not a mail link that asks to attach a file, however it is encoded); a
// file: URL is decided as the local path it names; anything else is refused.
LinkDecision DecideUrlLink(std::string_view url);

// For an absolute local path: "." and ".." steps and symbolic links are resolved
// (as far as the path exists), then programs and scripts are told apart.
LinkDecision DecideFileLink(const std::string& path);

// A file the desktop's opener would run rather than show: anything executable, a
// desktop entry (".desktop", ".kdelnk", or any file that reads like one), a file
// starting with "#!", or a name ending like a script or program for another
// system (".sh", ".py", ".exe", ".jar", ...).
bool IsProgramOrScript(const std::string& path);

}  // namespace qorva
