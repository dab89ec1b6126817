// The benchmark document: the same content as model JSON and as Pandoc Markdown,
// so that an export can be timed against Pandoc converting the equivalent text.
#pragma once

#include <string>

namespace qorva::bench {

struct BenchDocument {
    std::string modelJson;
    std::string markdown;
};

// `blocks` blocks in a repeating mix of headings, paragraphs with emphasis, strong
// text, inline code and links, bulleted and numbered items, quotations and code blocks.
BenchDocument MakeBenchDocument(int blocks);

}  // namespace qorva::bench
