#include "bench/tools/bench_document.h"

#include "model/model_json.h"

namespace qorva::bench {

BenchDocument MakeBenchDocument(int blocks) {
    Json model = Json::array({"text"});
    std::string markdown;
    auto block = [&](const char* tag, int level, Json spans) {
        Json b = Json::array({tag, Json{{"level", level}}});
        for (auto& span : spans) b.push_back(span);
        model.push_back(b);
    };
    for (int i = 0; i < blocks; ++i) {
        std::string n = std::to_string(i);
        switch (i % 10) {
            case 0:
                block("heading", -2, Json::array({Json::array({"plain", "Section " + n})}));
                markdown += "## Section " + n + "\n\n";
                break;
            case 1:
            case 2:
            case 3:
                block("para", 0,
                      Json::array({Json::array({"plain", "Paragraph " + n + " has "}), Json::array({"emph", "emphasis"}),
                                   Json::array({"plain", ", "}), Json::array({"strong", "strong text"}),
                                   Json::array({"plain", ", "}), Json::array({"code", "code()"}),
                                   Json::array({"plain", " and a "}), Json::array({"linktext", "link"}),
                                   Json::array({"url", "https://example.org/" + n}),
                                   Json::array({"plain", " in a sentence long enough to wrap across lines."})}));
                markdown += "Paragraph " + n + " has *emphasis*, **strong text**, `code()` and a [link](https://example.org/" +
                            n + ") in a sentence long enough to wrap across lines.\n\n";
                break;
            case 4:
            case 5:
                block("bulleted", 0, Json::array({Json::array({"plain", "Bullet item " + n})}));
                markdown += "- Bullet item " + n + "\n\n";
                break;
            case 6:
            case 7:
                block("numbered", 0, Json::array({Json::array({"plain", "Numbered item " + n})}));
                markdown += "1. Numbered item " + n + "\n\n";
                break;
            case 8:
                block("quote", 0, Json::array({Json::array({"plain", "A quotation, number " + n + "."})}));
                markdown += "> A quotation, number " + n + ".\n\n";
                break;
            default:
                block("verbatim", 0,
                      Json::array({Json::array({"plain", "int x" + n + " = 1;"}), Json::array({"break", "\n"}),
                                   Json::array({"plain", "return x" + n + ";"})}));
                markdown += "```\nint x" + n + " = 1;\nreturn x" + n + ";\n```\n\n";
                break;
        }
    }
    return {dumpCompact(model), markdown};
}

}  // namespace qorva::bench
