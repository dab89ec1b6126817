#include "convert/pandoc_element.h"

namespace qorva::convert {

void malformed(std::string_view what) {
    throw ConverterError("malformed Pandoc JSON: " + std::string(what));
}

PandocElement legacyElement(const Json& value) {
    if (value.is_string()) return {value.get_ref<const std::string&>(), nullptr};
    if (!value.is_object()) malformed("expected an element, found " + std::string(value.type_name()));
    if (value.size() != 1) {
        malformed("an element object must have exactly one key, found " + std::to_string(value.size()));
    }
    auto it = value.begin();
    return {it.key(), &it.value()};
}

const Json& requireArray(const Json& value, std::string_view what) {
    if (!value.is_array()) malformed(std::string(what) + " is not an array");
    return value;
}

std::string requireString(const Json& value, std::string_view what) {
    if (!value.is_string()) malformed(std::string(what) + " is not a string");
    return value.get<std::string>();
}

const Json& arrayContents(const PandocElement& element) {
    if (!element.contents || !element.contents->is_array()) {
        malformed("the contents of " + std::string(element.name) + " are not an array");
    }
    return *element.contents;
}

const Json& contentsAt(const PandocElement& element, std::size_t index) {
    const Json& contents = arrayContents(element);
    if (index >= contents.size()) {
        malformed(std::string(element.name) + " has " + std::to_string(contents.size()) +
                  " parts, expected more than " + std::to_string(index));
    }
    return contents[index];
}

const Json& arrayAt(const PandocElement& element, std::size_t index) {
    return requireArray(contentsAt(element, index),
                        "part " + std::to_string(index + 1) + " of " + std::string(element.name));
}

std::string stringAt(const PandocElement& element, std::size_t index) {
    return requireString(contentsAt(element, index),
                         "part " + std::to_string(index + 1) + " of " + std::string(element.name));
}

}  // namespace qorva::convert
