// Writing strong emphasis and emphasis, with the code and emphasis nested in them, in
// the text format's inline mark-up.
#pragma once

#include "model/model_view.h"

#include <cstddef>
#include <string>

namespace qorva {

// Writes the run of spans from `first` (before `end`) that one pair of marks holds and
// sets `next` to the index after it. Spans sharing strong emphasis are written in one
// "**", their emphasised parts in "*" and code in backticks; spans sharing emphasis in
// one "*", their code in backticks; strong emphasised text on its own as "***text***"
// (so is such a part ending a strong run: the reader would end the run at its mark).
// Stars and backticks that could pair up or meet a nested part's marks are escaped;
// with `escapeAll` every star is.
std::string writeStyleRun(const ModelView& doc, const ModelBlock& block, std::size_t first, std::size_t end,
                          bool escapeAll, std::size_t& next);

}  // namespace qorva
