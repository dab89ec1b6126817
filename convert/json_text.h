// JSON text written straight into a string, for outputs too large to build as a tree
// first: strings escaped as the JSON library's serialiser escapes them
// (appendJsonStringReplacingBrokenUtf8), laid out like its compact or indented forms.
#pragma once

#include "model/json_text.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qorva::convert {

class JsonTextWriter {
public:
    // `indent` spaces per nesting level, laid out like the JSON library's dump(indent);
    // 0 for the compact form.
    explicit JsonTextWriter(int indent) : indent_(indent) {}


    void beginArray() { open('['); }
    void endArray() { close(']'); }
    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void key(std::string_view name);  // the next value belongs to this key
    void string(std::string_view text);
    void number(long long value);
    void number(double value);
    void null();
    void raw(std::string_view json);  // a value already written as compact JSON text, copied as it is
    std::string take() { return std::move(out_); }

private:
    int indent_;
    std::string out_;
    std::vector<std::size_t> counts_;  // values written so far in each open array or object
    bool afterKey_ = false;

    void beforeValue();
    void open(char bracket);
    void close(char bracket);
    void newline(std::size_t depth);
};

}  // namespace qorva::convert
