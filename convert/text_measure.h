// Small text helpers shared by the writers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qorva::convert {

// Length of UTF-8 text in UTF-16 code units, the unit line widths are counted in.
// Bytes of broken sequences count one each.
std::size_t utf16Length(std::string_view text);

// The shortest decimal that reads back as the same double, never in exponent
// form ("0.05", "0.3333333333333333"), as LaTeX dimensions need plain decimals.
std::string shortestDecimal(double value);

}  // namespace qorva::convert
