#include "src/win/view/link_rules.h"

#include "convert/url_scheme.h"
#include "tools/files/file_url.h"

#include <array>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qorva {
namespace {

// The longest existing front of the path with its links resolved, then the rest.
std::string resolved(const std::string& path) {
    std::string front = path, rest;
    while (true) {
        char real[PATH_MAX];
        if (realpath(front.c_str(), real)) return NormalisedPath(std::string(real) + rest);
        const size_t slash = front.rfind('/');
        if (slash == std::string::npos || front == "/") return path;
        rest = front.substr(slash) + rest;
        front = slash == 0 ? "/" : front.substr(0, slash);
    }
}

bool endsWithIgnoringCase(const std::string& text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    for (size_t i = 0; i < suffix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[text.size() - suffix.size() + i])) != suffix[i]) return false;
    return true;
}

bool containsIgnoringCase(std::string_view text, std::string_view lowerWord) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find(lowerWord) != std::string::npos;
}

constexpr std::array<std::string_view, 25> kProgramEndings{
    ".desktop", ".kdelnk", ".sh",  ".bash", ".zsh", ".csh", ".ksh", ".fish", ".py",  ".pl",       ".rb",     ".php", ".js",
    ".jar",     ".exe",    ".com", ".bat",  ".cmd", ".ps1", ".vbs", ".msi",  ".run", ".appimage", ".command", ".bin"};

// %XX escapes decoded, again and again until none is left: a mail program may
// decode the address once more than the link's author seems to ask.
std::string fullyDecoded(std::string_view text) {
    std::string current(text);
    for (int round = 0; round < 8; ++round) {
        std::string next;
        for (size_t i = 0; i < current.size(); ++i) {
            if (current[i] == '%' && i + 2 < current.size() &&
                std::isxdigit(static_cast<unsigned char>(current[i + 1])) &&
                std::isxdigit(static_cast<unsigned char>(current[i + 2]))) {
                next += static_cast<char>(std::stoi(current.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                next += current[i];
            }
        }
        if (next == current) break;
        current = std::move(next);
    }
    return current;
}

// A mail link whose headers (after "?", once decoded) name a file to attach.
bool mailLinkAttaches(std::string_view url) {
    const std::string decoded = fullyDecoded(url);
    const size_t query = decoded.find('?');
    return query != std::string::npos && containsIgnoringCase(std::string_view(decoded).substr(query), "attach");
}

// What the desktop's type detection takes for a desktop entry, whatever the name.
bool startsLikeDesktopEntry(std::string_view head) {
    for (std::string_view start : {"[Desktop Action", "[KDE Desktop Entry]", "# Config File", "# KDE Config File"})
        if (head.substr(0, start.size()) == start) return true;
    return head.find("[Desktop Entry]") != std::string_view::npos;
}

}  // namespace

bool IsProgramOrScript(const std::string& path) {
    for (std::string_view ending : kProgramEndings)
        if (endsWithIgnoringCase(path, ending)) return true;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
    if (info.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) return true;
    char head[512] = {};
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    const ssize_t n = ::read(fd, head, sizeof head);
    ::close(fd);
    if (n <= 0) return false;
    const std::string_view start(head, static_cast<size_t>(n));
    return start.substr(0, 2) == "#!" || startsLikeDesktopEntry(start);
}

LinkDecision DecideFileLink(const std::string& path) {
    if (path.empty() || path.front() != '/') return {LinkAction::Refuse, path};
    const std::string real = resolved(NormalisedPath(path));
    return {IsProgramOrScript(real) ? LinkAction::AskProgram : LinkAction::OpenFile, real};
}

LinkDecision DecideUrlLink(std::string_view url) {
    url = TrimmedUrl(url);
    const std::string scheme = LeadingScheme(url);
    if (scheme == "file") {
        const std::string path = FileUrlPath(url);
        if (path.empty()) return {LinkAction::Refuse, std::string(url)};
        return DecideFileLink(path);
    }
    // Some mail programs attach the files a mailto: link names.
    if (scheme == "mailto" && mailLinkAttaches(url)) return {LinkAction::Refuse, std::string(url)};
    if (convert::isSafeUrlScheme(scheme)) return {LinkAction::OpenUrl, std::string(url)};
    return {LinkAction::Refuse, std::string(url)};
}

}  // namespace qorva
