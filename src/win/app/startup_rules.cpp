#include "src/win/app/startup_rules.h"

#include <algorithm>

namespace qorva {

std::string JoinCommandLine(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty()) line += ' ';
        line += argument;
    }
    return line;
}

std::string CommandLineArgument(const std::string& commandLine) {
    if (commandLine.empty() || commandLine.front() != '"') return commandLine;
    const std::size_t close = commandLine.find('"', 1);
    return commandLine.substr(1, close == std::string::npos ? std::string::npos : close - 1);
}

FirstDocument ChooseFirstDocument(const std::string& commandLine) {
    if (commandLine.empty()) return {FirstDocumentKind::WelcomeIfFirstRun, {}};
    std::string argument = CommandLineArgument(commandLine);
    if (argument == "--welcome") return {FirstDocumentKind::Welcome, {}};
    if (argument.empty()) return {FirstDocumentKind::Untitled, {}};
    return {FirstDocumentKind::File, argument};
}

std::pair<int, int> CentreOnWorkArea(int width, int height, const Rect& area) {
    auto place = [](int start, int length, int size) {
        int position = start + length / 2 - size / 2;
        if (position < start) return start;
        if (position + size > start + length) return start + length - size;
        return position;
    };
    return {place(area.left, area.width, width), place(area.top, area.height, height)};
}

Rect FirstWindowRect(const Rect& area) {
    constexpr int kLeastWidth = 700, kLeastHeight = 480, kMostWidth = 1200;
    const int width = std::min(area.width, std::clamp(area.width * 3 / 5, kLeastWidth, kMostWidth));
    const int height = std::min(area.height, std::max(area.height * 17 / 20, kLeastHeight));
    const auto [left, top] = CentreOnWorkArea(width, height, area);
    return {left, top, width, height};
}

Rect FitToWorkArea(const Rect& stored, const Rect& area) {
    const int width = std::min(stored.width, area.width), height = std::min(stored.height, area.height);
    const int left = std::clamp(stored.left, area.left, area.left + area.width - width);
    const int top = std::clamp(stored.top, area.top, area.top + area.height - height);
    return {left, top, width, height};
}

}  // namespace qorva

namespace qorva {

std::string FileVersionText(const std::string& version) {
    unsigned parts[4] = {0, 0, 0, 0};
    std::size_t index = 0, position = 0;
    while (index < 4 && position <= version.size()) {
        const std::size_t dot = version.find('.', position);
        const std::string part = version.substr(position, dot == std::string::npos ? dot : dot - position);
        unsigned value = 0;
        for (char c : part) {
            if (c < '0' || c > '9') break;
            value = value * 10 + static_cast<unsigned>(c - '0');
        }
        parts[index++] = value & 0xFFFF;
        if (dot == std::string::npos) break;
        position = dot + 1;
    }
    std::string text = std::to_string(parts[0]) + "." + std::to_string(parts[1]);
    if (parts[2] != 0 || parts[3] != 0) {
        text += "." + std::to_string(parts[2]) + "." + std::to_string(parts[3]);
    }
    return text;
}

}  // namespace qorva
