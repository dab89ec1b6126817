#include "model/model_view.h"

#include "model/json_guard.h"
#include "model/model_json.h"
#include "model/utf8.h"

#include <algorithm>
#include <limits>

namespace qorva {
namespace {

constexpr std::pair<std::string_view, BlockKind> kBlockKinds[] = {
    {"para", BlockKind::Para}, {"heading", BlockKind::Heading}, {"bulleted", BlockKind::Bulleted},
    {"numbered", BlockKind::Numbered}, {"quote", BlockKind::Quote}, {"comment", BlockKind::Comment},
    {"verbatim", BlockKind::Verbatim}, {"formula", BlockKind::Formula}, {"image", BlockKind::Image},
    {"note", BlockKind::Note}, {"link", BlockKind::Link}, {"divider", BlockKind::Divider},
    {"row", BlockKind::Row}, {"col", BlockKind::Col}, {"html", BlockKind::Html}, {"tex", BlockKind::Tex},
    {"term", BlockKind::Term}, {"definition", BlockKind::Definition}, {"metadata", BlockKind::Metadata},
};

constexpr std::pair<std::string_view, SpanKind> kSpanKinds[] = {
    {"plain", SpanKind::Plain}, {"emph", SpanKind::Emph}, {"strong", SpanKind::Strong}, {"code", SpanKind::Code},
    {"math", SpanKind::Math}, {"url", SpanKind::Url}, {"linktext", SpanKind::LinkText},
    {"linkref", SpanKind::LinkRef}, {"noteref", SpanKind::NoteRef}, {"break", SpanKind::Break},
    {"strike", SpanKind::Strike}, {"sup", SpanKind::Sup}, {"sub", SpanKind::Sub}, {"html", SpanKind::Html},
    {"tex", SpanKind::Tex}, {"title", SpanKind::Title}, {"linkcode", SpanKind::LinkCode},
    {"linkemph", SpanKind::LinkEmph}, {"linkstrong", SpanKind::LinkStrong},
    {"linkimage", SpanKind::LinkImage}, {"linkimageurl", SpanKind::LinkImageUrl}, {"linkimagetitle", SpanKind::LinkImageTitle},
    {"strongemph", SpanKind::StrongEmph}, {"strongcode", SpanKind::StrongCode}, {"emphcode", SpanKind::EmphCode},
};

// Targets of links standing whole in emphasis or strong emphasis (OuterStyle bits).
struct OuterTarget {
    std::string_view tag;
    SpanKind kind;
    std::uint8_t outer;
};
constexpr OuterTarget kOuterTargets[] = {
    {"emphurl", SpanKind::Url, kOuterEmph}, {"strongurl", SpanKind::Url, kOuterStrong},
    {"strongemphurl", SpanKind::Url, kOuterEmph | kOuterStrong}, {"emphlinkref", SpanKind::LinkRef, kOuterEmph},
    {"stronglinkref", SpanKind::LinkRef, kOuterStrong}, {"strongemphlinkref", SpanKind::LinkRef, kOuterEmph | kOuterStrong},
};

// The block's string attribute of that key (its attributes made on first use), or null
// for keys without one.
TextRef* attributeOf(ModelView& doc, ModelBlock& block, std::string_view key) {
    TextRef BlockAttributes::*member = key == "info"    ? &BlockAttributes::info
                                       : key == "alt"   ? &BlockAttributes::alt
                                       : key == "title" ? &BlockAttributes::title
                                       : key == "spacing" ? &BlockAttributes::spacing
                                       : key == "start" ? &BlockAttributes::start
                                       : key == "quote" ? &BlockAttributes::quote
                                       : key == "align" ? &BlockAttributes::align
                                       : key == "widths" ? &BlockAttributes::widths
                                                        : nullptr;
    if (!member) return nullptr;
    if (block.attributes == 0) {
        block.attributes = static_cast<std::uint32_t>(doc.attributes.size());
        doc.attributes.emplace_back();
    }
    return &(doc.attributes[block.attributes].*member);
}

template <typename Kind, std::size_t N>
Kind kindOf(const std::pair<std::string_view, Kind> (&kinds)[N], std::string_view tag) {
    for (const auto& [name, kind] : kinds)
        if (name == tag) return kind;
    return Kind::Other;
}

template <typename Kind, std::size_t N>
std::string_view nameOf(const std::pair<std::string_view, Kind> (&kinds)[N], Kind wanted) {
    for (const auto& [name, kind] : kinds)
        if (kind == wanted) return name;
    return {};
}

// The kind of a tag; a tag outside the known kinds is kept in the view's other tags.
template <typename Kind, std::size_t N>
Kind classify(const std::pair<std::string_view, Kind> (&kinds)[N], std::string_view tag, ModelView& doc,
              std::uint32_t& otherTag) {
    const Kind kind = kindOf(kinds, tag);
    if (kind == Kind::Other) {
        otherTag = static_cast<std::uint32_t>(doc.otherTags.size());
        doc.otherTags.emplace_back(tag);
    }
    return kind;
}

// A span's kind from its tag; the outer-styled targets are looked up only when the
// tag is none of the usual ones.
void classifySpan(std::string_view tag, ModelView& doc, ModelSpan& span) {
    span.kind = kindOf(kSpanKinds, tag);
    if (span.kind != SpanKind::Other) return;
    for (const OuterTarget& target : kOuterTargets) {
        if (target.tag != tag) continue;
        span.kind = target.kind;
        span.outer = target.outer;
        return;
    }
    span.otherTag = static_cast<std::uint32_t>(doc.otherTags.size());
    doc.otherTags.emplace_back(tag);
}

[[noreturn]] void fault(const std::string& what) { throw ConverterError("malformed model: " + what); }

// Follows the events of the JSON parser through root, blocks, attributes and spans.
class Reader : public nlohmann::json_sax<Json> {
public:
    explicit Reader(ModelView& doc) : doc_(doc) {}

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
                if (blockElements_ == 0) block_.kind = classify(kBlockKinds, value, doc_, block_.otherTag);
                else if (blockElements_ == 1) fault(blockName() + " has attributes that are not an object");
                else fault(spanName() + " is not an array");
                ++blockElements_;
                return true;
            case Where::Span:
                if (spanElements_ == 0) classifySpan(value, doc_, span_);
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
                else if (TextRef* attribute = attributeOf(doc_, block_, key_)) {
                    *attribute = {doc_.texts.size(), value.size()};
                    doc_.texts += value;
                }
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
                block_ = ModelBlock{BlockKind::Other, 0, 0, false, doc_.spans.size(), 0};
                blockElements_ = 0;
                return true;
            case Where::Block:
                if (blockElements_ == 0) fault(blockName() + " has a tag that is not a string");
                if (blockElements_ == 1) fault(blockName() + " has attributes that are not an object");
                where_ = Where::Span;
                span_ = ModelSpan{SpanKind::Other, 0, 0, 0, 0};
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
                block_.level = static_cast<int>(value);
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

    ModelView& doc_;
    Where where_ = Where::Outside;
    int skip_ = 0;
    std::size_t elements_ = 0, blockElements_ = 0, spanElements_ = 0;
    ModelBlock block_{};
    ModelSpan span_{};
    std::string key_;
    bool hasLevel_ = false;
};

// The common case read by hand: well-formed model JSON in its usual shape. Anything
// else (other JSON values, a fault) makes it give up, and the checking reader above
// runs instead and names the fault.
class FastReader {
public:
    FastReader(std::string_view json, ModelView& doc) : s_(json), doc_(doc) {}

    bool read() {
        if (!utf8::isValid(s_)) return false;
        ws();
        if (!ch('[')) return false;
        ws();
        std::string_view root;
        if (!rawString(root) || (root != "text" && root != "inline")) return false;
        doc_.fragment = root == "inline";
        ws();
        while (ch(',')) {
            ws();
            if (!block()) return false;
            ws();
        }
        if (!ch(']')) return false;
        ws();
        return p_ == s_.size();
    }

private:
    void ws() {
        while (p_ < s_.size() && (s_[p_] == ' ' || s_[p_] == '\n' || s_[p_] == '\r' || s_[p_] == '\t')) ++p_;
    }
    bool ch(char c) {
        if (p_ < s_.size() && s_[p_] == c) return ++p_, true;
        return false;
    }
    // A string without escapes, as a view.
    bool rawString(std::string_view& out) {
        if (!ch('"')) return false;
        const std::size_t start = p_;
        while (p_ < s_.size() && s_[p_] != '"') {
            if (s_[p_] == '\\' || static_cast<unsigned char>(s_[p_]) < 0x20) return false;
            ++p_;
        }
        if (p_ >= s_.size()) return false;
        out = s_.substr(start, p_ - start);
        ++p_;
        return true;
    }
    static int hex(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }
    bool hex4(unsigned& value) {
        if (s_.size() - p_ < 4) return false;
        value = 0;
        for (int i = 0; i < 4; ++i) {
            const int h = hex(s_[p_ + i]);
            if (h < 0) return false;
            value = value * 16 + static_cast<unsigned>(h);
        }
        p_ += 4;
        return true;
    }
    // A string with escapes resolved, appended to the document's texts.
    bool string(std::size_t& begin, std::size_t& length) {
        if (!ch('"')) return false;
        std::string& out = doc_.texts;
        begin = out.size();
        std::size_t clean = p_;
        for (;;) {
            if (p_ >= s_.size()) return false;
            const char c = s_[p_];
            if (c == '"') break;
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') {
                ++p_;
                continue;
            }
            out.append(s_.substr(clean, p_ - clean));
            if (++p_ >= s_.size()) return false;
            const char e = s_[p_++];
            switch (e) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    unsigned code;
                    if (!hex4(code)) return false;
                    if (code >= 0xDC00 && code <= 0xDFFF) return false;
                    if (code >= 0xD800 && code <= 0xDBFF) {
                        unsigned low;
                        if (!ch('\\') || !ch('u') || !hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    }
                    utf8::append(out, static_cast<char32_t>(code));
                    break;
                }
                default: return false;
            }
            clean = p_;
        }
        out.append(s_.substr(clean, p_ - clean));
        ++p_;
        length = out.size() - begin;
        return true;
    }
    bool integer(long& value) {
        const std::size_t start = p_;
        ch('-');
        const std::size_t digits = p_;
        while (p_ < s_.size() && s_[p_] >= '0' && s_[p_] <= '9') ++p_;
        if (p_ == digits || p_ - digits > 9 || (s_[digits] == '0' && p_ - digits > 1)) return false;
        if (p_ < s_.size() && (s_[p_] == '.' || s_[p_] == 'e' || s_[p_] == 'E')) return false;
        value = std::stol(std::string(s_.substr(start, p_ - start)));
        return value >= std::numeric_limits<int>::min() / 4 && value <= std::numeric_limits<int>::max() / 4;
    }
    bool block() {
        ModelBlock block{BlockKind::Other, 0, 0, false, doc_.spans.size(), 0};
        std::string_view tag;
        if (!ch('[')) return false;
        ws();
        if (!rawString(tag)) return false;
        block.kind = classify(kBlockKinds, tag, doc_, block.otherTag);
        ws();
        if (!ch(',')) return false;
        ws();
        if (!ch('{')) return false;
        ws();
        bool hasLevel = false;
        if (!ch('}')) {
            do {
                ws();
                std::string_view key;
                if (!rawString(key)) return false;
                ws();
                if (!ch(':')) return false;
                ws();
                if (key == "level") {
                    long level;
                    if (!integer(level)) return false;
                    block.level = static_cast<int>(level);
                    hasLevel = true;
                } else {
                    std::size_t begin, length;
                    if (!string(begin, length)) return false;
                    if (TextRef* attribute = attributeOf(doc_, block, key)) {
                        *attribute = {begin, length};
                    } else {
                        if (key == "direction") block.rtl = std::string_view(doc_.texts).substr(begin, length) == "rtl";
                        doc_.texts.resize(begin);
                    }
                }
                ws();
            } while (ch(','));
            if (!ch('}')) return false;
        }
        if (!hasLevel) return false;
        ws();
        while (ch(',')) {
            ws();
            ModelSpan span{SpanKind::Other, 0, 0, 0, 0};
            if (!ch('[')) return false;
            ws();
            if (!rawString(tag)) return false;
            classifySpan(tag, doc_, span);
            ws();
            if (!ch(',')) return false;
            ws();
            if (!string(span.textBegin, span.textLength)) return false;
            ws();
            if (!ch(']')) return false;
            doc_.spans.push_back(span);
            ws();
        }
        if (!ch(']')) return false;
        block.spanCount = doc_.spans.size() - block.firstSpan;
        doc_.blocks.push_back(block);
        return true;
    }

    std::string_view s_;
    std::size_t p_ = 0;
    ModelView& doc_;
};

}  // namespace

std::string_view blockTagName(BlockKind kind) { return nameOf(kBlockKinds, kind); }
std::string_view spanTagName(SpanKind kind) { return nameOf(kSpanKinds, kind); }

std::string_view ModelView::tag(const ModelBlock& block) const {
    return block.kind == BlockKind::Other ? std::string_view(otherTags[block.otherTag]) : blockTagName(block.kind);
}

std::string_view outerTargetTag(SpanKind kind, std::uint8_t outer) {
    for (const OuterTarget& target : kOuterTargets)
        if (target.kind == kind && target.outer == outer) return target.tag;
    return spanTagName(kind);
}

std::string_view ModelView::tag(const ModelSpan& span) const {
    if (span.outer) return outerTargetTag(span.kind, span.outer);
    return span.kind == SpanKind::Other ? std::string_view(otherTags[span.otherTag]) : spanTagName(span.kind);
}

ModelView::OuterLink ModelView::outerLinkAt(const ModelBlock& block, std::size_t i, std::size_t end) const {
    end = std::min(end, block.spanCount);
    if (i >= end) return {};
    const SpanKind kind = span(block, i).kind;
    const bool afterText = i > 0 && isLinkTextKind(span(block, i - 1).kind);
    std::size_t target = i;
    if (isLinkTextKind(kind) && !afterText) target = linkTextEnd(block, i);
    else if (kind != SpanKind::Url || afterText) return {};
    if (target >= end) return {};
    const ModelSpan& found = span(block, target);
    if (!found.outer || (found.kind != SpanKind::Url && (found.kind != SpanKind::LinkRef || target == i))) return {};
    const std::size_t after = found.kind == SpanKind::Url && target + 1 < end && isLinkTitle(block, target + 1) ? target + 2 : target + 1;
    return {found.outer, after};
}

bool ModelView::isLinkTitle(const ModelBlock& block, std::size_t i) const {
    if (i >= block.spanCount || span(block, i).kind != SpanKind::Title || i == 0) return false;
    if (span(block, i - 1).kind != SpanKind::Url) return false;
    if (block.kind == BlockKind::Link && i == 2 && span(block, 0).kind == SpanKind::LinkRef) return true;
    return i >= 2 && isLinkTextKind(span(block, i - 2).kind);
}

std::string_view ModelView::titleAfter(const ModelBlock& block, std::size_t urlIndex) const {
    return isLinkTitle(block, urlIndex + 1) ? text(span(block, urlIndex + 1)) : std::string_view();
}

long ModelView::startNumber(const ModelBlock& block) const {
    const std::string_view digits = text(attributes[block.attributes].start);
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string_view::npos) return 1;
    long number = 0;
    for (char c : digits) number = number * 10 + (c - '0');
    return number;
}

int ModelView::quoteDepth(const ModelBlock& block) const {
    if (block.kind != BlockKind::Bulleted && block.kind != BlockKind::Numbered && block.kind != BlockKind::Verbatim) return 0;
    const std::string_view digit = text(attributes[block.attributes].quote);
    return digit.size() == 1 && digit[0] >= '1' && digit[0] <= '5' ? digit[0] - '0' : 0;
}

std::string_view codeLanguage(std::string_view info) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    std::size_t p = 0;
    while (p < info.size() && isSpace(info[p])) ++p;
    if (p < info.size() && info[p] == '{') {
        // The first ".class" among the attributes, as a word of its own.
        for (++p; p < info.size() && info[p] != '}';) {
            while (p < info.size() && isSpace(info[p])) ++p;
            const std::size_t start = p;
            while (p < info.size() && !isSpace(info[p]) && info[p] != '}') ++p;
            if (p - start > 1 && info[start] == '.') return info.substr(start + 1, p - start - 1);
        }
        return {};
    }
    const std::size_t start = p;
    while (p < info.size() && !isSpace(info[p]) && info[p] != '{') ++p;
    return info.substr(start, p - start);
}

ModelView readModelView(std::string_view json) {
    {
        ModelView doc;
        doc.texts.reserve(json.size());
        doc.spans.reserve(json.size() / 24);
        if (FastReader(json, doc).read()) return doc;
    }
    // Text that is not JSON at all is reported as such, and absurd nesting as such,
    // whatever shape came first.
    if (!Json::accept(json.begin(), json.end())) parseJson(json);
    checkJsonDepth(json);
    ModelView doc;
    doc.texts.reserve(json.size());
    Reader reader(doc);
    Json::sax_parse(json.begin(), json.end(), &reader);
    if (!reader.done()) fault("the root is not an array starting with \"text\" or \"inline\"");
    return doc;
}

}  // namespace qorva
