#include "model/model_tree.h"

namespace qorva {
namespace {

// The kind of list a block opens or adds to; Other for blocks that are no list item.
// Terms and definitions share their list.
BlockKind listKindOf(BlockKind kind) {
    if (kind == BlockKind::Definition) return BlockKind::Term;
    if (kind == BlockKind::Bulleted || kind == BlockKind::Numbered || kind == BlockKind::Row || kind == BlockKind::Col ||
        kind == BlockKind::Term)
        return kind;
    return BlockKind::Other;
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
        const BlockKind kind = listKindOf(block.kind);
        long depth = block.level;
        if (kind == BlockKind::Row || kind == BlockKind::Col) depth += tableDepthShift;
        if (block.kind == BlockKind::Heading) depth = -1;  // a heading of any level ends every list
        const long wanted = depth + 1;  // lists open around a block at this depth

        while (static_cast<long>(open.size()) > wanted && !open.empty()) open.pop_back();
        // A list ends where its kind changes, or the quotations it stands in.
        if (static_cast<long>(open.size()) == wanted && !open.empty() &&
            (open.back()->listKind != kind || open.back()->quoteDepth != model.quoteDepth(block)))
            open.pop_back();

        if (kind == BlockKind::Other) {
            container().push_back(TreeNode{TreeNode::Kind::Block, &block, BlockKind::Other, {}});
            continue;
        }
        while (static_cast<long>(open.size()) < wanted) {
            TreeNodes& into = container();
            into.push_back(TreeNode{TreeNode::Kind::List, nullptr, kind, {TreeNodes{}}, model.quoteDepth(block)});
            open.push_back(&into.back());
        }
        // A definition adds to the current item; everything else starts a new one.
        if (!open.back()->items.back().empty() && block.kind != BlockKind::Definition) open.back()->items.emplace_back();
        open.back()->items.back().push_back(TreeNode{TreeNode::Kind::Paragraph, &block, BlockKind::Other, {}});
    }
    return top;
}

}  // namespace qorva
