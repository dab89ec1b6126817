#include "src/win/tools/link_rules.h"

#include "convert/url_scheme.h"

#include <array>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace qorva {
namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

// The scheme only when it stands at the very start: letters, digits, "+", "-" and
// "." up to the first ":", nothing skipped or ignored on the way.
std::string leadingScheme(std::string_view url) {
    std::string scheme;
    for (char c : url) {
        if (c == ':') return scheme;
        const bool letter = std::isalpha(static_cast<unsigned char>(c)) && static_cast<unsigned char>(c) < 0x80;
        const bool other = !scheme.empty() && (std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.');
        if (!letter && !other) return {};
        scheme += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return {};
}

// "/a/./b/../c" gives "/a/c"; ".." at the root stays at the root.
std::string normalised(std::string_view path) {
    std::vector<std::string_view> parts;
    for (size_t start = 0; start <= path.size();) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out;
    for (std::string_view part : parts) {
        out += '/';
        out += part;
    }
    return out.empty() ? "/" : out;
}

// The longest existing front of the path with its links resolved, then the rest.
std::string resolved(const std::string& path) {
    std::string front = path, rest;
    while (true) {
        char real[PATH_MAX];
        if (realpath(front.c_str(), real)) return normalised(std::string(real) + rest);
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

std::string FileUrlPath(std::string_view url) {
    url = trimmed(url);
    if (leadingScheme(url) != "file") return {};
    std::string_view rest = url.substr(5);
    if (rest.substr(0, 2) == "//") {
        rest.remove_prefix(2);
        const size_t slash = rest.find('/');
        const std::string_view host = rest.substr(0, slash);
        if (!host.empty() && host != "localhost") return {};
        rest = slash == std::string_view::npos ? std::string_view("/") : rest.substr(slash);
    }
    rest = rest.substr(0, rest.find_first_of("?#"));
    std::string path;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() && std::isxdigit(static_cast<unsigned char>(rest[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(rest[i + 2]))) {
            path += static_cast<char>(std::stoi(std::string(rest.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            path += rest[i];
        }
    }
    if (path.empty() || path.front() != '/' || path.find('\0') != std::string::npos) return {};
    return normalised(path);
}

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
    const std::string real = resolved(normalised(path));
    return {IsProgramOrScript(real) ? LinkAction::AskProgram : LinkAction::OpenFile, real};
}

LinkDecision DecideUrlLink(std::string_view url) {
    url = trimmed(url);
    const std::string scheme = leadingScheme(url);
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
