#include "convert/pandoc_json_out.h"

#include "convert/pandoc_import.h"

#include <algorithm>

namespace qorva::convert {

void PandocJsonOut::beginDocument() {
    if (legacy()) {
        json_.beginArray();
        json_.beginObject();
        for (const char* key : {"docTitle", "docAuthors", "docDate"}) {
            json_.key(key);
            json_.beginArray();
            json_.endArray();
        }
        json_.endObject();
        json_.beginArray();
        return;
    }
    json_.beginObject();
    json_.key("pandoc-api-version");
    json_.beginArray();
    for (int part : api_.version) json_.number(static_cast<long long>(part));
    json_.endArray();
    json_.key("meta");
    json_.beginObject();
    json_.endObject();
    json_.key("blocks");
    json_.beginArray();
}

void PandocJsonOut::endDocument() {
    json_.endArray();
    if (legacy()) json_.endArray();
    else json_.endObject();
}

void PandocJsonOut::beginElement(std::string_view name) {
    json_.beginObject();
    if (legacy()) {
        json_.key(name);
    } else {
        json_.key("t");
        json_.string(name);
        json_.key("c");
    }
}

void PandocJsonOut::bare(std::string_view name) {
    if (legacy()) {
        json_.string(name);
        return;
    }
    json_.beginObject();
    json_.key("t");
    json_.string(name);
    json_.endObject();
}

void PandocJsonOut::emptyAttributes() {
    json_.beginArray();
    json_.string("");
    json_.beginArray();
    json_.endArray();
    json_.beginArray();
    json_.endArray();
    json_.endArray();
}

void PandocJsonOut::attributes(std::string_view id, const std::vector<std::string>& classes,
                               const std::vector<std::pair<std::string, std::string>>& pairs) {
    json_.beginArray();
    json_.string(id);
    json_.beginArray();
    for (const std::string& name : classes) json_.string(name);
    json_.endArray();
    json_.beginArray();
    for (const auto& [key, value] : pairs) {
        json_.beginArray();
        json_.string(key);
        json_.string(value);
        json_.endArray();
    }
    json_.endArray();
    json_.endArray();
}

// Words and the spaces between them. A space after an abbreviation ("e.g. x") is a
// space like any other: Pandoc Markdown reads it back as a no-break space where it stays
// inside a line, as it reads what the model keeps of a no-break space, and as a space
// where Pandoc ends the line there, as it read the file's own line end after one.
void PandocJsonOut::str(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        if (text[at] != ' ') {
            const std::size_t end = std::min(text.find(' ', at), text.size());
            beginElement("Str");
            json_.string(text.substr(at, end - at));
            endElement();
            at = end;
            continue;
        }
        at = std::min(text.find_first_not_of(' ', at), text.size());
        bare("Space");
    }
}

void PandocJsonOut::beginLinkLike(std::string_view name) {
    beginElement(name);
    json_.beginArray();
    if (!legacy()) emptyAttributes();
    json_.beginArray();
}

void PandocJsonOut::endLinkLike(std::string_view target, std::string_view title) {
    json_.endArray();
    json_.beginArray();
    json_.string(target);
    json_.string(title);
    json_.endArray();
    json_.endArray();
    endElement();
}

}  // namespace qorva::convert
