#include "src/win/clipboard/cf_html.h"

#include <cstdio>

namespace qorva {
namespace {

std::string TenDigits(size_t value) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.10zu", value);
    return digits;
}

std::string Envelope(std::string_view html, const std::string& start, const std::string& end) {
    std::string out = "Version:0.9\nStartHTML:-1\nEndHTML:-1\nStartFragment:" + start + "\nEndFragment:" + end + "\n";
    out += kStartFragmentMarker;
    out += html;
    out += kEndFragmentMarker;
    return out;
}

}  // namespace

std::string BuildCfHtml(std::string_view html) {
    // First pass with placeholder numbers of the final width, so the offsets found
    // in it hold for the second pass too.
    const std::string zeros = "0000000000";
    std::string draft = Envelope(html, zeros, zeros);
    size_t start = draft.find(kStartFragmentMarker) + kStartFragmentMarker.size();
    size_t end = draft.find(kEndFragmentMarker);
    return Envelope(html, TenDigits(start), TenDigits(end));
}

std::string ExtractCfHtmlFragment(std::string_view envelope) {
    size_t start = envelope.find(kStartFragmentMarker);
    if (start == std::string_view::npos) return {};
    start += kStartFragmentMarker.size();
    size_t end = envelope.find(kEndFragmentMarker, start);
    if (end == std::string_view::npos) return {};
    return std::string(envelope.substr(start, end - start));
}

}  // namespace qorva
