// Pandoc JSON written straight to text in the dialect asked for, the 1.11 form or
// current Pandoc's. The writer speaks in constructors; this layer spells them:
// {"Para": [...]} or {"t": "Para", "c": [...]}, "Space" or {"t": "Space"}, links
// with or without attributes, and the document's frame with its metadata.
#pragma once

#include "convert/json_text.h"
#include "convert/pandoc_api.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qorva::convert {

class PandocJsonOut {
public:
    explicit PandocJsonOut(PandocApi api) : api_(std::move(api)) {}

    bool legacy() const { return api_.legacy(); }
    // Tables as rows of cells with attributes, heads, bodies and feet (pandoc-types 1.21 on).
    bool structuredTables() const { return !api_.legacy() && api_.minor() >= 21; }
    bool headerRow() const { return api_.headerRow; }
    bool headerAlone() const { return api_.headerAlone; }
    bool emptyRows() const { return api_.emptyRows; }
    bool divsAndSpans() const { return api_.divsAndSpans && !legacy(); }
    bool citations() const { return api_.citations; }
    bool blockAfterText() const { return api_.blockAfterText; }
    // Figures as blocks of their own rather than images titled "fig:" (pandoc-types 1.23).
    bool figureBlocks() const { return !api_.legacy() && api_.minor() >= 23; }
    JsonTextWriter& json() { return json_; }

    // The frame around the block list, with empty metadata.
    void beginDocument();
    void endDocument();

    // An element with contents: the contents are written between these two calls.
    void beginElement(std::string_view name);
    void endElement() { json_.endObject(); }
    // An element without contents.
    void bare(std::string_view name);

    void emptyAttributes();
    // [id, classes, key-value pairs].
    void attributes(std::string_view id, const std::vector<std::string>& classes,
                    const std::vector<std::pair<std::string, std::string>>& pairs);
    // Text as words and spaces, as Pandoc reads it, so that it wraps the text the way
    // it wraps a document it read itself.
    void str(std::string_view text);
    // A link or image: its inlines are written between these two calls.
    void beginLinkLike(std::string_view name);
    void endLinkLike(std::string_view target, std::string_view title = {});

    std::string take() { return json_.take(); }

private:
    PandocApi api_;
    JsonTextWriter json_{2};
};

}  // namespace qorva::convert
