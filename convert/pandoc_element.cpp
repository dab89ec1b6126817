#include "convert/pandoc_element.h"

#include "model/model_json.h"

namespace qorva::convert {
namespace {

const char* typeName(simdjson::dom::element value) {
    switch (value.type()) {
        case simdjson::dom::element_type::ARRAY: return "an array";
        case simdjson::dom::element_type::OBJECT: return "an object";
        case simdjson::dom::element_type::STRING: return "a string";
        case simdjson::dom::element_type::BOOL: return "a truth value";
        case simdjson::dom::element_type::NULL_VALUE: return "null";
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

PandocElement legacyElement(simdjson::dom::element value) {
    std::string_view name;
    if (!value.get_string().get(name)) return {name, {}, false};
    simdjson::dom::object object;
    if (value.get_object().get(object)) malformed(std::string("expected an element, found ") + typeName(value));
    if (object.size() != 1) {
        malformed("an element object must have exactly one key, found " + std::to_string(object.size()));
    }
    const auto field = *object.begin();
    return {field.key, field.value, true};
}

simdjson::dom::array requireArray(simdjson::dom::element value, std::string_view what) {
    simdjson::dom::array array;
    if (value.get_array().get(array)) malformed(std::string(what) + " is not an array");
    return array;
}

std::string_view requireString(simdjson::dom::element value, std::string_view what) {
    std::string_view text;
    if (value.get_string().get(text)) malformed(std::string(what) + " is not a string");
    return text;
}

simdjson::dom::array arrayContents(const PandocElement& element) {
    simdjson::dom::array array;
    if (!element.hasContents || element.contents.get_array().get(array)) {
        malformed("the contents of " + std::string(element.name) + " are not an array");
    }
    return array;
}

simdjson::dom::element contentsAt(const PandocElement& element, std::size_t index) {
    const simdjson::dom::array contents = arrayContents(element);
    simdjson::dom::element part;
    if (contents.at(index).get(part)) {
        malformed(std::string(element.name) + " has " + std::to_string(contents.size()) + " parts, expected more than " +
                  std::to_string(index));
    }
    return part;
}

simdjson::dom::array arrayAt(const PandocElement& element, std::size_t index) {
    simdjson::dom::array array;
    if (contentsAt(element, index).get_array().get(array)) malformedPart(element, index, "an array");
    return array;
}

std::string_view stringAt(const PandocElement& element, std::size_t index) {
    std::string_view text;
    if (contentsAt(element, index).get_string().get(text)) malformedPart(element, index, "a string");
    return text;
}

}  // namespace qorva::convert
