#include "convert/pandoc_element.h"

#include "model/model_json.h"

namespace qorva::convert {
namespace {

const char* typeName(PandocValue value) {
    switch (value.type()) {
        case PandocType::Array: return "an array";
        case PandocType::Object: return "an object";
        case PandocType::String: return "a string";
        case PandocType::Bool: return "a truth value";
        case PandocType::Null: return "null";
        default: return "a number";
    }
}

[[noreturn]] void malformedPart(const PandocElement& element, std::size_t index, const char* what) {
    malformed("part " + std::to_string(index + 1) + " of " + std::string(element.name) + " is not " + what);
}

}  // namespace

void malformed(std::string_view what) {
    throw ConverterError("malformed Pandoc JSON: " + std::string(what));
}

PandocElement legacyElement(PandocValue value) {
    std::string_view name;
    if (value.getString(name)) return {name, value, false};
    if (!value.isObject()) malformed(std::string("expected an element, found ") + typeName(value));
    if (value.size() != 1) {
        malformed("an element object must have exactly one key, found " + std::to_string(value.size()));
    }
    const PandocValue field = *value.begin();
    return {field.key(), field, true};
}

PandocValue requireArray(PandocValue value, std::string_view what) {
    if (!value.isArray()) malformed(std::string(what) + " is not an array");
    return value;
}

std::string_view requireString(PandocValue value, std::string_view what) {
    std::string_view text;
    if (!value.getString(text)) malformed(std::string(what) + " is not a string");
    return text;
}

PandocValue arrayContents(const PandocElement& element) {
    if (!element.hasContents || !element.contents.isArray()) {
        malformed("the contents of " + std::string(element.name) + " are not an array");
    }
    return element.contents;
}

PandocValue contentsAt(const PandocElement& element, std::size_t index) {
    const PandocValue contents = arrayContents(element);
    PandocValue part = contents;
    if (!contents.at(index, part)) {
        malformed(std::string(element.name) + " has " + std::to_string(contents.size()) + " parts, expected more than " +
                  std::to_string(index));
    }
    return part;
}

PandocValue arrayAt(const PandocElement& element, std::size_t index) {
    const PandocValue part = contentsAt(element, index);
    if (!part.isArray()) malformedPart(element, index, "an array");
    return part;
}

std::string_view stringAt(const PandocElement& element, std::size_t index) {
    std::string_view text;
    if (!contentsAt(element, index).getString(text)) malformedPart(element, index, "a string");
    return text;
}

}  // namespace qorva::convert
