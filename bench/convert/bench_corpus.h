// The converter benchmark document: one content as model JSON and as the
// equivalent CommonMark, so a writer can be timed against cmark on the same text.
#pragma once

#include <cstddef>
#include <string>

namespace qorva::bench {

struct ConvertCorpus {
    std::string modelJson;
    std::string commonMark;
};

// Repeats a mix of headings, styled paragraphs with inline, reference and bare
// links, nested bulleted and numbered items with continuation paragraphs,
// quotations, code blocks and images until the model JSON reaches `targetBytes`.
ConvertCorpus MakeConvertCorpus(std::size_t targetBytes);

}  // namespace qorva::bench
