#include "model/model_document.h"

#include "model/model_json.h"

#include <limits>

namespace qorva {
namespace {

BlockKind blockKind(std::string_view tag) {
    static const std::pair<std::string_view, BlockKind> kinds[] = {
        {"para", BlockKind::Para}, {"heading", BlockKind::Heading}, {"bulleted", BlockKind::Bulleted},
        {"numbered", BlockKind::Numbered}, {"quote", BlockKind::Quote}, {"comment", BlockKind::Comment},
        {"verbatim", BlockKind::Verbatim}, {"formula", BlockKind::Formula}, {"image", BlockKind::Image},
        {"note", BlockKind::Note}, {"link", BlockKind::Link}, {"divider", BlockKind::Divider},
        {"row", BlockKind::Row}, {"col", BlockKind::Col},
    };
    for (const auto& [name, kind] : kinds)
        if (name == tag) return kind;
    return BlockKind::Other;
}

SpanKind spanKind(std::string_view tag) {
    static const std::pair<std::string_view, SpanKind> kinds[] = {
        {"plain", SpanKind::Plain}, {"emph", SpanKind::Emph}, {"strong", SpanKind::Strong}, {"code", SpanKind::Code},
        {"math", SpanKind::Math}, {"url", SpanKind::Url}, {"linktext", SpanKind::LinkText},
        {"linkref", SpanKind::LinkRef}, {"noteref", SpanKind::NoteRef}, {"break", SpanKind::Break},
    };
    for (const auto& [name, kind] : kinds)
        if (name == tag) return kind;
    return SpanKind::Other;
}

[[noreturn]] void fault(const std::string& what) { throw ConverterError("malformed model: " + what); }

// Follows the events of the JSON parser through root, blocks, attributes and spans.
class Reader : public nlohmann::json_sax<Json> {
public:
    explicit Reader(ModelDocument& doc) : doc_(doc) {}

    bool null() override { return scalar("null"); }
    bool boolean(bool) override { return scalar("boolean"); }
    bool number_integer(number_integer_t value) override { return integer(static_cast<long double>(value)); }
    bool number_unsigned(number_unsigned_t value) override { return integer(static_cast<long double>(value)); }
    bool number_float(number_float_t, const string_t&) override { return scalar("number"); }
    bool binary(binary_t&) override { return scalar("binary"); }

    bool string(string_t& value) override {
        if (skip_ > 0) return true;
        switch (where_) {
            case Where::Root:
                if (elements_ == 0) {
                    if (value != "text" && value != "inline") fault("unknown root tag \"" + value + "\"");
                    doc_.fragment = value == "inline";
                } else {
                    fault(blockName() + " is not an array");
                }
                ++elements_;
                return true;
            case Where::Block:
                if (blockElements_ == 0) block_.kind = blockKind(value);
                else if (blockElements_ == 1) fault(blockName() + " has attributes that are not an object");
                else fault(spanName() + " is not an array");
                ++blockElements_;
                return true;
            case Where::Span:
                if (spanElements_ == 0) span_.kind = spanKind(value);
                else if (spanElements_ == 1) {
                    span_.textBegin = doc_.texts.size();
                    span_.textLength = value.size();
                    doc_.texts += value;
                } else {
                    fault(spanName() + " does not have exactly two elements");
                }
                ++spanElements_;
                return true;
            case Where::Attributes:
                if (key_ == "direction") block_.rtl = value == "rtl";
                else if (key_ == "level") fault(blockName() + " has a level that is not an integer");
                return true;
            default:
                fault("the root is not an array starting with \"text\" or \"inline\"");
        }
    }

    bool start_object(std::size_t) override {
        if (skip_ == 0 && where_ == Where::Attributes && key_ == "level") fault(blockName() + " has a level that is not an integer");
        if (skip_ > 0 || where_ == Where::Attributes) return ++skip_, true;
        if (where_ == Where::Block && blockElements_ == 1) {
            where_ = Where::Attributes;
            hasLevel_ = false;
            return true;
        }
        return scalar("object");
    }
    bool key(string_t& name) override {
        if (skip_ == 0) key_ = name;
        return true;
    }
    bool end_object() override {
        if (skip_ > 0) return --skip_, true;
        if (!hasLevel_) fault(blockName() + " has no level");
        where_ = Where::Block;
        ++blockElements_;
        return true;
    }

    bool start_array(std::size_t) override {
        if (skip_ == 0 && where_ == Where::Attributes && key_ == "level") fault(blockName() + " has a level that is not an integer");
        if (skip_ > 0 || where_ == Where::Attributes) return ++skip_, true;
        switch (where_) {
            case Where::Outside:
                where_ = Where::Root;
                return true;
            case Where::Root:
                if (elements_ == 0) fault("the root is not an array starting with \"text\" or \"inline\"");
                where_ = Where::Block;
                block_ = ModelBlock{BlockKind::Other, 0, false, doc_.spans.size(), 0};
                blockElements_ = 0;
                return true;
            case Where::Block:
                if (blockElements_ == 0) fault(blockName() + " has a tag that is not a string");
                if (blockElements_ == 1) fault(blockName() + " has attributes that are not an object");
                where_ = Where::Span;
                span_ = ModelSpan{SpanKind::Other, 0, 0};
                spanElements_ = 0;
                return true;
            case Where::Span:
                return scalar("array");
            default:
                return true;
        }
    }
    bool end_array() override {
        if (skip_ > 0) return --skip_, true;
        switch (where_) {
            case Where::Root:
                if (elements_ == 0) fault("the root is not an array starting with \"text\" or \"inline\"");
                where_ = Where::Done;
                return true;
            case Where::Block:
                if (blockElements_ < 2) fault(blockName() + " has no attributes");
                block_.spanCount = doc_.spans.size() - block_.firstSpan;
                doc_.blocks.push_back(block_);
                where_ = Where::Root;
                ++elements_;
                return true;
            case Where::Span:
                if (spanElements_ != 2) fault(spanName() + " does not have exactly two elements");
                doc_.spans.push_back(span_);
                where_ = Where::Block;
                ++blockElements_;
                return true;
            default:
                return true;
        }
    }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override {
        throw ConverterError(std::string("invalid JSON: ") + e.what());
    }

    bool done() const { return where_ == Where::Done; }

private:
    enum class Where { Outside, Root, Block, Attributes, Span, Done };

    std::string blockName() const { return "block " + std::to_string(doc_.blocks.size()); }
    std::string spanName() const {
        return blockName() + ", span " + std::to_string(doc_.spans.size() - block_.firstSpan);
    }

    bool integer(long double value) {
        if (skip_ > 0) return true;
        if (where_ == Where::Attributes) {
            if (key_ == "level") {
                if (value < std::numeric_limits<int>::min() / 4 || value > std::numeric_limits<int>::max() / 4)
                    fault(blockName() + " has a level out of range");
                block_.level = static_cast<long>(value);
                hasLevel_ = true;
            }
            return true;
        }
        return scalar("number");
    }

    // A value where only arrays and strings belong.
    bool scalar(const char*) {
        if (skip_ > 0) return true;
        switch (where_) {
            case Where::Attributes:
                if (key_ == "level") fault(blockName() + " has a level that is not an integer");
                return true;
            case Where::Root:
                if (elements_ == 0) fault("the root is not an array starting with \"text\" or \"inline\"");
                fault(blockName() + " is not an array");
            case Where::Block:
                if (blockElements_ == 0) fault(blockName() + " has a tag that is not a string");
                if (blockElements_ == 1) fault(blockName() + " has attributes that are not an object");
                fault(spanName() + " is not an array");
            case Where::Span:
                if (spanElements_ >= 2) fault(spanName() + " does not have exactly two elements");
                fault(spanName() + (spanElements_ == 0 ? " has a tag that is not a string" : " has a text that is not a string"));
            default:
                fault("the root is not an array starting with \"text\" or \"inline\"");
        }
    }

    ModelDocument& doc_;
    Where where_ = Where::Outside;
    int skip_ = 0;
    std::size_t elements_ = 0, blockElements_ = 0, spanElements_ = 0;
    ModelBlock block_{};
    ModelSpan span_{};
    std::string key_;
    bool hasLevel_ = false;
};

}  // namespace

ModelDocument readModelDocument(std::string_view json) {
    ModelDocument doc;
    doc.texts.reserve(json.size());
    Reader reader(doc);
    try {
        Json::sax_parse(json.begin(), json.end(), &reader);
    } catch (const ConverterError&) {
        // Text that is not JSON at all is reported as such, whatever shape came first.
        if (!Json::accept(json.begin(), json.end())) parseJson(json);
        throw;
    }
    if (!reader.done()) fault("the root is not an array starting with \"text\" or \"inline\"");
    return doc;
}

}  // namespace qorva
