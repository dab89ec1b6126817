// Access to the elements of Pandoc's 1.11 form with their shapes checked, so
// malformed input ends in a ConverterError naming the constructor.
#pragma once

#include "convert/pandoc_tree.h"

#include <string>
#include <string_view>

namespace qorva::convert {

struct PandocElement {
    std::string_view name;
    PandocValue contents;  // only when hasContents
    bool hasContents = false;
};

// {"Name": contents} or "Name". Throws on any other shape, including an object with
// more than one key.
PandocElement legacyElement(PandocValue value);

// The contents as an array, or part `index` of them; throws "malformed ..." naming the
// constructor when the contents are missing or have another shape.
PandocValue arrayContents(const PandocElement& element);
PandocValue contentsAt(const PandocElement& element, std::size_t index);
PandocValue arrayAt(const PandocElement& element, std::size_t index);
std::string_view stringAt(const PandocElement& element, std::size_t index);
PandocValue requireArray(PandocValue value, std::string_view what);
std::string_view requireString(PandocValue value, std::string_view what);

[[noreturn]] void malformed(std::string_view what);

}  // namespace qorva::convert
