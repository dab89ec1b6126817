#include "model/model_tree.h"

#include "model/model_access.h"

namespace qorva {
namespace {

bool isListTag(const std::string& tag) {
    return tag == "bulleted" || tag == "numbered" || tag == "row" || tag == "col";
}

}  // namespace

TreeNodes rebuildTree(const Json& model, int tableDepthShift) {
    TreeNodes top;
    // The open lists, outermost first. Each lives in the current item of the one before
    // (or at the top level) and that item only grows again once the list is closed, so
    // the pointers stay valid while the list is open.
    std::vector<TreeNode*> open;
    auto container = [&]() -> TreeNodes& { return open.empty() ? top : open.back()->items.back(); };

    for (std::size_t i = kFirstBlock; i < model.size(); ++i) {
        const Json& block = model[i];
        const std::string& tag = blockTag(block);
        long depth = blockLevel(block);
        if (tag == "row" || tag == "col") depth += tableDepthShift;
        const long wanted = depth + 1;  // lists open around a block at this depth

        while (static_cast<long>(open.size()) > wanted && !open.empty()) open.pop_back();
        if (static_cast<long>(open.size()) == wanted && !open.empty() && open.back()->listKind != tag)
            open.pop_back();

        if (!isListTag(tag)) {
            container().push_back(TreeNode{TreeNode::Kind::Block, &block, {}, {}});
            continue;
        }
        while (static_cast<long>(open.size()) < wanted) {
            TreeNodes& into = container();
            into.push_back(TreeNode{TreeNode::Kind::List, nullptr, tag, {TreeNodes{}}});
            open.push_back(&into.back());
        }
        if (!open.back()->items.back().empty()) open.back()->items.emplace_back();
        open.back()->items.back().push_back(TreeNode{TreeNode::Kind::Paragraph, &block, {}, {}});
    }
    return top;
}

}  // namespace qorva
