#include "model/model_tree.h"

namespace qorva {
namespace {

bool isListKind(BlockKind kind) {
    return kind == BlockKind::Bulleted || kind == BlockKind::Numbered || kind == BlockKind::Row || kind == BlockKind::Col;
}

}  // namespace

TreeNodes rebuildTree(const ModelView& model, int tableDepthShift) {
    TreeNodes top;
    // The open lists, outermost first. Each lives in the current item of the one before
    // (or at the top level) and that item only grows again once the list is closed, so
    // the pointers stay valid while the list is open.
    std::vector<TreeNode*> open;
    auto container = [&]() -> TreeNodes& { return open.empty() ? top : open.back()->items.back(); };

    for (const ModelBlock& block : model.blocks) {
        const BlockKind kind = block.kind;
        long depth = block.level;
        if (kind == BlockKind::Row || kind == BlockKind::Col) depth += tableDepthShift;
        const long wanted = depth + 1;  // lists open around a block at this depth

        while (static_cast<long>(open.size()) > wanted && !open.empty()) open.pop_back();
        if (static_cast<long>(open.size()) == wanted && !open.empty() && open.back()->listKind != kind)
            open.pop_back();

        if (!isListKind(kind)) {
            container().push_back(TreeNode{TreeNode::Kind::Block, &block, BlockKind::Other, {}});
            continue;
        }
        while (static_cast<long>(open.size()) < wanted) {
            TreeNodes& into = container();
            into.push_back(TreeNode{TreeNode::Kind::List, nullptr, kind, {TreeNodes{}}});
            open.push_back(&into.back());
        }
        if (!open.back()->items.back().empty()) open.back()->items.emplace_back();
        open.back()->items.back().push_back(TreeNode{TreeNode::Kind::Paragraph, &block, BlockKind::Other, {}});
    }
    return top;
}

}  // namespace qorva
