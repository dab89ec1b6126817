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

}  // namespace qorva
