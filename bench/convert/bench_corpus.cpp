#include "bench/convert/bench_corpus.h"

#include "model/model_json.h"

namespace qorva::bench {
namespace {

struct Builder {
    std::string model = "[\"text\"";
    std::string markdown;

    void block(const char* tag, int level, std::initializer_list<std::pair<const char*, std::string>> spans) {
        Json b = makeBlock(tag, level);
        for (const auto& [spanTag, text] : spans) b.push_back(makeSpan(spanTag, text));
        model += ',';
        model += dumpCompact(b);
    }
};

}  // namespace

ConvertCorpus MakeConvertCorpus(std::size_t targetBytes) {
    Builder b;
    for (int i = 0; b.model.size() < targetBytes; ++i) {
        const std::string n = std::to_string(i);
        b.block("heading", -2, {{"plain", "Section " + n}});
        b.markdown += "## Section " + n + "\n\n";
        b.block("para", 0,
                {{"plain", "Paragraph " + n + " has "}, {"emph", "emphasis"}, {"plain", ", "}, {"strong", "strong text"},
                 {"plain", ", "}, {"code", "code()"}, {"plain", ", an "}, {"linktext", "inline link"},
                 {"url", "https://example.org/" + n}, {"plain", ", a "}, {"linktext", "reference link"},
                 {"linkref", "r" + n}, {"plain", " and "}, {"url", "https://example.com/" + n},
                 {"plain", " in a sentence that is long enough to be filled across more than one line."}});
        b.markdown += "Paragraph " + n + " has *emphasis*, **strong text**, `code()`, an [inline link](https://example.org/" +
                      n + "), a [reference link][r" + n + "] and <https://example.com/" + n +
                      "> in a sentence that is long enough to be filled across more than one line.\n\n";
        b.block("link", 0, {{"linkref", "r" + n}, {"url", "https://example.net/" + n}});
        b.markdown += "[r" + n + "]: https://example.net/" + n + "\n\n";
        b.block("bulleted", 0, {{"plain", "Bullet item " + n}});
        b.block("bulleted", 1, {{"plain", "Nested item with "}, {"emph", "style"}});
        b.block("bulleted", 0, {{"plain", "Second bullet"}});
        b.markdown += "- Bullet item " + n + "\n\n  - Nested item with *style*\n\n- Second bullet\n\n";
        b.block("numbered", 0, {{"plain", "Numbered item " + n}});
        b.block("para", 1, {{"plain", "A continuation paragraph of the numbered item."}});
        b.block("numbered", 0, {{"plain", "Next numbered item"}});
        b.markdown += "1. Numbered item " + n + "\n\n   A continuation paragraph of the numbered item.\n\n"
                      "2. Next numbered item\n\n";
        b.block("quote", 0, {{"plain", "A quotation, number " + n + ", with "}, {"strong", "strong words"}});
        b.markdown += "> A quotation, number " + n + ", with **strong words**\n\n";
        b.block("verbatim", 0,
                {{"plain", "int x" + n + " = 1;"}, {"break", "\n"}, {"plain", "return x" + n + " < 2 && ok;"}});
        b.markdown += "```\nint x" + n + " = 1;\nreturn x" + n + " < 2 && ok;\n```\n\n";
        b.block("image", 0, {{"url", "images/figure" + n + ".png"}});
        b.markdown += "![](images/figure" + n + ".png)\n\n";
    }
    b.model += ']';
    return {std::move(b.model), std::move(b.markdown)};
}

}  // namespace qorva::bench
