// Link and footnote labels of a whole document, resolved before converting: writers
// look a label up here wherever a reference stands.
#pragma once

#include "model/model_view.h"

#include <string>
#include <unordered_map>

namespace qorva {

struct LabelTables {
    // Label of each "link" block to the text of its target "url" span.
    std::unordered_map<std::string, std::string> linkTargets;
    // Label of each "note" block to that block; the footnote's own spans follow the
    // leading "noteref" (from span 1 on). Points into the model.
    std::unordered_map<std::string, const ModelBlock*> notes;
};

// Collects the definitions of a model. Labels compare exactly; of two definitions with
// one label the later wins. A "link" block defines its label only when its first two
// spans are a "linkref" and a "url", a "note" block only when its first span is a "noteref".
LabelTables buildLabelTables(const ModelView& model);

}  // namespace qorva
