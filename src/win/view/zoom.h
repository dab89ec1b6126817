// Zoom steps of the editor view. The factor is kept as text in the Zoom setting.
#pragma once

#include <string>
#include <string_view>

namespace qorva {

inline constexpr std::string_view kDefaultZoom = "1.0";

enum class ZoomCommand { Larger, Smaller, Reset };

// The zoom text after one command. Larger and Smaller step by one single-precision
// increment and keep the old text when the result would leave 0.6 to 3.0.
std::string NextZoomText(std::string_view current, ZoomCommand command);

// The zoom as a whole percentage for people (an unreadable text counts as 100), and
// back: 100 gives the default text, anything else is kept within 60 to 300.
int ZoomPercent(std::string_view zoom);
std::string ZoomTextForPercent(int percent);
inline constexpr int kSmallestZoomPercent = 60, kLargestZoomPercent = 300;

}  // namespace qorva
