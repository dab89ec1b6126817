// Access to the elements of Pandoc's 1.11 form with their shapes checked, so
// malformed input ends in a ConverterError naming the constructor rather than in
// an exception from deep inside the JSON library.
#pragma once

#include "model/model_json.h"

#include <string>
#include <string_view>

namespace qorva::convert {

struct PandocElement {
    std::string_view name;
    const Json* contents = nullptr;  // nullptr for a constructor without contents
};

// 1.11 form: {"Name": contents} or "Name". Throws on any other shape, including an
// object with more than one key.
PandocElement legacyElement(const Json& value);

// The contents as an array, or element `index` of them; throws "malformed NAME" when
// the contents are missing or have another shape.
const Json& arrayContents(const PandocElement& element);
const Json& contentsAt(const PandocElement& element, std::size_t index);
const Json& arrayAt(const PandocElement& element, std::size_t index);
std::string stringAt(const PandocElement& element, std::size_t index);
const Json& requireArray(const Json& value, std::string_view what);
std::string requireString(const Json& value, std::string_view what);

[[noreturn]] void malformed(std::string_view what);

}  // namespace qorva::convert
