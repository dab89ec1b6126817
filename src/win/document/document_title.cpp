#include "src/win/document/document_title.h"

#include <array>
#include <charconv>

namespace qorva {

std::string DocumentTitle(std::string_view path, bool welcome, bool modified) {
    if (welcome && path.empty() && !modified) return "Welcome - Qorva";
    return std::string(path.empty() ? "Untitled" : path) + (modified ? "*" : "") + " - Qorva";
}

std::string CountSuffix(CountDisplay mode, const std::function<int()>& selectedCount,
                        const std::function<int()>& totalCount) {
    if (mode == CountDisplay::None) return "";
    const bool words = mode == CountDisplay::Words;
    const std::string singular = words ? "Word" : "Character";
    const std::string plural = words ? "Words" : "Characters";
    int selected = selectedCount();
    if (selected == 1) return " - 1 " + singular + " Selected";
    if (selected > 1) return " - " + std::to_string(selected) + " " + plural + " Selected";
    int total = totalCount();
    if (total == 1) return " - 1 " + singular;
    return " - " + std::to_string(total) + " " + plural;
}

namespace {

// 1234567 gives "1,234,567".
std::string Grouped(long long number) {
    std::string digits = std::to_string(number), grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

std::string Counted(long long number, std::string_view one, std::string_view many) {
    return Grouped(number) + " " + std::string(number == 1 ? one : many);
}

}  // namespace

std::optional<PageCounts> ParseCounts(std::string_view counts) {
    std::array<long long, 4> numbers{};
    const char* at = counts.data();
    const char* end = counts.data() + counts.size();
    for (long long& number : numbers) {
        while (at < end && *at == ' ') ++at;
        auto [next, error] = std::from_chars(at, end, number);
        if (error != std::errc() || number < 0) return std::nullopt;
        at = next;
    }
    return PageCounts{numbers[0], numbers[1], numbers[2], numbers[3]};
}

std::string StatusLineText(std::string_view counts) {
    const std::optional<PageCounts> read = ParseCounts(counts);
    if (!read) return {};
    const auto [words, characters, selectedWords, selectedCharacters] = *read;
    // An unhurried reader's pace.
    constexpr long long kWordsPerMinute = 230;
    const long long minutes = (words + kWordsPerMinute - 1) / kWordsPerMinute;
    std::string text;
    if (selectedCharacters > 0) {
        text = "Selected: " + Counted(selectedWords, "word", "words") + ", " +
               Counted(selectedCharacters, "character", "characters") + "    ";
    }
    return text + Counted(words, "word", "words") + ", " + Counted(characters, "character", "characters") + ", " +
           Grouped(minutes) + " min read";
}

}  // namespace qorva
