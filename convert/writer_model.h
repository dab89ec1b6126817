// The model as the interchange writers take it, and the text of its code blocks.
#pragma once

#include "model/model_view.h"

#include <string>
#include <string_view>

namespace qorva::convert {

// readModelView, then levels refused beyond kMaxBlockLevel and the rest brought
// into the range the editor shows (model/level_range.h): the writers open one
// nested list or quotation per level.
ModelView readWriterModel(std::string_view json);

// The texts of a code or formula block's spans joined. Their spans must be "plain"
// lines and "break"s: with `strict` any other span is a ConverterError, without it
// its text is taken as it is.
std::string verbatimText(const ModelView& model, const ModelBlock& block, bool strict);

}  // namespace qorva::convert
