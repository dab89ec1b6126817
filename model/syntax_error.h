// The text reader's failure: a message plus where in the input it happened.
#pragma once

#include "model/model_json.h"

#include <cstddef>
#include <string>

namespace qorva {

struct TextPosition {
    std::size_t offset = 0;  // 0-based, in UTF-16 code units
    std::size_t line = 1;    // 1-based
    std::size_t column = 1;  // 1-based, in UTF-16 code units
};

class SyntaxError : public ConverterError {
public:
    SyntaxError(const std::string& message, TextPosition position)
        : ConverterError(message), position_(position) {}
    const TextPosition& position() const { return position_; }

private:
    TextPosition position_;
};

}  // namespace qorva
