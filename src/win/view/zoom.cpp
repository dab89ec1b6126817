#include "src/win/view/zoom.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace qorva {
namespace {

constexpr float kZoomStep = 0.09544511139392853f;
constexpr double kMinimumZoom = 0.6;
constexpr double kMaximumZoom = 3.0;

// A stored text that is not a number (hand-edited or damaged settings) counts as
// the default, so Larger and Smaller still work from there.
float ParseZoom(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    float value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data() || !(value > 0)) return 1.0f;
    return value;
}

}  // namespace

std::string NextZoomText(std::string_view current, ZoomCommand command) {
    if (command == ZoomCommand::Reset) return std::string(kDefaultZoom);
    float zoom = ParseZoom(current);
    zoom = command == ZoomCommand::Larger ? zoom + kZoomStep : zoom - kZoomStep;
    if (zoom < kMinimumZoom || zoom > kMaximumZoom) return std::string(current);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%f", static_cast<double>(zoom));
    return buffer;
}

int ZoomPercent(std::string_view zoom) { return static_cast<int>(std::lround(ParseZoom(zoom) * 100.0)); }

std::string ZoomTextForPercent(int percent) {
    if (percent == 100) return std::string(kDefaultZoom);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%f", std::clamp(percent, kSmallestZoomPercent, kLargestZoomPercent) / 100.0);
    return buffer;
}

}  // namespace qorva
