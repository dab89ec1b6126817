#include "convert/json_text.h"

#include "model/model_json.h"

namespace qorva::convert {

void JsonTextWriter::newline(std::size_t depth) {
    if (indent_ == 0) return;
    out_ += '\n';
    out_.append(static_cast<std::size_t>(indent_) * depth, ' ');
}

void JsonTextWriter::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (counts_.empty()) return;
    if (counts_.back()++ > 0) out_ += ',';
    newline(counts_.size());
}

void JsonTextWriter::key(std::string_view name) {
    beforeValue();
    appendJsonStringReplacingBrokenUtf8(out_, name);
    out_ += indent_ == 0 ? ":" : ": ";
    afterKey_ = true;
}

void JsonTextWriter::open(char bracket) {
    beforeValue();
    out_ += bracket;
    counts_.push_back(0);
}

void JsonTextWriter::close(char bracket) {
    const bool empty = counts_.back() == 0;
    counts_.pop_back();
    if (!empty) newline(counts_.size());
    out_ += bracket;
}

void JsonTextWriter::string(std::string_view text) {
    beforeValue();
    appendJsonStringReplacingBrokenUtf8(out_, text);
}

void JsonTextWriter::number(long long value) {
    beforeValue();
    out_ += std::to_string(value);
}

void JsonTextWriter::number(double value) {
    beforeValue();
    out_ += dumpCompact(Json(value));
}

void JsonTextWriter::null() {
    beforeValue();
    out_ += "null";
}

void JsonTextWriter::raw(std::string_view json) {
    beforeValue();
    out_ += json;
}

}  // namespace qorva::convert
