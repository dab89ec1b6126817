// Rebuilding nested lists from the flat, levelled block list of a model. Writers that
// need real nesting (bullet lists inside bullet lists, tables as rows of cells) walk
// the resulting tree instead of the flat list.
#pragma once

#include "model/model_view.h"

#include <vector>

namespace qorva {

struct TreeNode;
using TreeNodes = std::vector<TreeNode>;

struct TreeNode {
    enum class Kind {
        Block,      // a block taken over unchanged (headings, paragraphs, code, ...)
        Paragraph,  // the spans of a "bulleted", "numbered", "row", "col", "term" or "definition" block
        List,       // an open-and-closed list of items
    };
    Kind kind = Kind::Block;
    // Block and Paragraph: the model block (a Paragraph's content is that block's spans).
    // Points into the model the tree was built from, which must outlive the tree.
    const ModelBlock* block = nullptr;
    // List: the kind of the block that opened it (Bulleted, Numbered, Row or Col), or
    // Term for a definition list, whichever of "term" and "definition" opened it.
    BlockKind listKind = BlockKind::Other;
    // List: the items, each a sequence of nodes. An item of a definition list is its
    // term's Paragraph (missing when a definition opened the list), then its
    // definitions: each starts at a Paragraph of a "definition" block and runs on
    // through the deeper nodes after it.
    std::vector<TreeNodes> items;
    // List: how many quotations it stands in, as the block that opened it says
    // (ModelView::quoteDepth); a block saying otherwise ends it.
    int quoteDepth = 0;
};

// How many quotations a node stands in: a list as the block that opened it says, a code
// block as it says itself; 0 for any other node.
inline int quoteDepthOf(const ModelView& model, const TreeNode& node) {
    if (node.kind == TreeNode::Kind::List) return node.quoteDepth;
    return node.kind == TreeNode::Kind::Block ? model.quoteDepth(*node.block) : 0;
}

// Builds the tree of a model. A block's depth is its level, a heading's -1 whatever
// its level (it closes every list); "row" and "col" blocks get
// their level plus `tableDepthShift` (-1 puts the rows of a table at depth 0 and its
// further cells at depth 1; 0 keeps their levels 1 and 2).
TreeNodes rebuildTree(const ModelView& model, int tableDepthShift);

}  // namespace qorva
