// Escaping for the HTML writer: text children escape only what HTML needs,
// attribute values also both quote characters.
#pragma once

#include <string>
#include <string_view>

namespace qorva::convert {

void appendHtmlText(std::string& out, std::string_view text);
void appendHtmlAttribute(std::string& out, std::string_view name, std::string_view value);
// An attribute value's escaping on its own, safe in text and in either quotes.
void appendHtmlAttributeValue(std::string& out, std::string_view value);

}  // namespace qorva::convert
